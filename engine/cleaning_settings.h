// The cleaning settings record: the 44 values a cleaning run reads, as named members (the first
// 39, and the five "char-" flags added beside them). The engine takes a record as a read-only
// snapshot for a run; the catalogue (settings/catalogue.h) says how
// each member is stored, its range and its values in the built-in presets.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct Cleaning_settings {
    std::int32_t para_remove_line_breaks = 0;
    std::int32_t para_punct_mark_ends_para = 0;
    std::int32_t para_spaces_between_sents = 0;
    std::int32_t para_blank_lines_separate_paras = 0;
    std::int32_t para_max_chars_on_para_line = 0;
    std::int32_t para_indented_makes_new_para = 0;
    std::int32_t para_num_indent_spaces_for_new_para = 0;
    std::int32_t spac_adjust_para_indent = 0;
    std::int32_t spac_num_spaces_to_indent = 0;
    std::int32_t spac_adjust_para_spacing = 0;
    std::int32_t spac_lines_between_paras = 0;
    std::int32_t spac_rem_extra_spaces_between_words = 0;
    std::int32_t spac_clean_up_sent_spacing = 0;
    std::int32_t spac_num_spaces_between_sents = 0;
    std::int32_t spac_tab_stops = 0;
    std::int32_t list_id_numbers = 0;
    std::int32_t list_id_letters = 0;
    std::int32_t list_id_roman = 0;
    std::int32_t list_id_dash = 0;
    std::int32_t list_id_star = 0;
    std::int32_t list_id_o = 0;
    std::int32_t list_format = 0;
    std::int32_t list_adjust_indent = 0;
    std::int32_t list_num_indent_spaces = 0;
    std::int32_t list_max_line_length = 0;
    std::int32_t misc_remove_reply_marks = 0;
    std::int32_t misc_case_sensitive = 0;
    std::int32_t misc_tab_replace = 0;
    std::int32_t char_straight_quotes = 0;
    std::int32_t char_plain_dashes = 0;
    std::int32_t char_plain_ellipsis = 0;
    std::int32_t char_plain_spaces = 0;
    std::int32_t char_remove_invisible = 0;

    std::string list_id_custom;
    std::array<std::string, 5> misc_find;
    std::array<std::string, 5> misc_replace;
};

// A setting's stored name with the member that holds its value, typed by the kind of value: a
// misspelt constant or a setting of the other kind does not compile.
struct Int_setting {
    const char* name;
    std::int32_t Cleaning_settings::*member;
    constexpr operator const char*() const { return name; }
    std::int32_t& of(Cleaning_settings& s) const { return s.*member; }
    std::int32_t of(const Cleaning_settings& s) const { return s.*member; }
};
// Find and replace texts are members of arrays, so a text setting carries its index.
struct Text_setting {
    const char* name;
    std::string Cleaning_settings::*member;
    std::array<std::string, 5> Cleaning_settings::*pair_member;
    int index;
    constexpr operator const char*() const { return name; }
    std::string& of(Cleaning_settings& s) const
    {
        return member ? s.*member : (s.*pair_member)[static_cast<std::size_t>(index)];
    }
    const std::string& of(const Cleaning_settings& s) const
    {
        return member ? s.*member : (s.*pair_member)[static_cast<std::size_t>(index)];
    }
};

// The 44 cleaning settings; each stored name is written here and nowhere else.
namespace setting {
using S = Cleaning_settings;
inline constexpr Int_setting para_remove_line_breaks{"para-remove line breaks", &S::para_remove_line_breaks};
inline constexpr Int_setting para_punct_mark_ends_para{"para-punct mark ends para", &S::para_punct_mark_ends_para};
inline constexpr Int_setting para_spaces_between_sents{"para-spaces between sents", &S::para_spaces_between_sents};
inline constexpr Int_setting para_blank_lines_separate_paras{"para-blank lines separate paras",
                                                             &S::para_blank_lines_separate_paras};
inline constexpr Int_setting para_max_chars_on_para_line{"para-max chars on para line",
                                                         &S::para_max_chars_on_para_line};
inline constexpr Int_setting para_indented_makes_new_para{"para-indented makes new para",
                                                          &S::para_indented_makes_new_para};
inline constexpr Int_setting para_num_indent_spaces_for_new_para{
    "para-num indent spaces for new para", &S::para_num_indent_spaces_for_new_para};
inline constexpr Int_setting spac_adjust_para_indent{"spac-adjust para indent", &S::spac_adjust_para_indent};
inline constexpr Int_setting spac_num_spaces_to_indent{"spac-num spaces to indent", &S::spac_num_spaces_to_indent};
inline constexpr Int_setting spac_adjust_para_spacing{"spac-adjust para spacing", &S::spac_adjust_para_spacing};
inline constexpr Int_setting spac_lines_between_paras{"spac-lines between paras", &S::spac_lines_between_paras};
inline constexpr Int_setting spac_rem_extra_spaces_between_words{
    "spac-rem extra spaces between words", &S::spac_rem_extra_spaces_between_words};
inline constexpr Int_setting spac_clean_up_sent_spacing{"spac-clean up sent spacing",
                                                        &S::spac_clean_up_sent_spacing};
inline constexpr Int_setting spac_num_spaces_between_sents{"spac-num spaces between sents",
                                                           &S::spac_num_spaces_between_sents};
inline constexpr Int_setting spac_tab_stops{"spac-tab stops", &S::spac_tab_stops};
inline constexpr Int_setting list_id_numbers{"list-id numbers", &S::list_id_numbers};
inline constexpr Int_setting list_id_letters{"list-id letters", &S::list_id_letters};
inline constexpr Int_setting list_id_roman{"list-id roman", &S::list_id_roman};
inline constexpr Int_setting list_id_dash{"list-id '- '", &S::list_id_dash};
inline constexpr Int_setting list_id_star{"list-id '* '", &S::list_id_star};
inline constexpr Int_setting list_id_o{"list-id 'o '", &S::list_id_o};
inline constexpr Int_setting list_format{"list-format", &S::list_format};
inline constexpr Int_setting list_adjust_indent{"list-adjust indent", &S::list_adjust_indent};
inline constexpr Int_setting list_num_indent_spaces{"list-num indent spaces", &S::list_num_indent_spaces};
inline constexpr Int_setting list_max_line_length{"list-max line length", &S::list_max_line_length};
inline constexpr Int_setting misc_remove_reply_marks{"misc-remove reply marks", &S::misc_remove_reply_marks};
inline constexpr Int_setting misc_case_sensitive{"misc-case sensitive", &S::misc_case_sensitive};
inline constexpr Int_setting misc_tab_replace{"misc-tab replace", &S::misc_tab_replace};
inline constexpr Int_setting char_straight_quotes{"char-straight quotes", &S::char_straight_quotes};
inline constexpr Int_setting char_plain_dashes{"char-plain dashes", &S::char_plain_dashes};
inline constexpr Int_setting char_plain_ellipsis{"char-plain ellipsis", &S::char_plain_ellipsis};
inline constexpr Int_setting char_plain_spaces{"char-plain spaces", &S::char_plain_spaces};
inline constexpr Int_setting char_remove_invisible{"char-remove invisible", &S::char_remove_invisible};

inline constexpr Text_setting list_id_custom{"list-id custom", &S::list_id_custom, nullptr, 0};
inline constexpr std::array<Text_setting, 5> misc_find = {{
    {"misc-find 0", nullptr, &S::misc_find, 0}, {"misc-find 1", nullptr, &S::misc_find, 1},
    {"misc-find 2", nullptr, &S::misc_find, 2}, {"misc-find 3", nullptr, &S::misc_find, 3},
    {"misc-find 4", nullptr, &S::misc_find, 4}}};
inline constexpr std::array<Text_setting, 5> misc_replace = {{
    {"misc-replace 0", nullptr, &S::misc_replace, 0}, {"misc-replace 1", nullptr, &S::misc_replace, 1},
    {"misc-replace 2", nullptr, &S::misc_replace, 2}, {"misc-replace 3", nullptr, &S::misc_replace, 3},
    {"misc-replace 4", nullptr, &S::misc_replace, 4}}};
}  // namespace setting
