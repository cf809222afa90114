// The names of the 39 cleaning settings, each written here once. The engine reads settings by
// these names; the catalogue, the store and the option pages use them too.
#pragma once

#include <array>

// A cleaning setting's name, typed by the kind of value it holds: a misspelt constant or a
// setting of the other kind does not compile. It reads as its name where a name is wanted.
struct Int_setting {
    const char* name;
    constexpr operator const char*() const { return name; }
};
struct Text_setting {
    const char* name;
    constexpr operator const char*() const { return name; }
};

// The 39 cleaning settings; each name is written here and nowhere else.
namespace setting {
inline constexpr Int_setting para_remove_line_breaks{"para-remove line breaks"};
inline constexpr Int_setting para_punct_mark_ends_para{"para-punct mark ends para"};
inline constexpr Int_setting para_spaces_between_sents{"para-spaces between sents"};
inline constexpr Int_setting para_blank_lines_separate_paras{"para-blank lines separate paras"};
inline constexpr Int_setting para_max_chars_on_para_line{"para-max chars on para line"};
inline constexpr Int_setting para_indented_makes_new_para{"para-indented makes new para"};
inline constexpr Int_setting para_num_indent_spaces_for_new_para{
    "para-num indent spaces for new para"};
inline constexpr Int_setting spac_adjust_para_indent{"spac-adjust para indent"};
inline constexpr Int_setting spac_num_spaces_to_indent{"spac-num spaces to indent"};
inline constexpr Int_setting spac_adjust_para_spacing{"spac-adjust para spacing"};
inline constexpr Int_setting spac_lines_between_paras{"spac-lines between paras"};
inline constexpr Int_setting spac_rem_extra_spaces_between_words{
    "spac-rem extra spaces between words"};
inline constexpr Int_setting spac_clean_up_sent_spacing{"spac-clean up sent spacing"};
inline constexpr Int_setting spac_num_spaces_between_sents{"spac-num spaces between sents"};
inline constexpr Int_setting spac_tab_stops{"spac-tab stops"};
inline constexpr Int_setting list_id_numbers{"list-id numbers"};
inline constexpr Int_setting list_id_letters{"list-id letters"};
inline constexpr Int_setting list_id_roman{"list-id roman"};
inline constexpr Int_setting list_id_dash{"list-id '- '"};
inline constexpr Int_setting list_id_star{"list-id '* '"};
inline constexpr Int_setting list_id_o{"list-id 'o '"};
inline constexpr Int_setting list_format{"list-format"};
inline constexpr Int_setting list_adjust_indent{"list-adjust indent"};
inline constexpr Int_setting list_num_indent_spaces{"list-num indent spaces"};
inline constexpr Int_setting list_max_line_length{"list-max line length"};
inline constexpr Int_setting misc_remove_reply_marks{"misc-remove reply marks"};
inline constexpr Int_setting misc_case_sensitive{"misc-case sensitive"};
inline constexpr Int_setting misc_tab_replace{"misc-tab replace"};

inline constexpr Text_setting list_id_custom{"list-id custom"};
inline constexpr std::array<Text_setting, 5> misc_find = {
    {{"misc-find 0"}, {"misc-find 1"}, {"misc-find 2"}, {"misc-find 3"}, {"misc-find 4"}}};
inline constexpr std::array<Text_setting, 5> misc_replace = {
    {{"misc-replace 0"}, {"misc-replace 1"}, {"misc-replace 2"}, {"misc-replace 3"},
     {"misc-replace 4"}}};
}  // namespace setting
