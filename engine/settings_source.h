// What the engine needs of a settings store: refresh the working copy from the current settings
// at the start of a run, then read settings from the working copy.
#pragma once

#include <cstdint>
#include <string>

#include "engine/setting_names.h"

class Settings_source {
public:
    virtual ~Settings_source() = default;
    virtual void refresh_working_copy() = 0;
    virtual std::int32_t get_int_setting(Int_setting setting) = 0;
    virtual std::string get_string_setting(Text_setting setting) = 0;
};
