// The one store of cleaning settings: the presets (two built in memory, the user's loaded from
// the registry), the current settings mirrored under "Current Cleaning Settings", and the working
// copy through which the engine reads and the option pages write. Repairs a damaged registry
// layout at construction.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/settings_source.h"
#include "settings/cleaning_settings.h"

class Cleaning_prefs : public Settings_source {
public:
    // program_key: the program's key below HKEY_CURRENT_USER ("Software\Meradon\Sorvane").
    explicit Cleaning_prefs(const std::string& program_key);
    virtual ~Cleaning_prefs();
    Cleaning_prefs(const Cleaning_prefs&) = delete;
    Cleaning_prefs& operator=(const Cleaning_prefs&) = delete;

    void read_preset(const std::string& name);
    // subkey: nullptr reads or writes the values of key itself.
    bool read_prefs_from_reg(HKEY key, const char* subkey, Cleaning_settings& record);
    bool write_prefs_to_reg(const Cleaning_settings& record, HKEY key, const char* subkey);
    void remove_settings_from_mem(Cleaning_settings& record);
    void remove_preset_from_mem(const std::string& name);
    void copy_prefs(const Cleaning_settings& source, Cleaning_settings& destination);
    // Saves the working copy as that preset. False, with a warning and nothing changed, for a
    // name that the registry could not give back as one preset (see storable_preset_name) or a
    // predefined preset; true otherwise, also when the registry write failed (its own warning).
    bool copy_temp_to_preset(const std::string& name);
    Cleaning_settings& get_preset(const std::string& name);
    std::int32_t get_int_setting(Int_setting setting) override;
    void set_int_setting(Int_setting setting, std::int32_t value);
    std::string get_string_setting(Text_setting setting) override;
    void set_string_setting(Text_setting setting, const std::string& value);
    bool preset_exists(const std::string& name) const;
    std::vector<std::string> list_presets(bool user_defined, bool predefined) const;
    void remove_preset(const std::string& name);
    // The preset's values become the current settings, in memory and in the registry.
    void make_preset_current(const std::string& name);
    // The current settings into "Current Cleaning Settings"; false (with a warning) on failure.
    bool write_current_settings() { return write_prefs_to_reg(current_settings, current_key, nullptr); }

    // Start of every cleaning run: the working copy becomes a copy of the current settings.
    void refresh_working_copy() override { copy_prefs(current_settings, working_copy); }

    Cleaning_settings working_copy;
    Cleaning_settings current_settings;

private:
    std::map<std::string, std::unique_ptr<Cleaning_settings>> presets;
    HKEY presets_key = nullptr;
    HKEY current_key = nullptr;
};

// The longest name that the start-up enumeration of "Presets" reads back.
constexpr std::size_t max_preset_name = 80;

// Non-empty, at most max_preset_name characters and without a backslash: a name that one subkey
// of "Presets" holds and the start-up enumeration reads back.
bool storable_preset_name(const std::string& name);
