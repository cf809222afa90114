#include "framework/property_sheet.h"

#include "framework/guard.h"
#include "framework/strings.h"
#include "framework/window.h"

namespace {
// Marks the windows of our sheets, for the keys that change pages.
const char* const sheet_property = "Property_sheet";
}  // namespace

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
    SetWindowSubclass(sheet, sheet_proc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetPropA(sheet, sheet_property, reinterpret_cast<HANDLE>(this));
    on_init();
}

void Property_sheet::on_help()
{
    const HWND current = reinterpret_cast<HWND>(SendMessageA(hwnd_, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (Property_page* page : pages_)
        if (current && page->hwnd() == current) page->on_help();
}

LRESULT CALLBACK Property_sheet::sheet_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                                            UINT_PTR id, DWORD_PTR self) noexcept
{
    return guarded<LRESULT>(0, [&]() -> LRESULT {
        switch (msg) {
        case WM_HELP:
            reinterpret_cast<Property_sheet*>(self)->on_help();
            return TRUE;
        case WM_NCDESTROY:
            RemovePropA(window, sheet_property);
            RemoveWindowSubclass(window, sheet_proc, id);
            break;
        }
        return DefSubclassProc(window, msg, wp, lp);
    });
}

LRESULT CALLBACK Property_sheet::page_keys(int code, WPARAM wp, LPARAM lp) noexcept
{
    return guarded<LRESULT>(0, [&]() -> LRESULT {
        const MSG& msg = *reinterpret_cast<const MSG*>(lp);
        const bool page_key = msg.wParam == VK_TAB || msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR;
        if (code == MSGF_DIALOGBOX && msg.message == WM_KEYDOWN && page_key &&
            (GetKeyState(VK_CONTROL) & 0x8000)) {
            // Only the sheet's own window and its pages; a dialog over the sheet keeps its keys.
            HWND root = GetAncestor(msg.hwnd, GA_ROOT);
            if (root && GetPropA(root, sheet_property) &&
                SendMessageA(root, PSM_ISDIALOGMESSAGE, 0, lp))
                return TRUE;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    });
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
    HHOOK keys = SetWindowsHookExW(WH_MSGFILTER, page_keys, nullptr, GetCurrentThreadId());
    INT_PTR result = PropertySheetW(&header);
    if (keys) UnhookWindowsHookEx(keys);
    hwnd_ = nullptr;
    if (result < 0) return -1;
    // The platform reports "changes saved" rather than the button; only OK applies the pages.
    return applied_ ? IDOK : IDCANCEL;
}
