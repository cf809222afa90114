// The one store of cleaning settings: the presets (two built in memory, the user's loaded from
// the registry), the current settings mirrored under "Current Cleaning Settings", and the working
// copy that each cleaning run reads as its snapshot. Repairs a damaged registry layout at
// construction; a key that lacks only values added after it was written is not damaged.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/catalogue.h"

enum class Preset_kind { predefined, user };

// A preset: its values and whether it is built in or the user's.
struct Preset {
    Preset_kind kind;
    Cleaning_settings settings;
};

class Cleaning_prefs {
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
    // Back to the empty record of a failed read.
    void remove_settings_from_mem(Cleaning_settings& record);
    void remove_preset_from_mem(const std::string& name);
    void copy_prefs(const Cleaning_settings& source, Cleaning_settings& destination);
    // Saves values as that preset. False, with a warning and nothing changed, for a name that
    // the registry could not give back as one preset (see storable_preset_name) or a predefined
    // preset; true otherwise, also when the registry write failed (its own warning).
    bool copy_temp_to_preset(const std::string& name, const Cleaning_settings& values);
    const Cleaning_settings& get_preset(const std::string& name) const;
    bool preset_exists(const std::string& name) const;
    std::vector<std::string> list_presets(bool user_defined, bool predefined) const;
    void remove_preset(const std::string& name);

    const Cleaning_settings& current_settings() const { return current_settings_; }
    // The values become the current settings, in memory and under "Current Cleaning Settings";
    // false (with a warning) when the registry write failed.
    bool set_current_settings(const Cleaning_settings& values);
    // The preset's values become the current settings, in memory and in the registry.
    void make_preset_current(const std::string& name);

    // Start of every cleaning run: the working copy becomes a copy of the current settings and
    // is the run's snapshot; nothing changes it while the run is under way.
    const Cleaning_settings& refresh_working_copy();

private:
    std::map<std::string, Preset> presets;
    Cleaning_settings working_copy;
    Cleaning_settings current_settings_;
    HKEY presets_key = nullptr;
    HKEY current_key = nullptr;
};

// The longest name that the start-up enumeration of "Presets" reads back.
constexpr std::size_t max_preset_name = 80;

// Non-empty, at most max_preset_name characters and without a backslash: a name that one subkey
// of "Presets" holds and the start-up enumeration reads back.
bool storable_preset_name(const std::string& name);
