#include "app/notification_icon.h"

#include "framework/window.h"
#include "resources/resource.h"

namespace {

const UINT icon_id = 1;

HICON small_icon(int id)
{
    return static_cast<HICON>(LoadImageW(module_instance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

// The shell's own windows: the taskbar with its notification area, and its overflow box.
bool belongs_to_shell(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(GetAncestor(window, GA_ROOT), name, 64);
    return lstrcmpW(name, L"Shell_TrayWnd") == 0 || lstrcmpW(name, L"NotifyIconOverflowWindow") == 0;
}

}  // namespace

void CALLBACK Notification_icon::open_menu_later(HWND window, UINT, UINT_PTR id, DWORD)
{
    KillTimer(window, id);
    PostMessageW(window, callback_message, 0, open_menu);
}

std::string Notification_icon::tip_text(bool autoclean_on, const std::string& hotkey_line)
{
    std::string tip = autoclean_on ? "Sorvane \xE2\x80\x94 Auto Clean on" : "Sorvane \xE2\x80\x94 Auto Clean off";
    if (!hotkey_line.empty()) tip += "\n" + hotkey_line;
    return tip;
}

void Notification_icon::update(bool autoclean_on, const std::string& hotkey_line)
{
    if (!frame_) return;
    const int state = autoclean_on ? 1 : 0;
    const bool same = state == shown_state_ && hotkey_line == shown_hotkey_line_;
    // Without a notification area yet (the shell still starting), try again now and then.
    const DWORD now = GetTickCount();
    if (same && (icon_.is_shown() || now - last_try_ < retry_ms)) return;
    last_try_ = now;
    shown_state_ = state;
    shown_hotkey_line_ = hotkey_line;
    icon_.show(frame_, icon_id, callback_message, small_icon(state ? IDI_NOTIFY_ON : IDI_NOTIFY_OFF),
               tip_text(autoclean_on, hotkey_line));
}

void Notification_icon::on_callback(LPARAM lp)
{
    // Under a modal dialog the window cannot take commands: any click brings the dialog up.
    if (!IsWindowEnabled(frame_)) {
        if (LOWORD(lp) == WM_LBUTTONUP || LOWORD(lp) == WM_RBUTTONUP) {
            show_frame();
            SetForegroundWindow(GetLastActivePopup(frame_));
        }
        return;
    }
    switch (LOWORD(lp)) {
    case WM_MOUSEMOVE: {
        // The pointer over the icon, before any click has moved the activation to the shell.
        HWND active = GetForegroundWindow();
        if (active && !belongs_to_shell(active)) last_foreground_ = active;
        break;
    }
    case WM_RBUTTONUP:
        // After the click has finished moving the activation (Wine's own notification area
        // takes it at the button's release); a menu opened before would close at once.
        SetTimer(frame_, menu_timer, 50, open_menu_later);
        break;
    case open_menu:
        show_menu();
        break;
    case WM_LBUTTONDBLCLK:
        show_frame();
        break;
    }
}

void Notification_icon::show_menu()
{
    HMENU menu = LoadMenuW(module_instance(), MAKEINTRESOURCEW(IDR_NOTIFY_MENU));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, ID_NOTIFY_SHOW, FALSE);
    POINT at{};
    GetCursorPos(&at);
    // Without the owner in front, the menu does not close when the user clicks elsewhere; the
    // message after it lets the next click reach the shell (Windows' own recipe).
    SetForegroundWindow(frame_);
    // Away from the screen's edge that holds the notification area, wherever the taskbar is.
    UINT align = TPM_RIGHTBUTTON;
    align |= at.y < GetSystemMetrics(SM_CYSCREEN) / 2 ? TPM_TOPALIGN : TPM_BOTTOMALIGN;
    align |= at.x < GetSystemMetrics(SM_CXSCREEN) / 2 ? TPM_LEFTALIGN : TPM_RIGHTALIGN;
    TrackPopupMenu(popup, align, at.x, at.y, 0, frame_, nullptr);
    PostMessageW(frame_, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void Notification_icon::show_frame()
{
    if (!IsWindowVisible(frame_)) ShowWindow(frame_, SW_SHOW);
    if (IsIconic(frame_)) ShowWindow(frame_, SW_RESTORE);
    SetForegroundWindow(frame_);
}

HWND Notification_icon::target_window() const
{
    return last_foreground_ && IsWindow(last_foreground_) ? last_foreground_ : nullptr;
}

void Notification_icon::report(const std::string& text)
{
    icon_.show_balloon("Sorvane", text);
}
