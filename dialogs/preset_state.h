// What the preset selectors share with the program: the one settings store, the preset the
// current settings came from, and the preset chosen while the options sheet is open. Owned by
// the application's context and handed to each selector.
#pragma once

#include <string>

class Cleaning_prefs;

struct Preset_state {
    Cleaning_prefs* cleaning_prefs = nullptr;
    // A preset's name, or "(none)" when the settings do not come unchanged from a preset.
    std::string current_preset_name;
    std::string pending_preset_name;
};
