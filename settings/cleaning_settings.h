// The cleaning settings record and its catalogue: the 28 integer and 11 string settings in
// table order (also the order of registry reads and writes) and the two built-in presets.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "engine/setting_names.h"

constexpr int PRESET_PREDEFINED = 0;
constexpr int PRESET_USER = 1;

extern const char* const preset_type_name;   // "preset type"
extern const char* const full_cleaning_name;  // "Full Cleaning"
extern const char* const light_cleaning_name; // "Light Cleaning"
extern const char* const no_preset_name;      // "(none)"

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
