// The About box, white, with the program's pictures and version: modal with OK from the Help
// menu, and modeless without OK as the start-up splash.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"

class D_about : public Dialog {
public:
    explicit D_about(bool show_ok);
    ~D_about() override;

protected:
    bool on_init() override;
    void exchange(Data_exchange& dx) override;
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::string text;
    std::string caption = "About Sorvane";
    White_page page;
    bool show_ok;
};
