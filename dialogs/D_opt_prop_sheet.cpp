#include "dialogs/D_opt_prop_sheet.h"

namespace {
RECT client_rect_of(HWND control, HWND parent)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
}  // namespace

bool D_opt_prop_sheet::on_init()
{
    const bool result = Property_sheet::on_init();
    HWND sheet = hwnd();
    if (HWND apply = GetDlgItem(sheet, apply_button)) {
        ShowWindow(apply, SW_HIDE);
        // Hidden is not enough: its mnemonic would still reach it.
        EnableWindow(apply, FALSE);
    }
    HWND ok = GetDlgItem(sheet, IDOK);
    HWND cancel = GetDlgItem(sheet, IDCANCEL);
    if (!ok || !cancel) return result;
    const RECT ok_rect = client_rect_of(ok, sheet);
    const RECT cancel_rect = client_rect_of(cancel, sheet);
    RECT client{};
    GetClientRect(sheet, &client);
    const int step = cancel_rect.left - ok_rect.left;
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(ok, nullptr, client.right - 3 * step, ok_rect.top, 0, 0, flags);
    SetWindowPos(cancel, nullptr, client.right - 2 * step, ok_rect.top, 0, 0, flags);
    return result;
}
