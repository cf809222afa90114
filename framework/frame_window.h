// The main frame: a top-level window with the menu, accelerators and icon of one resource id,
// an optional toolbar and status bar, and the view filling the rest of the client area.
// Commands travel view, document, frame, application; the first target that handles an id
// decides its state, and an id no target handles is disabled.
#pragma once

#include <windows.h>

#include <string>

#include "framework/command.h"
#include "framework/window.h"

class Application;
class Document;
class Frame_window;
class Status_bar;
class Toolbar;
class View;

// While it lives, a long piece of work shows the wait cursor and text in the frame's message
// pane; the idle prompt comes back afterwards.
class Busy_scope {
public:
    Busy_scope(Frame_window* frame, const std::string& text);
    ~Busy_scope();
    Busy_scope(const Busy_scope&) = delete;
    Busy_scope& operator=(const Busy_scope&) = delete;

private:
    Frame_window* frame_;
    HCURSOR previous_;
};

class Frame_window : public Window, public Command_target {
public:
    // The view's child window id.
    static constexpr int view_id = 0xE900;

    ~Frame_window() override;

    // Creates the frame (hidden) and its view. resource_id names the menu, accelerators and
    // icon, and the string whose first line is the program's title. The application is the last
    // target of the route and the frame's help; the loop ends when its main frame goes.
    bool create_frame(Application& app, const char* class_name, int resource_id, Document& document,
                      View& view);

    Document* document() const { return document_; }
    View* view() const { return view_; }
    HMENU menu() const { return GetMenu(hwnd()); }

    // The state of id along the route.
    Command_state query_command(int id);
    // Runs id on the first target of the route that handles it, if enabled there.
    bool execute_command(int id);
    // Accelerators for messages to the frame or its children.
    bool translate_accelerator(MSG& msg);

    // The bars the layout places; either may be null.
    void set_bars(Toolbar* toolbar, Status_bar* status_bar);
    void show_bar(HWND bar, bool show);
    void recalc_layout();

    // The message pane: a command's prompt (first line of its string), or the idle prompt.
    void show_prompt(int id);
    void show_idle_prompt();
    void set_idle_prompt(const std::string& text) { idle_prompt_ = text; }
    // A text in the message pane, painted at once (for work that keeps the loop from running).
    void show_status_text(const std::string& text);
    void update_title();

    // Queue empty: toolbar buttons and key panes follow the command states.
    virtual void on_idle();

    // The standard help commands, while the application has help.
    bool command_state(int id, Command_state& state) override;
    void on_command(int id) override;

    // Context help (Shift+F1): the cursor becomes the help cursor, and the next command chosen
    // (menu, toolbar, key) or child window clicked opens the help about it instead of acting.
    // Escape, or the program losing the focus, ends it.
    void enter_help_mode();
    void leave_help_mode();
    bool in_help_mode() const { return help_mode_; }
    // Called for every message before it is dispatched; true when help mode used it up.
    bool help_mode_message(const MSG& msg);

protected:
    // After the frame and its view exist; false fails the creation.
    virtual bool on_create() { return true; }
    // The help context for a command (not 0) or else a window of the frame (the focus for F1,
    // the window clicked in help mode); 0 opens the help's contents.
    virtual int help_context_for(int command, HWND window)
    {
        (void)command, (void)window;
        return 0;
    }
    // Asked before the frame closes; false keeps it open.
    virtual bool can_close() { return true; }
    // The frame's destruction; overrides do their work, then call this.
    virtual void destroy_window();

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void update_menu(HMENU popup);
    LRESULT on_notify(WPARAM wp, NMHDR* header);

    Application* app_ = nullptr;
    Document* document_ = nullptr;
    View* view_ = nullptr;
    Toolbar* toolbar_ = nullptr;
    Status_bar* status_bar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::string program_title_;
    std::string idle_prompt_;
    std::string tip_text_;
    std::wstring tip_wide_;
    bool help_mode_ = false;
};
