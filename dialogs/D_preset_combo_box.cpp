#include "dialogs/D_preset_combo_box.h"

#include "base/diagnostics.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

void D_preset_combo_box::init(bool user_defined, bool predefined, bool add_none, HFONT new_font)
{
    trace("D_preset_combo_box::init()\n");
    reset();
    const std::vector<std::string> names = presets.cleaning_prefs->list_presets(user_defined, predefined);
    if (names.empty()) INTERNAL_ERROR();
    for (const std::string& name : names)
        if (add_string(name) < 0) INTERNAL_ERROR();
    if (add_none && add_string(no_preset_name) < 0) INTERNAL_ERROR();
    select_string(presets.pending_preset_name);
    font = new_font;
    edit_font_set = 0;
    list_font_set = 0;
    trace("exit D_preset_combo_box::init()\n");
}

std::string D_preset_combo_box::get_selected_name()
{
    int index = selection();
    if (index < 0) INTERNAL_ERROR();
    return item_text(index);
}

LRESULT D_preset_combo_box::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    if (font && (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX)) {
        int& done = msg == WM_CTLCOLOREDIT ? edit_font_set : list_font_set;
        if (!done) {
            done = 1;
            SendMessageA(reinterpret_cast<HWND>(lp), WM_SETFONT, reinterpret_cast<WPARAM>(font),
                         TRUE);
        }
    }
    return Combo_box::handle(msg, wp, lp);
}
