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
// Posted by the selector when the user is done with it.
constexpr UINT leave_selector_message = WM_APP + 1;
}  // namespace

ToolbarPresets::ToolbarPresets(Preset_state& presets)
    : presets(presets), preset_combo(presets, *this)
{
}

ToolbarPresets::~ToolbarPresets()
{
    if (toolbar_font) DeleteObject(toolbar_font);
}

bool ToolbarPresets::create(HWND parent, DWORD style, int id, const std::vector<int>& layout,
                            std::function<void()> give_focus_back)
{
    TRACE_HERE();
    this->give_focus_back = std::move(give_focus_back);
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
    if (id != IDC_TOOLBAR_PRESETS) return;
    if (code == CBN_SELCHANGE) OnSelchangePreset();
    // Posted: the box is still closing its list and may yet report the change.
    if (code == CBN_SELENDOK || code == CBN_SELENDCANCEL)
        PostMessageA(hwnd(), leave_selector_message, 0, 0);
}

LRESULT ToolbarPresets::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == leave_selector_message) {
        leave_selector();
        return 0;
    }
    return Toolbar::handle(msg, wp, lp);
}

void ToolbarPresets::leave_selector()
{
    HWND focus = GetFocus();
    const bool in_selector =
        focus && (focus == preset_combo.hwnd() || IsChild(preset_combo.hwnd(), focus));
    if (in_selector && give_focus_back) give_focus_back();
}

LRESULT ToolbarPresets::Selector::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    // The open list closes itself on these keys and reports it; the closed one says nothing.
    if (msg == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_ESCAPE) &&
        !SendMessageA(hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
        toolbar.leave_selector();
        return 0;
    }
    return D_preset_combo_box::handle(msg, wp, lp);
}
