// Sorvane's built-in help: a top-level window of its own, modeless, with the list of topics on
// the left and the chosen topic on the right. It opens at a help context and stays open beside
// the main window (and beside a dialog whose Help button opened it) until the user closes it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/help_page.h"
#include "app/help_text.h"
#include "framework/window.h"

class Application;

class Help_window : public Window {
public:
    // app's loop gives the window its keys while it is open.
    explicit Help_window(Application& app);
    ~Help_window() override;

    // Shows the window, making it when needed, at the topic of context; 0 or a context that no
    // topic has shows the first topic. False, after a warning, when there is no help to show.
    bool show(int context);

    const std::vector<Help_topic>& topics() const { return topics_; }
    // The topic on show; nullptr while the window is closed.
    const Help_topic* current_topic() const;
    HWND topic_list() const { return list_.hwnd(); }
    Help_page& page() { return page_; }

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // The topic list; it hands the wheel to the page, where the text is.
    class Topic_list : public Window {
    public:
        HWND page = nullptr;

    protected:
        LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
    };

    bool make_window();
    void select_topic(int index);
    void arrange();

    Application& app_;
    std::vector<Help_topic> topics_;
    Topic_list list_;
    Help_page page_;
    HFONT list_font_ = nullptr;
    int current_ = -1;
    // Where the user left the window, for the next time it opens.
    RECT placement_{0, 0, 0, 0};
    // The dialog the help was opened from, active again when the help closes.
    HWND return_to_ = nullptr;
};

// Where the help goes when opened from dialog: unchanged when they do not overlap, otherwise
// beside the dialog on the side with the most room, within the work area (narrowed or lowered
// to fit, and at least the help's smallest size, even when that covers part of the dialog).
RECT help_rect_beside(RECT help, RECT dialog, RECT work);

// The help text embedded in the program; empty when it is missing.
std::string embedded_help_text();

// The topic that explains a command of the main window (menu, toolbar or key).
int help_context_for_command(int command);
