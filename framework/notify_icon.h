// An icon in the notification area that belongs to one window: the shell sends that window the
// callback message with the mouse message in lParam. Windows forgets every icon when Explorer
// restarts and then broadcasts the "TaskbarCreated" message; `restore` adds it again.
#pragma once

#include <windows.h>

#include <string>

class Notify_icon {
public:
    Notify_icon() = default;
    ~Notify_icon();
    Notify_icon(const Notify_icon&) = delete;
    Notify_icon& operator=(const Notify_icon&) = delete;

    // The message Explorer broadcasts when it starts again.
    static UINT taskbar_created_message();

    // Shows the icon with its tooltip; later calls change both. False when the shell refused
    // (no notification area yet): `restore` tries again when one appears.
    bool show(HWND owner, UINT id, UINT callback_message, HICON icon, const std::string& tip);
    // After "TaskbarCreated": the icon as it was last shown.
    bool restore();
    // A balloon above the icon; Windows shows it for a few seconds.
    bool show_balloon(const std::string& title, const std::string& text);
    void remove();

    bool is_shown() const { return shown_; }
    const std::string& tip() const { return tip_; }

private:
    bool call(DWORD message, UINT flags);

    HWND owner_ = nullptr;
    UINT id_ = 0;
    UINT callback_message_ = 0;
    HICON icon_ = nullptr;
    std::string tip_;
    std::string balloon_title_, balloon_text_;
    bool shown_ = false;
};
