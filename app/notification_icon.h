// Sorvane's icon in the notification area: its picture and tooltip follow the Auto Clean
// switch, a right click opens its menu (Auto Clean, Clean and Paste now, Show Sorvane, Exit),
// a double click shows the main window, and a balloon says what a run could not do. The frame
// owns it and hands it the shell's messages; its menu's commands go to the frame.
#pragma once

#include <windows.h>

#include <string>

#include "framework/notify_icon.h"

class Notification_icon {
public:
    // The message the shell sends the frame about the icon.
    static constexpr UINT callback_message = WM_APP + 0x40;

    // The frame's window, once it exists.
    void attach(HWND frame) { frame_ = frame; }

    // Called at each idle refresh: changes the icon only when what it shows changed.
    // hotkey_line: the tooltip's second line, or empty.
    void update(bool autoclean_on, const std::string& hotkey_line);
    // The shell's callback message; lp holds the mouse message.
    void on_callback(LPARAM lp);
    // "TaskbarCreated": Explorer started again and forgot the icon.
    void on_taskbar_created() { icon_.restore(); }
    // A balloon over the icon.
    void report(const std::string& text);
    void remove() { icon_.remove(); }
    // Shows, restores and activates the main window.
    void show_frame();
    // The window that was active before the user turned to the icon, for Clean and Paste now.
    HWND target_window() const;

    bool is_shown() const { return icon_.is_shown(); }
    const std::string& tip() const { return icon_.tip(); }

    // "Sorvane — Auto Clean on" or "off", then the second line when there is one.
    static std::string tip_text(bool autoclean_on, const std::string& hotkey_line);

private:
    void show_menu();
    static void CALLBACK open_menu_later(HWND window, UINT, UINT_PTR id, DWORD);

    // The timer that opens the menu, on the frame's window, and the message it sends.
    static constexpr UINT_PTR menu_timer = 0x4E49;
    static constexpr UINT open_menu = WM_APP + 1;

    HWND frame_ = nullptr;
    Notify_icon icon_;
    int shown_state_ = -1;
    std::string shown_hotkey_line_;
    HWND last_foreground_ = nullptr;
    static constexpr DWORD retry_ms = 2000;
    DWORD last_try_ = 0;
};
