// The cleaning settings record and its catalogue: the 28 integer and 11 string settings in
// table order (also the order of registry reads and writes) and the two built-in presets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

constexpr int PRESET_PREDEFINED = 0;
constexpr int PRESET_USER = 1;

extern const char* const preset_type_name;   // "preset type"
extern const char* const full_cleaning_name;  // "Full Cleaning"
extern const char* const light_cleaning_name; // "Light Cleaning"
extern const char* const no_preset_name;      // "(none)"

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

// Table order: the order of registry reads and writes.
extern const std::array<Int_setting, 28> int_setting_names;
extern const std::array<Text_setting, 11> string_setting_names;

enum class Setting_kind { none, integer, text };
// Which table holds name; "preset type" is neither.
Setting_kind setting_kind(const std::string& name);

// A map from setting name to value, names matched exactly. Reading or writing a name that the
// record does not hold is an internal error; put_* insert or replace, as the store fills records.
class Cleaning_settings {
public:
    std::int32_t get_int(const std::string& name) const;
    void set_int(const std::string& name, std::int32_t value);
    std::string get_string(const std::string& name) const;
    void set_string(const std::string& name, const std::string& value);

    void put_int(const std::string& name, std::int32_t value) { ints_[name] = value; }
    void put_string(const std::string& name, const std::string& value) { strings_[name] = value; }
    bool has_int(const std::string& name) const { return ints_.count(name) != 0; }
    bool has_string(const std::string& name) const { return strings_.count(name) != 0; }
    bool empty() const { return ints_.empty() && strings_.empty(); }
    std::size_t size() const { return ints_.size() + strings_.size(); }
    void clear();

    bool operator==(const Cleaning_settings& other) const
    {
        return ints_ == other.ints_ && strings_ == other.strings_;
    }

private:
    std::unordered_map<std::string, std::int32_t> ints_;
    std::unordered_map<std::string, std::string> strings_;
};

enum class Builtin_preset { full, light };
// Fills an empty record with the preset's 39 values and "preset type" 0.
void build_builtin_preset(Cleaning_settings& record, Builtin_preset which);
