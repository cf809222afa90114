// The main window's toolbar, with the preset selector in its last slot. Choosing a preset there
// makes it the current settings at once; a choice (by mouse or Enter) or Escape hands the
// keyboard back, so that the next keys typed do not choose another preset.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/toolbar.h"
#include "dialogs/D_preset_combo_box.h"

class ToolbarPresets : public Toolbar {
public:
    explicit ToolbarPresets(Preset_state& presets);
    ~ToolbarPresets() override;

    // layout: the toolbar's entries (command ids, 0 for a separator); the last separator
    // becomes the selector's slot. give_focus_back moves the focus to where the user works.
    // Returns false on failure.
    bool create(HWND parent, DWORD style, int id, const std::vector<int>& layout,
                std::function<void()> give_focus_back);
    void OnSelchangePreset();

    D_preset_combo_box& combo() { return preset_combo; }

protected:
    void on_control_notification(int id, int code, HWND control) override;
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The selector: Enter and Escape on its closed list end the visit as on its open one.
    class Selector : public D_preset_combo_box {
    public:
        Selector(Preset_state& presets, ToolbarPresets& toolbar)
            : D_preset_combo_box(presets), toolbar(toolbar)
        {
        }

    protected:
        LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

    private:
        ToolbarPresets& toolbar;
    };
    // Once the selector has finished with the key or click: the focus goes back if the
    // selector still has it (a click elsewhere has put it where the user wants it).
    void leave_selector();

    Preset_state& presets;
    Selector preset_combo;
    std::function<void()> give_focus_back;
    HFONT toolbar_font = nullptr;
};
