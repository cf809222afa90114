#include "dialogs/ToolbarPresets.h"

#include <commctrl.h>

#include "base/diagnostics.h"
#include "framework/controls.h"
#include "resources/resource.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"

namespace {
constexpr int preset_slot_width = 200;
constexpr int drop_down_height = 200;
}  // namespace

ToolbarPresets::ToolbarPresets(Preset_state& presets) : presets(presets), preset_combo(presets) {}

ToolbarPresets::~ToolbarPresets()
{
    if (toolbar_font) DeleteObject(toolbar_font);
}

bool ToolbarPresets::create(HWND parent, DWORD style, int id, const std::vector<int>& layout)
{
    TRACE_HERE();
    if (layout.empty() || layout.back() != 0) return false;
    if (!Toolbar::create(parent, style, id, IDR_MAINFRAME, layout)) return false;

    const int slot = static_cast<int>(layout.size()) - 1;
    if (!make_control_slot(slot, IDC_TOOLBAR_PRESETS, preset_slot_width)) return false;
    RECT rect = entry_rect(slot);
    const int slot_height = rect.bottom - rect.top;
    rect.bottom = rect.top + drop_down_height;
    if (!preset_combo.create(hwnd(), IDC_TOOLBAR_PRESETS, rect,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_SORT | CBS_DROPDOWNLIST))
        return false;

    toolbar_font = CreateFontA(point_size_to_height(8), 0, 0, 0, 0, FALSE, FALSE, FALSE, 1, 0, 0,
                               0, 1, "MS Sans Serif");
    preset_combo.set_font(toolbar_font, true);

    // Centred on the buttons, now that the font has given the box its height.
    RECT box{};
    GetWindowRect(preset_combo.hwnd(), &box);
    const int box_height = box.bottom - box.top;
    const int top = rect.top + (slot_height > box_height ? (slot_height - box_height) / 2 : 0);
    SetWindowPos(preset_combo.hwnd(), nullptr, rect.left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    add_control_tip(preset_combo.hwnd(), parent);
    preset_combo.init(true, true, true, toolbar_font);
    TRACE_HERE();
    return true;
}

void ToolbarPresets::OnSelchangePreset()
{
    TRACE_HERE();
    const std::string name = preset_combo.get_selected_name();
    if (name != no_preset_name) presets.cleaning_prefs->make_preset_current(name);
    presets.current_preset_name = name;
    TRACE_HERE();
}

void ToolbarPresets::on_control_notification(int id, int code, HWND)
{
    if (id == IDC_TOOLBAR_PRESETS && code == CBN_SELCHANGE) OnSelchangePreset();
}
