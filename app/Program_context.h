// What the program's pieces share, owned by the application object and handed to each piece
// that needs it.
#pragma once

#include <string>

#include "app/program_settings.h"
#include "dialogs/preset_state.h"

class CMainFrame;
class Profile;

struct Program_context {
    explicit Program_context(Profile& profile) : profile(profile) {}

    // The directory of the program's own file, without a trailing backslash.
    std::string program_directory;
    Profile& profile;
    Program_settings settings;
    // The store and the current and pending preset names.
    Preset_state presets;
    // Clipboard changes are processed only while this is 1; 0 around every modal dialog.
    int monitoring_enabled = 0;
    // While the main frame exists.
    CMainFrame* main_frame = nullptr;
};

// Holds clipboard processing off for its lifetime: every modal dialog of the program runs
// inside one, so Auto Clean cannot change the text that the dialog is about.
class Monitoring_pause {
public:
    explicit Monitoring_pause(Program_context& context)
        : flag_(context.monitoring_enabled), saved_(flag_)
    {
        flag_ = 0;
    }
    ~Monitoring_pause() { flag_ = saved_; }
    Monitoring_pause(const Monitoring_pause&) = delete;
    Monitoring_pause& operator=(const Monitoring_pause&) = delete;

private:
    int& flag_;
    int saved_;
};
