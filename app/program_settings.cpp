#include "app/program_settings.h"

#include "base/diagnostics.h"
#include "dialogs/D_clean_paste.h"
#include "framework/profile.h"
#include "settings/catalogue.h"

namespace {

const char* const section = "Settings";
const char* const window_x = "Window X";
const char* const window_y = "Window Y";
const char* const window_width = "Window Width";
const char* const window_height = "Window Height";
const char* const window_maximized = "Window Maximized";
const char* const show_toolbar = "Show Toolbar";
const char* const show_status_bar = "Show Status Bar";
const char* const font_size = "Font Size";
const char* const autoclean = "AutoClean";
const char* const unsaved_doc_warning = "Unsaved Doc Warning";
const char* const show_welcome_screen = "Show Welcome Screen";
const char* const show_auto_clean_warning = "Show Auto Clean Warning";
const char* const current_preset = "Current Preset";
const char* const keep_running = "Keep Running In Notification Area";
const char* const clean_paste = "Clean Paste";
const char* const clean_paste_key = "Clean Paste Key";
const char* const clean_paste_delay = "Clean Paste Delay";

// A flag stored as anything but 0 or 1 reads as 1.
int flag(const Profile& profile, const char* name, int fallback)
{
    const int stored = profile.get_int(section, name, fallback);
    return stored == 0 || stored == 1 ? stored : 1;
}

}  // namespace

Program_settings load_program_settings(const Profile& profile)
{
    Program_settings s;
    const Window_rect d = default_window_rect;
    s.window = {profile.get_int(section, window_x, d.x), profile.get_int(section, window_y, d.y),
                profile.get_int(section, window_width, d.width),
                profile.get_int(section, window_height, d.height)};
    s.window_maximized = profile.get_int(section, window_maximized, 0);
    s.show_toolbar = profile.get_int(section, show_toolbar, 1);
    s.show_status_bar = profile.get_int(section, show_status_bar, 1);
    s.font_size = profile.get_int(section, font_size, 0);
    if (s.font_size < 1 || s.font_size > 500) s.font_size = 10;
    s.autoclean = flag(profile, autoclean, 1);
    s.unsaved_doc_warning = flag(profile, unsaved_doc_warning, 1);
    s.show_welcome_screen = profile.get_int(section, show_welcome_screen, 1);
    s.show_auto_clean_warning = profile.get_int(section, show_auto_clean_warning, 1);
    s.current_preset = profile.get_string(section, current_preset, full_cleaning_name);
    // Off unless clearly on: a window that will not close would surprise more than one that does.
    s.keep_running = profile.get_int(section, keep_running, 0) == 1 ? 1 : 0;
    s.clean_paste = flag(profile, clean_paste, 1);
    // A number that is no combination, or one that could not be used, gives the default.
    Hotkey key;
    if (unpack_hotkey(profile.get_int(section, clean_paste_key, pack_hotkey(default_clean_paste_key)), key) &&
        hotkey_problem(key) == Hotkey_problem::none)
        s.clean_paste_key = key;
    s.clean_paste_delay = profile.get_int(section, clean_paste_delay, s.clean_paste_delay);
    if (s.clean_paste_delay < clean_paste_delay_min || s.clean_paste_delay > clean_paste_delay_max)
        s.clean_paste_delay = Program_settings().clean_paste_delay;
    return s;
}

void save_program_settings(Profile& profile, const Program_settings& s)
{
    if (s.window_placed) {
        profile.write_int(section, window_x, s.window.x);
        profile.write_int(section, window_y, s.window.y);
        profile.write_int(section, window_width, s.window.width);
        profile.write_int(section, window_height, s.window.height);
        profile.write_int(section, window_maximized, s.window_maximized);
    }
    if (s.editor_ready) {
        if (!profile.write_int(section, font_size, s.font_size))
            warning_last("Unable to save current font size.");
        if (!profile.write_int(section, autoclean, s.autoclean))
            warning_last("Unable to save AutoClean setting.");
    }
    profile.write_int(section, show_toolbar, s.show_toolbar);
    profile.write_int(section, show_status_bar, s.show_status_bar);
    if (s.unsaved_warning_read &&
        !profile.write_int(section, unsaved_doc_warning, s.unsaved_doc_warning))
        warning_last("Unable to save \"Unsaved Doc Warning\" setting.");
    profile.write_string(section, current_preset, s.current_preset);
    profile.write_int(section, keep_running, s.keep_running);
    if (!profile.write_int(section, clean_paste, s.clean_paste) ||
        !profile.write_int(section, clean_paste_key, pack_hotkey(s.clean_paste_key)) ||
        !profile.write_int(section, clean_paste_delay, s.clean_paste_delay))
        warning_last("Unable to save the Clean and Paste settings.");
}

bool save_show_welcome_screen(Profile& profile, int show)
{
    return profile.write_int(section, show_welcome_screen, show);
}

bool save_show_auto_clean_warning(Profile& profile, int show)
{
    return profile.write_int(section, show_auto_clean_warning, show);
}
