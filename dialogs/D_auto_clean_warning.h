// "Auto Clean is Enabled": tells the user that copied text will be cleaned in the background,
// with a check box that stops the notice from showing again.
#pragma once

#include "framework/dialog.h"

class D_auto_clean_warning : public Dialog {
public:
    D_auto_clean_warning();

    int help_context() const override;
    // "Show Auto Clean Warning" from the check box as it now stands: 0 checked, 1 unchecked.
    void store_dont_show();

protected:
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;

private:
    int dont_show = 0;
};
