#include "dialogs/D_welcome.h"

#include "framework/application.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
const char* const settings_section = "Settings";
}  // namespace

D_welcome::D_welcome() : Dialog(IDD_WELCOME), white_brush(CreateSolidBrush(RGB(255, 255, 255))) {}

D_welcome::~D_welcome()
{
    // The dialog must be gone before its brush.
    if (hwnd()) close(IDCANCEL);
    DeleteObject(white_brush);
}

int D_welcome::help_context() const { return help_getting_started; }

void D_welcome::exchange(Data_exchange& dx) { dx.check(IDC_WELCOME_DONT_ASK, dont_ask); }

void D_welcome::store_dont_ask()
{
    dont_ask = SendMessageA(item(IDC_WELCOME_DONT_ASK), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // Taken at the click, so "Yes" still opens the help this time.
    app_profile().write_int(settings_section, "Show Welcome Screen", dont_ask ? 0 : 1);
}

bool D_welcome::on_command(int id, int code, HWND control)
{
    switch (id) {
    case IDYES:
    case IDNO:
        close(id);
        return true;
    case IDC_WELCOME_DONT_ASK:
        if (code == BN_CLICKED) store_dont_ask();
        return true;
    }
    return Dialog::on_command(id, code, control);
}

INT_PTR D_welcome::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(white_brush);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(white_brush);
    }
    return Dialog::handle(msg, wp, lp);
}
