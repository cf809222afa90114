// The application object: one per process. It runs start(), the message loop and finish(), keeps
// the program's profile, and is the last target in the command route.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/command.h"
#include "framework/profile.h"

class Frame_window;

class Application : public Command_target {
public:
    Application();
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one application object, or nullptr when none exists.
    static Application* current();

    // start(); when it succeeds, the message loop and finish(). Returns the exit code (0 when
    // start fails).
    int run(const std::string& command_line, int show_command);
    const std::string& command_line() const { return command_line_; }
    int show_command() const { return show_command_; }

    Profile& profile() { return profile_; }
    void set_profile(const std::string& company, const std::string& application);

    void set_main_frame(Frame_window* frame) { main_frame_ = frame; }
    Frame_window* main_frame_window() const { return main_frame_; }

    // The program's help, opened at a help context (0: its contents). The standard help
    // commands are enabled only while a handler is set.
    void set_help(std::function<void(int context)> handler) { help_ = std::move(handler); }
    bool has_help() const { return static_cast<bool>(help_); }
    void show_help(int context);

    // Modeless dialogs get their keyboard handling from the loop while registered.
    void add_modeless(HWND dialog);
    void remove_modeless(HWND dialog);

    // Runs until WM_QUIT; returns its exit code.
    int message_loop();
    // Help mode, then dialog keys for modeless dialogs, then the main frame's accelerators;
    // true when one of them used msg up.
    bool pre_translate(MSG& msg);
    // Keeps messages flowing for ms milliseconds (a pause that still paints).
    void pause(DWORD ms);
    // When the queue has emptied: the main frame refreshes its bars.
    virtual void on_idle();

protected:
    // Start-up; false ends the program without the loop.
    virtual bool start() = 0;
    // Shut-down after the loop; returns the exit code.
    virtual int finish(int loop_result) { return loop_result; }

private:
    std::string command_line_;
    int show_command_ = SW_SHOWNORMAL;
    Profile profile_;
    Frame_window* main_frame_ = nullptr;
    std::vector<HWND> modeless_;
    std::function<void(int)> help_;
};
