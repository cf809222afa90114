#include "settings/catalogue.h"

#include <climits>

const char* const full_cleaning_name = "Full Cleaning";
const char* const light_cleaning_name = "Light Cleaning";
const char* const no_preset_name = "(none)";

namespace {

using namespace setting;
constexpr Text_setting no_text{nullptr, nullptr, nullptr, 0};
constexpr Int_setting no_int{nullptr, nullptr};

constexpr Setting_field flag(Int_setting s, std::int32_t full, std::int32_t light)
{
    return {Setting_kind::flag, s, no_text, 0, 1, full, light, nullptr};
}
constexpr Setting_field number(Int_setting s, std::int32_t min, std::int32_t max, std::int32_t value,
                               const char* meaning = nullptr)
{
    return {Setting_kind::number, s, no_text, min, max, value, value, meaning};
}
constexpr Setting_field choice(Int_setting s, std::int32_t min, std::int32_t max, std::int32_t value,
                               const char* meaning = nullptr)
{
    return {Setting_kind::choice, s, no_text, min, max, value, value, meaning};
}
// Off in both built-in presets, so that their results stay what they were before it existed.
constexpr Setting_field added_flag(Int_setting s, const char* meaning)
{
    return {Setting_kind::flag, s, no_text, 0, 1, 0, 0, meaning, true};
}
constexpr Setting_field text(Text_setting s)
{
    return {Setting_kind::text, no_int, s, 0, 0, 0, 0, "any text, empty: off"};
}

}  // namespace

// "Light Cleaning" is "Full Cleaning" but for the line breaks, the paragraph spacing and the six
// list identifiers. The five "char-" flags come last: the 39 before them keep their places.
const std::array<Setting_field, setting_count> setting_fields = {{
    flag(para_remove_line_breaks, 1, 0),
    flag(para_punct_mark_ends_para, 0, 0),
    choice(para_spaces_between_sents, 1, 2, 2),
    flag(para_blank_lines_separate_paras, 1, 1),
    number(para_max_chars_on_para_line, 0, 999999, 0, "0: unlimited"),
    flag(para_indented_makes_new_para, 0, 0),
    number(para_num_indent_spaces_for_new_para, 0, 999, 0),
    flag(spac_adjust_para_indent, 1, 1),
    number(spac_num_spaces_to_indent, 0, 999, 0),
    flag(spac_adjust_para_spacing, 1, 0),
    number(spac_lines_between_paras, 0, 999, 1),
    flag(spac_rem_extra_spaces_between_words, 1, 1),
    flag(spac_clean_up_sent_spacing, 1, 1),
    choice(spac_num_spaces_between_sents, 1, 2, 2),
    number(spac_tab_stops, 0, 999, 4),
    flag(list_id_numbers, 1, 0),
    flag(list_id_letters, 1, 0),
    flag(list_id_roman, 1, 0),
    flag(list_id_dash, 1, 0),
    flag(list_id_star, 1, 0),
    flag(list_id_o, 1, 0),
    choice(list_format, 0, 1, 0, "0 (as paragraphs) or 1 (indented, fixed width)"),
    flag(list_adjust_indent, 0, 0),
    number(list_num_indent_spaces, 0, INT32_MAX, 2),
    number(list_max_line_length, 1, 999999, 65),
    flag(misc_remove_reply_marks, 1, 1),
    flag(misc_case_sensitive, 0, 0),
    choice(misc_tab_replace, 0, 4, 4,
           "0 tabs to spaces, 1 spaces to tabs, 2 tabs to commas, 3 commas to tabs, 4 none"),
    text(list_id_custom),
    text(misc_find[0]), text(misc_replace[0]),
    text(misc_find[1]), text(misc_replace[1]),
    text(misc_find[2]), text(misc_replace[2]),
    text(misc_find[3]), text(misc_replace[3]),
    text(misc_find[4]), text(misc_replace[4]),
    added_flag(char_straight_quotes, "1: curly quotes become ' and \" (guillemets and primes stay)"),
    added_flag(char_plain_dashes, "1: hyphens, en dashes and minus signs become -, em dashes --"),
    added_flag(char_plain_ellipsis, "1: the ellipsis character becomes ..."),
    added_flag(char_plain_spaces,
               "1: no-break, thin and other fixed-width spaces become spaces (the ideographic "
               "space stays)"),
    added_flag(char_remove_invisible,
               "1: zero-width spaces, word joiners, byte order marks and soft hyphens go "
               "(zero-width joiners and direction marks stay)"),
}};

std::string Setting_field::range_text() const
{
    if (kind == Setting_kind::text) return meaning;
    // A choice whose meaning names its values says it all.
    if (kind == Setting_kind::choice && meaning) return meaning;
    std::string range;
    if (max == INT32_MAX)
        range = std::to_string(min) + " or more";
    else if (max == min + 1)
        range = std::to_string(min) + " or " + std::to_string(max);
    else
        range = std::to_string(min) + " to " + std::to_string(max);
    return meaning ? range + ", " + meaning : range;
}

const Setting_field* find_setting(std::string_view name)
{
    for (const Setting_field& field : setting_fields)
        if (name == field.name()) return &field;
    return nullptr;
}

Cleaning_settings builtin_preset(Builtin_preset which)
{
    Cleaning_settings record;
    for (const Setting_field& field : setting_fields)
        if (!field.is_text())
            field.integer.of(record) = which == Builtin_preset::full ? field.full : field.light;
    return record;
}

bool same_settings(const Cleaning_settings& a, const Cleaning_settings& b)
{
    for (const Setting_field& field : setting_fields) {
        if (field.is_text() ? field.text.of(a) != field.text.of(b)
                            : field.integer.of(a) != field.integer.of(b))
            return false;
    }
    return true;
}
