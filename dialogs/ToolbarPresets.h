// The main window's toolbar, with the preset selector in its last slot. Choosing a preset there
// makes it the current settings at once.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/toolbar.h"
#include "dialogs/D_preset_combo_box.h"

class ToolbarPresets : public Toolbar {
public:
    explicit ToolbarPresets(Preset_state& presets);
    ~ToolbarPresets() override;

    // layout: the toolbar's entries (command ids, 0 for a separator); the last separator
    // becomes the selector's slot. Returns false on failure.
    bool create(HWND parent, DWORD style, int id, const std::vector<int>& layout);
    void OnSelchangePreset();

    D_preset_combo_box& combo() { return preset_combo; }

protected:
    void on_control_notification(int id, int code, HWND control) override;

private:
    Preset_state& presets;
    D_preset_combo_box preset_combo;
    HFONT toolbar_font = nullptr;
};
