// The preset selector: a sorted drop-down list filled from the settings store, used on the
// toolbar, on each option page and in the preset commands dialog.
#pragma once

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "dialogs/preset_state.h"

class D_preset_combo_box : public Combo_box {
public:
    explicit D_preset_combo_box(Preset_state& presets) : presets(presets) {}

    // Refills the list with the store's presets of the kinds asked for, "(none)" first when
    // add_none, and selects the pending preset name. font (may be null) is given to the list's
    // parts the first time they ask for their colours.
    void init(bool user_defined, bool predefined, bool add_none, HFONT font);
    // The selected entry; no selection is an internal error.
    std::string get_selected_name();

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Preset_state& presets;
    HFONT font = nullptr;  // not owned
    int edit_font_set = 0;
    int list_font_set = 0;
};
