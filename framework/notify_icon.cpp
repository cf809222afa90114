#include "framework/notify_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "framework/strings.h"

namespace {

// Copies as much of text as fits, always NUL-terminated, never cutting a surrogate pair.
template <std::size_t N>
void copy_text(WCHAR (&to)[N], const std::string& text)
{
    std::wstring wide = widen(text);
    std::size_t n = std::min(wide.size(), N - 1);
    if (n > 0 && n < wide.size() && IS_HIGH_SURROGATE(wide[n - 1])) --n;
    std::copy(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(n), to);
    to[n] = L'\0';
}

}  // namespace

Notify_icon::~Notify_icon()
{
    remove();
}

UINT Notify_icon::taskbar_created_message()
{
    return RegisterWindowMessageW(L"TaskbarCreated");
}

bool Notify_icon::call(DWORD message, UINT flags)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = id_;
    data.uFlags = flags;
    data.uCallbackMessage = callback_message_;
    data.hIcon = icon_;
    copy_text(data.szTip, tip_);
    if (flags & NIF_INFO) {
        copy_text(data.szInfoTitle, balloon_title_);
        copy_text(data.szInfo, balloon_text_);
        data.dwInfoFlags = NIIF_INFO;
    }
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool Notify_icon::show(HWND owner, UINT id, UINT callback_message, HICON icon, const std::string& tip)
{
    const bool same_owner = shown_ && owner == owner_ && id == id_;
    if (shown_ && !same_owner) remove();
    owner_ = owner;
    id_ = id;
    callback_message_ = callback_message;
    icon_ = icon;
    tip_ = tip;
    const UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (same_owner && call(NIM_MODIFY, flags)) return true;
    shown_ = call(NIM_ADD, flags);
    return shown_;
}

bool Notify_icon::restore()
{
    if (!owner_) return false;
    // A broadcast without a real restart finds the icon still there.
    const UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    shown_ = call(NIM_ADD, flags) || call(NIM_MODIFY, flags);
    return shown_;
}

bool Notify_icon::show_balloon(const std::string& title, const std::string& text)
{
    if (!shown_) return false;
    balloon_title_ = title;
    balloon_text_ = text;
    return call(NIM_MODIFY, NIF_INFO);
}

void Notify_icon::remove()
{
    if (shown_) call(NIM_DELETE, 0);
    shown_ = false;
}
