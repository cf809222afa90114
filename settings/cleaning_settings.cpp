#include "settings/cleaning_settings.h"

#include "app/globals.h"

const char* const preset_type_name = "preset type";
const char* const full_cleaning_name = "Full Cleaning";
const char* const light_cleaning_name = "Light Cleaning";
const char* const no_preset_name = "(none)";

const std::array<const char*, 28> int_setting_names = {
    "para-remove line breaks",
    "para-punct mark ends para",
    "para-spaces between sents",
    "para-blank lines separate paras",
    "para-max chars on para line",
    "para-indented makes new para",
    "para-num indent spaces for new para",
    "spac-adjust para indent",
    "spac-num spaces to indent",
    "spac-adjust para spacing",
    "spac-lines between paras",
    "spac-rem extra spaces between words",
    "spac-clean up sent spacing",
    "spac-num spaces between sents",
    "spac-tab stops",
    "list-id numbers",
    "list-id letters",
    "list-id roman",
    "list-id '- '",
    "list-id '* '",
    "list-id 'o '",
    "list-format",
    "list-adjust indent",
    "list-num indent spaces",
    "list-max line length",
    "misc-remove reply marks",
    "misc-case sensitive",
    "misc-tab replace",
};

const std::array<const char*, 11> string_setting_names = {
    "list-id custom",
    "misc-find 0", "misc-replace 0",
    "misc-find 1", "misc-replace 1",
    "misc-find 2", "misc-replace 2",
    "misc-find 3", "misc-replace 3",
    "misc-find 4", "misc-replace 4",
};

namespace {

// "Full Cleaning" values in table order; "Light Cleaning" differs in the eight marked ones.
constexpr std::array<std::int32_t, 28> full_values = {
    1, 0, 2, 1, 0, 0, 0,          // para-
    1, 0, 1, 1, 1, 1, 2, 4,       // spac-
    1, 1, 1, 1, 1, 1, 0, 0, 2, 65, // list-
    1, 0, 4,                      // misc-
};
constexpr std::array<std::size_t, 8> light_zeroes = {0, 9, 15, 16, 17, 18, 19, 20};

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
    std::array<std::int32_t, 28> values = full_values;
    if (which == Builtin_preset::light)
        for (std::size_t i : light_zeroes) values[i] = 0;
    for (std::size_t i = 0; i < int_setting_names.size(); ++i)
        record.put_int(int_setting_names[i], values[i]);
    for (const char* name : string_setting_names) record.put_string(name, "");
    record.put_int(preset_type_name, PRESET_PREDEFINED);
}
