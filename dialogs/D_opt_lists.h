// The Lists page: which list identifiers are recognised, and whether list items are laid out
// like paragraphs or indented to a fixed position with a fixed width.
#pragma once

#include "dialogs/option_page.h"

class D_opt_lists : public Option_page {
public:
    D_opt_lists(Preset_state& presets, Cleaning_settings& values);
    int help_context() const override;

    void OnSelectAll();
    void OnClearAll();

protected:
    bool on_command(int id, int code, HWND control) override;
    bool check(const Cleaning_settings& stored) override;
};
