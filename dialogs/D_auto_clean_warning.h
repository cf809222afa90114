// "Auto Clean is Enabled": tells the user that copied text will be cleaned in the background,
// with a check box that stops the notice from showing again.
#pragma once

#include <functional>

#include "framework/dialog.h"

class D_auto_clean_warning : public Dialog {
public:
    // dont_show_changed: the check box as it stands after each click, taken at once, however
    // the dialog is closed afterwards.
    explicit D_auto_clean_warning(std::function<void(bool dont_show)> dont_show_changed);

    int help_context() const override;

protected:
    void exchange(Data_exchange& dx) override;
    bool on_command(int id, int code, HWND control) override;

private:
    int dont_show = 0;
    std::function<void(bool)> dont_show_changed;
};
