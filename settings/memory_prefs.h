// A settings source held in memory: current settings plus a working copy refreshed from them at
// the start of every run. Serves the command-line tool and the engine's tests.
#pragma once

#include "engine/settings_source.h"
#include "settings/cleaning_settings.h"

class Memory_prefs : public Settings_source {
public:
    // Current settings taken from a built-in preset, without its "preset type".
    explicit Memory_prefs(Builtin_preset preset = Builtin_preset::full);

    Cleaning_settings& current() { return current_; }

    void refresh_working_copy() override { working_ = current_; }
    std::int32_t get_int_setting(Int_setting setting) override { return working_.get_int(setting.name); }
    std::string get_string_setting(Text_setting setting) override
    {
        return working_.get_string(setting.name);
    }

private:
    Cleaning_settings current_;
    Cleaning_settings working_;
};
