// The catalogue of the 44 cleaning settings: one table of fields, in registry order (the 28
// integers, the 11 texts, then the five "char-" flags added beside them), that says for each how
// it is stored, what it takes and its value in the two built-in presets. The registry store,
// `--set` and `--help`, the option pages and the range checks all read this one table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/cleaning_settings.h"

extern const char* const full_cleaning_name;  // "Full Cleaning"
extern const char* const light_cleaning_name; // "Light Cleaning"
extern const char* const no_preset_name;      // "(none)"

// flag: 0 or 1; number: a count in [min, max]; choice: one of [min, max]; text: any text.
enum class Setting_kind { flag, number, choice, text };

struct Setting_field {
    Setting_kind kind;
    Int_setting integer;  // all but text
    Text_setting text;    // text only
    std::int32_t min, max;
    std::int32_t full, light;
    // What the values mean, where the range alone does not say ("0: unlimited").
    const char* meaning;
    // Added after registries were first written: a key written before lacks the value, which
    // then reads as 0 and is no damage.
    bool may_be_absent = false;

    const char* name() const { return kind == Setting_kind::text ? text.name : integer.name; }
    bool is_text() const { return kind == Setting_kind::text; }
    bool in_range(long long value) const { return value >= min && value <= max; }
    // "0 or 1", "1 to 999999", "0 or more", with the meaning after it.
    std::string range_text() const;
};

constexpr std::size_t setting_count = 44;
extern const std::array<Setting_field, setting_count> setting_fields;

// The field of that exact name (case, spaces and quotes count), or nullptr.
const Setting_field* find_setting(std::string_view name);

enum class Builtin_preset { full, light };
Cleaning_settings builtin_preset(Builtin_preset which);

bool same_settings(const Cleaning_settings& a, const Cleaning_settings& b);
inline bool operator==(const Cleaning_settings& a, const Cleaning_settings& b) { return same_settings(a, b); }
inline bool operator!=(const Cleaning_settings& a, const Cleaning_settings& b) { return !same_settings(a, b); }
