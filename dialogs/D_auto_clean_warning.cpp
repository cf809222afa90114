#include "dialogs/D_auto_clean_warning.h"

#include <utility>

#include "resources/help/help_contexts.h"
#include "resources/resource.h"

D_auto_clean_warning::D_auto_clean_warning(std::function<void(bool dont_show)> changed)
    : Dialog(IDD_AUTO_CLEAN_WARNING), dont_show_changed(std::move(changed))
{
}

int D_auto_clean_warning::help_context() const { return help_auto_clean; }

void D_auto_clean_warning::exchange(Data_exchange& dx)
{
    dx.check(IDC_AUTO_CLEAN_DONT_SHOW, dont_show);
}

bool D_auto_clean_warning::on_command(int id, int code, HWND control)
{
    if (id == IDC_AUTO_CLEAN_DONT_SHOW && code == BN_CLICKED) {
        dont_show = is_checked(IDC_AUTO_CLEAN_DONT_SHOW);
        if (dont_show_changed) dont_show_changed(dont_show != 0);
        return true;
    }
    return Dialog::on_command(id, code, control);
}
