// "Welcome!": greets the user at start-up and offers the Getting Started help (Yes or No), with
// a check box that stops it from asking again. Black text on a white page.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/dialog.h"

class D_welcome : public Dialog {
public:
    // dont_ask_changed: the check box as it stands after each click, taken at once, so that
    // "Yes" still opens the help this time.
    explicit D_welcome(std::function<void(bool dont_ask)> dont_ask_changed);
    ~D_welcome() override;

    int help_context() const override;

protected:
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int dont_ask = 0;
    std::function<void(bool)> dont_ask_changed;
    White_page page;
};
