// "Welcome!": greets the user at start-up and offers the Getting Started help (Yes or No), with
// a check box that stops it from asking again. Black text on a white page.
#pragma once

#include <windows.h>

#include "framework/dialog.h"

class D_welcome : public Dialog {
public:
    D_welcome();
    ~D_welcome() override;

    int help_context() const override;
    // "Show Welcome Screen" from the check box as it now stands: 0 checked, 1 unchecked.
    void store_dont_ask();

protected:
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    int dont_ask = 0;
    HBRUSH white_brush;
};
