#include "dialogs/D_welcome.h"

#include <utility>

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

D_welcome::D_welcome(std::function<void(bool dont_ask)> changed)
    : Dialog(IDD_WELCOME), dont_ask_changed(std::move(changed))
{
}

D_welcome::~D_welcome()
{
    // The dialog must be gone before its page.
    if (hwnd()) close(IDCANCEL);
}

int D_welcome::help_context() const { return help_getting_started; }

void D_welcome::exchange(Data_exchange& dx) { dx.check(IDC_WELCOME_DONT_ASK, dont_ask); }

bool D_welcome::on_command(int id, int code, HWND control)
{
    switch (id) {
    case IDYES:
    case IDNO:
        close(id);
        return true;
    case IDC_WELCOME_DONT_ASK:
        if (code == BN_CLICKED) {
            dont_ask = is_checked(IDC_WELCOME_DONT_ASK);
            if (dont_ask_changed) dont_ask_changed(dont_ask != 0);
        }
        return true;
    }
    return Dialog::on_command(id, code, control);
}

INT_PTR D_welcome::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    if (INT_PTR brush = page.colour(msg, wp)) return brush;
    return Dialog::handle(msg, wp, lp);
}
