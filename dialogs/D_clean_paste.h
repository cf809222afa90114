// "Clean and Paste": the key that pastes the clipboard's text cleaned in any program, whether it
// is on, and how long the clipboard waits before it gets its content back.
#pragma once

#include <functional>
#include <string>

#include "framework/dialog.h"
#include "framework/hotkey.h"

constexpr int clean_paste_delay_min = 100;
constexpr int clean_paste_delay_max = 10000;

struct Clean_paste_options {
    int on = 1;
    Hotkey key;
    // Milliseconds.
    int delay = 500;
};

// The dialog's words for what is wrong with a combination; empty when nothing is.
std::string clean_paste_key_problem_message(Hotkey key);

class D_clean_paste : public Dialog {
public:
    // options: shown when the dialog opens, replaced only by an OK that apply accepts. apply
    // takes the options chosen (it registers the key); false keeps the dialog open, the key's
    // box focused, apply having said why.
    D_clean_paste(Clean_paste_options& options, std::function<bool(const Clean_paste_options&)> apply);

    int help_context() const override;

protected:
    bool on_init() override;
    // On OK: with the key on, a combination that is no fit gets its message; the delay must be
    // a number from clean_paste_delay_min to clean_paste_delay_max. A combination that is no
    // fit while the key is off leaves the one the dialog opened with.
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;

private:
    void enable_key(bool on);
    // The hotkey control cannot take the Win key: a combination pressed with Win held down
    // ticks the box beside it, one pressed without unticks it.
    void follow_win_key();

    Clean_paste_options& options_;
    std::function<bool(const Clean_paste_options&)> apply_;
};
