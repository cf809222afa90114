#include "framework/toolbar.h"

#include <commctrl.h>

int Toolbar::entry_count() const
{
    return static_cast<int>(SendMessageW(hwnd(), TB_BUTTONCOUNT, 0, 0));
}

bool Toolbar::create(HWND parent, DWORD style, int id, int bitmap_id,
                     const std::vector<int>& layout, int image_width, int image_height)
{
    if (!create_control(TOOLBARCLASSNAMEA,
                        WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | style, 0,
                        RECT{0, 0, 0, 0}, parent, id))
        return false;
    HWND bar = hwnd();
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image_width, image_height));

    std::vector<TBBUTTON> buttons;
    int images = 0;
    for (int command : layout) {
        TBBUTTON b{};
        if (command == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = images++;
            b.idCommand = command;
            // Disabled until the first idle refresh asks the commands.
            b.fsState = 0;
            b.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(b);
    }
    TBADDBITMAP bitmap{module_instance(), static_cast<UINT_PTR>(bitmap_id)};
    if (SendMessageW(bar, TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap)) < 0) return false;
    if (!SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(),
                      reinterpret_cast<LPARAM>(buttons.data())))
        return false;
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return true;
}

int Toolbar::command_at(int index) const
{
    TBBUTTON b{};
    if (!SendMessageW(hwnd(), TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&b))) return 0;
    return (b.fsStyle & BTNS_SEP) ? 0 : b.idCommand;
}

bool Toolbar::make_control_slot(int index, int command, int width)
{
    if (!SendMessageW(hwnd(), TB_DELETEBUTTON, index, 0)) return false;
    TBBUTTON slot{};
    slot.iBitmap = width;  // a separator's width
    slot.idCommand = command;
    slot.fsStyle = BTNS_SEP;
    return SendMessageW(hwnd(), TB_INSERTBUTTONW, index, reinterpret_cast<LPARAM>(&slot)) != 0;
}

RECT Toolbar::entry_rect(int index) const
{
    RECT r{};
    SendMessageW(hwnd(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

void Toolbar::add_control_tip(HWND control, HWND notify_window)
{
    HWND tips = reinterpret_cast<HWND>(SendMessageW(hwnd(), TB_GETTOOLTIPS, 0, 0));
    if (!tips) return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = notify_window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Toolbar::update(const std::function<Command_state(int)>& state_of)
{
    const int count = entry_count();
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        if (!SendMessageW(hwnd(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b))) continue;
        if (b.fsStyle & BTNS_SEP) continue;
        Command_state state = state_of(b.idCommand);
        BYTE wanted = b.fsState & ~(TBSTATE_ENABLED | TBSTATE_CHECKED);
        if (state.enabled) wanted |= TBSTATE_ENABLED;
        if (state.checked) wanted |= TBSTATE_CHECKED;
        // Only real changes: setting the same state again would make the buttons flicker.
        if (wanted != b.fsState) SendMessageW(hwnd(), TB_SETSTATE, b.idCommand, MAKELPARAM(wanted, 0));
    }
}

void Toolbar::on_control_notification(int, int, HWND) {}

LRESULT Toolbar::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    // Button clicks go straight to the parent; a WM_COMMAND reaching the bar itself comes from a
    // control placed on it.
    if (msg == WM_COMMAND && lp != 0) {
        on_control_notification(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    }
    return Window::handle(msg, wp, lp);
}
