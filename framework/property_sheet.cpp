#include "framework/property_sheet.h"

#include "framework/strings.h"
#include "framework/window.h"

bool Property_page::on_command(int, int, HWND) { return false; }

INT_PTR Property_page::notify(const NMHDR& header)
{
    LONG_PTR result = 0;
    switch (header.code) {
    case PSN_SETACTIVE:
        result = on_set_active() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        result = on_kill_active() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        if (sheet_) sheet_->applied_ = true;
        on_apply();
        result = PSNRET_NOERROR;
        break;
    case PSN_HELP:
        on_help();
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR Property_page::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (sheet_ && !sheet_->hwnd_) sheet_->attach(GetParent(hwnd()));
        prepare_controls();
        update_data(false);
        return on_init() ? TRUE : FALSE;
    case WM_COMMAND:
        return on_command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY:
        return notify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_HELP:
        on_help();
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK Property_page::page_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept
{
    // The sheet hands the page its PROPSHEETPAGE, whose lParam is the page object.
    Dialog_window* created =
        msg == WM_INITDIALOG
            ? reinterpret_cast<Property_page*>(reinterpret_cast<PROPSHEETPAGEW*>(lp)->lParam)
            : nullptr;
    return dispatch(window, msg, wp, lp, created);
}

void Property_sheet::add_page(Property_page& page)
{
    page.sheet_ = this;
    pages_.push_back(&page);
}

void Property_sheet::attach(HWND sheet)
{
    hwnd_ = sheet;
    on_init();
}

INT_PTR Property_sheet::run_modal(HWND owner)
{
    if (pages_.empty()) return -1;
    std::vector<PROPSHEETPAGEW> pages(pages_.size());
    std::vector<std::wstring> titles;
    for (const Property_page* page : pages_) titles.push_back(widen(page->caption_));
    const std::wstring caption = widen(caption_);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        PROPSHEETPAGEW& p = pages[i];
        p = PROPSHEETPAGEW{};
        p.dwSize = sizeof p;
        p.dwFlags = PSP_USETITLE | (pages_[i]->help_context() != 0 ? PSP_HASHELP : 0);
        p.hInstance = module_instance();
        p.pszTemplate = MAKEINTRESOURCEW(pages_[i]->template_id_);
        p.pszTitle = titles[i].c_str();
        p.pfnDlgProc = Property_page::page_proc;
        p.lParam = reinterpret_cast<LPARAM>(pages_[i]);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE;
    for (const Property_page* page : pages_)
        if (page->help_context() != 0) header.dwFlags |= PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = module_instance();
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = pages.data();

    applied_ = false;
    INT_PTR result = PropertySheetW(&header);
    hwnd_ = nullptr;
    if (result < 0) return -1;
    // The platform reports "changes saved" rather than the button; only OK applies the pages.
    return applied_ ? IDOK : IDCANCEL;
}
