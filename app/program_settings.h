// The program's own settings, in section "Settings" of the program's key; each name is written
// in program_settings.cpp and nowhere else. Start-up reads them all once, each with its default
// and its check; the pieces that own them keep them while the program runs, and shut-down writes
// them back in one place. The start-up notices' check boxes are written as they are clicked.
#pragma once

#include <string>

#include "app/window_rect.h"
#include "framework/hotkey.h"

class Profile;

// Win with a letter alone is Windows' own; Ctrl+Shift+V is the browsers' plain paste.
constexpr Hotkey default_clean_paste_key{hotkey_control | hotkey_win, 'V'};

struct Program_settings {
    Window_rect window = default_window_rect;
    int window_maximized = 0;
    int show_toolbar = 1;
    int show_status_bar = 1;
    int font_size = 10;
    int autoclean = 1;
    int unsaved_doc_warning = 1;
    int show_welcome_screen = 1;
    int show_auto_clean_warning = 1;
    std::string current_preset;
    // Closing the window hides it while the notification icon stays.
    int keep_running = 0;
    // Clean and Paste: its key on or off, the key, and the milliseconds before the clipboard
    // gets its content back.
    int clean_paste = 1;
    Hotkey clean_paste_key = default_clean_paste_key;
    int clean_paste_delay = 500;

    // What shut-down may write: a value whose owner never took it up is not stored over the
    // user's.
    bool window_placed = false;
    bool editor_ready = false;
    bool unsaved_warning_read = false;
};

Program_settings load_program_settings(const Profile& profile);
// Shut-down: every value that may be written, with a warning for those that cannot be.
void save_program_settings(Profile& profile, const Program_settings& settings);

// The start-up notices' check boxes: false on failure.
bool save_show_welcome_screen(Profile& profile, int show);
bool save_show_auto_clean_warning(Profile& profile, int show);
