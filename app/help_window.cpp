#include "app/help_window.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "framework/application.h"
#include "framework/strings.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {

const char* const window_class = "SorvaneHelp";
const char* const window_title = "Sorvane Help";
constexpr int list_id = 100;
constexpr int page_id = 101;
constexpr int default_width = 680;
constexpr int default_height = 500;
constexpr int list_width = 170;
constexpr int gap = 6;
constexpr int min_width = 320;
constexpr int min_height = 200;

bool overlap(const RECT& a, const RECT& b)
{
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

}  // namespace

RECT help_rect_beside(RECT help, RECT dialog, RECT work)
{
    if (!overlap(help, dialog)) return help;
    const int width = help.right - help.left, height = help.bottom - help.top;
    // The side of the dialog with the most room, as a fraction of what the help would like.
    const int right = work.right - dialog.right, left = dialog.left - work.left;
    const int below = work.bottom - dialog.bottom, above = dialog.top - work.top;
    const bool sideways = std::max(right, left) * height >= std::max(below, above) * width;
    RECT r = help;
    if (sideways) {
        const int w = std::max(std::min(width, std::max(right, left)), min_width);
        r.left = right >= left ? std::min<int>(dialog.right, work.right - w)
                               : std::max<int>(dialog.left - w, work.left);
        r.right = r.left + w;
        r.top = std::max<int>(work.top, std::min<int>(help.top, work.bottom - height));
        r.bottom = r.top + height;
    } else {
        const int h = std::max(std::min(height, std::max(below, above)), min_height);
        r.top = below >= above ? std::min<int>(dialog.bottom, work.bottom - h)
                               : std::max<int>(dialog.top - h, work.top);
        r.bottom = r.top + h;
        r.left = std::max<int>(work.left, std::min<int>(help.left, work.right - width));
        r.right = r.left + width;
    }
    return r;
}

std::string embedded_help_text()
{
    HMODULE module = module_instance();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_HELP_TEXT), RT_RCDATA);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::string();
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

int help_context_for_command(int command)
{
    switch (command) {
    case ID_EDIT_CLEAN_EVERYTHING:
    case ID_EDIT_CLEAN_SELECTED:
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_UNDO:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
        return help_cleaning_text;
    case ID_OPT_AUTOCLEAN:
        return help_auto_clean;
    case ID_OPT_KEEP_RUNNING:
    case ID_NOTIFY_SHOW:
        return help_notification_icon;
    case ID_OPT_CLEANING:
        return help_cleaning_options;
    case ID_CLEAN_AND_PASTE:
    case ID_OPT_CLEAN_PASTE:
        return help_clean_and_paste;
    case IDC_TOOLBAR_PRESETS:
        return help_presets;
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_APP_EXIT:
    case ID_OPT_WARN_UNSAVED:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_FONT_SIZE_8:
    case ID_FONT_SIZE_10:
    case ID_FONT_SIZE_12:
    case ID_FONT_SIZE_14:
    case ID_FONT_SIZE_18:
    case ID_FONT_SIZE_24:
    case ID_FONT_SIZE_OTHER:
        return help_files_and_settings;
    }
    return help_getting_started;
}

Help_window::Help_window(Application& app) : app_(app) {}

Help_window::~Help_window()
{
    if (hwnd()) DestroyWindow(hwnd());
    if (list_font_) DeleteObject(list_font_);
}

const Help_topic* Help_window::current_topic() const
{
    if (!hwnd() || current_ < 0 || current_ >= static_cast<int>(topics_.size())) return nullptr;
    return &topics_[static_cast<std::size_t>(current_)];
}

bool Help_window::show(int context)
{
    if (topics_.empty()) topics_ = parse_help(embedded_help_text());
    if (topics_.empty()) {
        warning("Unable to show the help.  The help text is missing from the program.");
        return false;
    }
    if (!hwnd() && !make_window()) {
        warning_last("Unable to open the help window.");
        return false;
    }
    int index = 0;
    for (std::size_t i = 0; i < topics_.size(); ++i)
        if (context != 0 && topics_[i].context == context) index = static_cast<int>(i);
    select_topic(index);
    // Opened from a dialog (a window with an owner, such as a modal dialog in front of the
    // disabled main window): the help goes beside it, so the dialog stays in sight and within
    // reach, and closing the help goes back to it.
    HWND from = GetActiveWindow();
    if (from && from != hwnd() && GetWindow(from, GW_OWNER)) {
        return_to_ = from;
        RECT help{}, dialog{}, work{};
        GetWindowRect(hwnd(), &help);
        GetWindowRect(from, &dialog);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const RECT r = help_rect_beside(help, dialog, work);
        if (!EqualRect(&r, &help) && !IsIconic(hwnd()) && !IsZoomed(hwnd()))
            MoveWindow(hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    } else if (from != hwnd()) {
        return_to_ = nullptr;
    }
    ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(list_.hwnd());
    return true;
}

bool Help_window::make_window()
{
    HICON icon = LoadIconA(module_instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!register_class(window_class, icon, GetSysColorBrush(COLOR_BTNFACE))) return false;
    RECT r = placement_;
    if (r.right <= r.left) {
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        const int width = std::min<int>(default_width, work.right - work.left);
        const int height = std::min<int>(default_height, work.bottom - work.top);
        r.left = work.left + (work.right - work.left - width) / 2;
        r.top = work.top + (work.bottom - work.top - height) / 2;
        r.right = r.left + width;
        r.bottom = r.top + height;
    }
    if (!create(window_class, window_title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, r.left,
                r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr))
        return false;

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (!list_font_) list_font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                    LBS_NOINTEGRALHEIGHT,
                                0, 0, 0, 0, hwnd(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(list_id)),
                                module_instance(), nullptr);
    if (!list || !list_.subclass(list) || !page_.create(hwnd(), page_id)) {
        DestroyWindow(hwnd());
        return false;
    }
    list_.page = page_.hwnd();
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(list_font_), FALSE);
    for (const Help_topic& topic : topics_)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(topic.title).c_str()));
    arrange();
    // Escape closes it and Tab moves between the list and the page.
    app_.add_modeless(hwnd());
    return true;
}

void Help_window::select_topic(int index)
{
    current_ = index;
    const Help_topic& topic = topics_[static_cast<std::size_t>(index)];
    SendMessageA(list_.hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    page_.show_topic(topic);
    const std::string title = std::string(window_title) + " - " + topic.title;
    SetWindowTextW(hwnd(), widen(title).c_str());
}

void Help_window::arrange()
{
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int height = std::max<int>(client.bottom - 2 * gap, 0);
    const int width = std::min<int>(list_width, std::max<int>(client.right / 3, 60));
    MoveWindow(list_.hwnd(), gap, gap, width, height, TRUE);
    const int page_left = 2 * gap + width;
    MoveWindow(page_.hwnd(), page_left, gap, std::max<int>(client.right - page_left - gap, 0),
               height, TRUE);
}

LRESULT Help_window::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SIZE:
        arrange();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
        limits->ptMinTrackSize = {320, 200};
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == list_id && HIWORD(wp) == LBN_SELCHANGE) {
            LRESULT index = SendMessageA(list_.hwnd(), LB_GETCURSEL, 0, 0);
            if (index >= 0 && index < static_cast<LRESULT>(topics_.size()))
                select_topic(static_cast<int>(index));
            return 0;
        }
        if (LOWORD(wp) == IDCANCEL) {
            PostMessageA(hwnd(), WM_CLOSE, 0, 0);
            return 0;
        }
        return 0;
    case WM_DESTROY: {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(hwnd(), &placement)) placement_ = placement.rcNormalPosition;
        app_.remove_modeless(hwnd());
        current_ = -1;
        if (return_to_ && IsWindow(return_to_) && IsWindowEnabled(return_to_) &&
            IsWindowVisible(return_to_)) {
            SetForegroundWindow(return_to_);
            SetActiveWindow(return_to_);
        }
        return_to_ = nullptr;
        return 0;
    }
    }
    return default_handling(msg, wp, lp);
}

LRESULT Help_window::Topic_list::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_MOUSEWHEEL && page) return SendMessageA(page, msg, wp, lp);
    // Inside a dialog's modal loop nothing turns Escape into Cancel for the help window.
    if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
        PostMessageA(GetParent(hwnd()), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return default_handling(msg, wp, lp);
}
