#include "dialogs/D_auto_clean_warning.h"

#include "framework/application.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {
const char* const settings_section = "Settings";
}  // namespace

D_auto_clean_warning::D_auto_clean_warning() : Dialog(IDD_AUTO_CLEAN_WARNING) {}

int D_auto_clean_warning::help_context() const { return help_auto_clean; }

void D_auto_clean_warning::exchange(Data_exchange& dx)
{
    dx.check(IDC_AUTO_CLEAN_DONT_SHOW, dont_show);
}

void D_auto_clean_warning::store_dont_show()
{
    dont_show = SendMessageA(item(IDC_AUTO_CLEAN_DONT_SHOW), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // Taken at the click, however the dialog is closed afterwards.
    app_profile().write_int(settings_section, "Show Auto Clean Warning", dont_show ? 0 : 1);
}

bool D_auto_clean_warning::on_command(int id, int code, HWND control)
{
    if (id == IDC_AUTO_CLEAN_DONT_SHOW && code == BN_CLICKED) {
        store_dont_show();
        return true;
    }
    return Dialog::on_command(id, code, control);
}
