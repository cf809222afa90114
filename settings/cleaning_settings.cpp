#include "settings/cleaning_settings.h"

#include "base/diagnostics.h"

const char* const preset_type_name = "preset type";
const char* const full_cleaning_name = "Full Cleaning";
const char* const light_cleaning_name = "Light Cleaning";
const char* const no_preset_name = "(none)";

using namespace setting;

const std::array<Int_setting, 28> int_setting_names = {
    para_remove_line_breaks, para_punct_mark_ends_para, para_spaces_between_sents,
    para_blank_lines_separate_paras, para_max_chars_on_para_line, para_indented_makes_new_para,
    para_num_indent_spaces_for_new_para,
    spac_adjust_para_indent, spac_num_spaces_to_indent, spac_adjust_para_spacing,
    spac_lines_between_paras, spac_rem_extra_spaces_between_words, spac_clean_up_sent_spacing,
    spac_num_spaces_between_sents, spac_tab_stops,
    list_id_numbers, list_id_letters, list_id_roman, list_id_dash, list_id_star, list_id_o,
    list_format, list_adjust_indent, list_num_indent_spaces, list_max_line_length,
    misc_remove_reply_marks, misc_case_sensitive, misc_tab_replace,
};

const std::array<Text_setting, 11> string_setting_names = {
    list_id_custom,
    misc_find[0], misc_replace[0], misc_find[1], misc_replace[1], misc_find[2], misc_replace[2],
    misc_find[3], misc_replace[3], misc_find[4], misc_replace[4],
};

namespace {

struct Int_value {
    Int_setting setting;
    std::int32_t value;
};

const Int_value full_cleaning_values[] = {
    {para_remove_line_breaks, 1}, {para_punct_mark_ends_para, 0},
    {para_spaces_between_sents, 2}, {para_blank_lines_separate_paras, 1},
    {para_max_chars_on_para_line, 0}, {para_indented_makes_new_para, 0},
    {para_num_indent_spaces_for_new_para, 0},
    {spac_adjust_para_indent, 1}, {spac_num_spaces_to_indent, 0},
    {spac_adjust_para_spacing, 1}, {spac_lines_between_paras, 1},
    {spac_rem_extra_spaces_between_words, 1}, {spac_clean_up_sent_spacing, 1},
    {spac_num_spaces_between_sents, 2}, {spac_tab_stops, 4},
    {list_id_numbers, 1}, {list_id_letters, 1}, {list_id_roman, 1}, {list_id_dash, 1},
    {list_id_star, 1}, {list_id_o, 1}, {list_format, 0}, {list_adjust_indent, 0},
    {list_num_indent_spaces, 2}, {list_max_line_length, 65},
    {misc_remove_reply_marks, 1}, {misc_case_sensitive, 0}, {misc_tab_replace, 4},
};

// "Light Cleaning" is "Full Cleaning" but for these.
const Int_value light_cleaning_changes[] = {
    {para_remove_line_breaks, 0}, {spac_adjust_para_spacing, 0},
    {list_id_numbers, 0}, {list_id_letters, 0}, {list_id_roman, 0},
    {list_id_dash, 0}, {list_id_star, 0}, {list_id_o, 0},
};

}  // namespace

Setting_kind setting_kind(const std::string& name)
{
    for (const char* n : int_setting_names)
        if (name == n) return Setting_kind::integer;
    for (const char* n : string_setting_names)
        if (name == n) return Setting_kind::text;
    return Setting_kind::none;
}

std::int32_t Cleaning_settings::get_int(const std::string& name) const
{
    auto it = ints_.find(name);
    if (it == ints_.end()) INTERNAL_ERROR();
    return it->second;
}

void Cleaning_settings::set_int(const std::string& name, std::int32_t value)
{
    auto it = ints_.find(name);
    if (it == ints_.end()) INTERNAL_ERROR();
    it->second = value;
}

std::string Cleaning_settings::get_string(const std::string& name) const
{
    auto it = strings_.find(name);
    if (it == strings_.end()) INTERNAL_ERROR();
    return it->second;
}

void Cleaning_settings::set_string(const std::string& name, const std::string& value)
{
    auto it = strings_.find(name);
    if (it == strings_.end()) INTERNAL_ERROR();
    it->second = value;
}

void Cleaning_settings::clear()
{
    ints_.clear();
    strings_.clear();
}

void build_builtin_preset(Cleaning_settings& record, Builtin_preset which)
{
    for (const Int_value& v : full_cleaning_values) record.put_int(v.setting.name, v.value);
    if (which == Builtin_preset::light)
        for (const Int_value& v : light_cleaning_changes) record.put_int(v.setting.name, v.value);
    for (const char* name : string_setting_names) record.put_string(name, "");
    record.put_int(preset_type_name, PRESET_PREDEFINED);
}
