#include "app/D_about.h"

#include "framework/controls.h"
#include "resources/resource.h"

D_about::D_about(bool show_ok_button)
    : Dialog(IDD_ABOUTBOX),
      text("Sorvane cleans up plain text copied from e-mail, web pages and word processors: "
           "reply marks, hard line breaks inside paragraphs, ragged indentation, uneven spacing "
           "between words and sentences, tabs, and lists in mixed styles.\r\n\r\n"
           "Copyright (C) Meradon. All rights reserved."),
      show_ok(show_ok_button)
{
}

D_about::~D_about()
{
    // The dialog must be gone before its page.
    if (hwnd()) close(IDCANCEL);
}

bool D_about::on_init()
{
    set_window_text(hwnd(), caption);
    // The focus must not go to the text box, which would select all of it and scroll to its end.
    if (show_ok)
        SetFocus(item(IDOK));
    else
        ShowWindow(item(IDOK), SW_HIDE);
    return false;
}

void D_about::exchange(Data_exchange& dx) { dx.text(IDC_ABOUT_TEXT, text); }

INT_PTR D_about::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    // The text box (read-only, so it asks as a static) keeps the platform's colours.
    const bool text_box = msg == WM_CTLCOLORSTATIC &&
                          GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == IDC_ABOUT_TEXT;
    if (INT_PTR brush = text_box ? 0 : page.colour(msg, wp)) return brush;
    return Dialog::handle(msg, wp, lp);
}
