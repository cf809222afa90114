#include "framework/frame_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/diagnostics.h"
#include "framework/application.h"
#include "framework/status_bar.h"
#include "framework/strings.h"
#include "framework/toolbar.h"
#include "framework/view.h"

namespace {
void trace_failure(const char* what)
{
    trace(std::string("Frame: ") + what + " (" + int_to_string(static_cast<int>(GetLastError())) + ")\n");
}
}  // namespace

Frame_window::~Frame_window()
{
    if (app_ && app_->main_frame_window() == this) app_->set_main_frame(nullptr);
}

bool Frame_window::create_frame(Application& app, const char* class_name, int resource_id,
                                Document& document, View& view)
{
    app_ = &app;
    document_ = &document;
    view_ = &view;
    program_title_ = string_line(load_string(resource_id), 0);
    HINSTANCE instance = module_instance();
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(resource_id));
    if (!register_class(class_name, icon, nullptr)) {
        trace_failure("the window class could not be registered");
        return false;
    }
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(resource_id));
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(resource_id));
    if (!create(class_name, program_title_.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu)) {
        trace_failure("the window could not be created");
        if (menu && !IsMenu(menu)) menu = nullptr;
        if (menu) DestroyMenu(menu);
        return false;
    }
    update_title();
    return true;
}

void Frame_window::update_title()
{
    std::string title = document_ ? document_->title() : std::string();
    if (!title.empty() && !program_title_.empty()) title += " - ";
    title += program_title_;
    // The document's name is UTF-8. DefWindowProcW keeps the title in UTF-16 even for this ANSI
    // window, so a name outside the code page shows as it is where the display can.
    const std::wstring wide = widen(title);
    DefWindowProcW(hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

Command_state Frame_window::query_command(int id)
{
    Command_target* route[] = {view_, document_, this, app_};
    for (Command_target* target : route) {
        Command_state state;
        if (target && target->command_state(id, state)) return state;
    }
    return Command_state{false, false};
}

bool Frame_window::execute_command(int id)
{
    Command_target* route[] = {view_, document_, this, app_};
    for (Command_target* target : route) {
        Command_state state;
        if (!target || !target->command_state(id, state)) continue;
        if (!state.enabled) return false;
        target->on_command(id);
        return true;
    }
    return false;
}

bool Frame_window::translate_accelerator(MSG& msg)
{
    if (!accelerators_ || !hwnd()) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    return TranslateAcceleratorW(hwnd(), accelerators_, &msg) != 0;
}

void Frame_window::set_bars(Toolbar* toolbar, Status_bar* status_bar)
{
    toolbar_ = toolbar;
    status_bar_ = status_bar;
}

void Frame_window::show_bar(HWND bar, bool show)
{
    if (!bar) return;
    ShowWindow(bar, show ? SW_SHOWNA : SW_HIDE);
    recalc_layout();
}

namespace {
// Its own visibility, whether or not the frame is shown yet.
bool shown(HWND bar) { return bar && (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE); }
}  // namespace

void Frame_window::recalc_layout()
{
    if (!hwnd()) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (toolbar_ && shown(toolbar_->hwnd())) {
        SendMessageW(toolbar_->hwnd(), TB_AUTOSIZE, 0, 0);
        RECT r{};
        GetWindowRect(toolbar_->hwnd(), &r);
        client.top += r.bottom - r.top;
    }
    if (status_bar_ && shown(status_bar_->hwnd())) {
        status_bar_->layout();
        RECT r{};
        GetWindowRect(status_bar_->hwnd(), &r);
        client.bottom -= r.bottom - r.top;
    }
    if (client.bottom < client.top) client.bottom = client.top;
    if (view_ && view_->hwnd())
        MoveWindow(view_->hwnd(), client.left, client.top, client.right - client.left,
                   client.bottom - client.top, TRUE);
}

void Frame_window::show_prompt(int id)
{
    if (!status_bar_) return;
    std::string prompt = string_line(load_string(id), 0);
    status_bar_->set_text(0, prompt.empty() ? idle_prompt_ : prompt);
}

void Frame_window::show_status_text(const std::string& text)
{
    if (!status_bar_) return;
    status_bar_->set_text(0, text);
    UpdateWindow(status_bar_->hwnd());
}

Busy_scope::Busy_scope(Frame_window* frame, const std::string& text)
    : frame_(frame), previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT)))
{
    if (frame_) frame_->show_status_text(text);
}

Busy_scope::~Busy_scope()
{
    SetCursor(previous_);
    if (frame_ && frame_->hwnd()) frame_->show_idle_prompt();
}

void Frame_window::show_idle_prompt()
{
    if (status_bar_) status_bar_->set_text(0, idle_prompt_);
}

void Frame_window::on_idle()
{
    if (!hwnd()) return;
    if (toolbar_ && toolbar_->hwnd())
        toolbar_->update([this](int id) { return query_command(id); });
    if (status_bar_) status_bar_->update_keys();
}

bool Frame_window::command_state(int id, Command_state& state)
{
    switch (id) {
    case help_finder_command:
    case help_command:
    case default_help_command:
    case context_help_command: {
        if (!app_ || !app_->has_help()) return false;
        state.checked = id == context_help_command && help_mode_;
        return true;
    }
    }
    return false;
}

void Frame_window::on_command(int id)
{
    if (!app_) return;
    switch (id) {
    case help_finder_command:
    case default_help_command:
        app_->show_help(0);
        break;
    case help_command:
        app_->show_help(help_context_for(0, GetFocus()));
        break;
    case context_help_command:
        enter_help_mode();
        break;
    }
}

void Frame_window::enter_help_mode()
{
    help_mode_ = true;
    SetCursor(LoadCursor(nullptr, IDC_HELP));
}

void Frame_window::leave_help_mode()
{
    help_mode_ = false;
}

bool Frame_window::help_mode_message(const MSG& msg)
{
    if (!help_mode_ || !hwnd()) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam != VK_ESCAPE) return false;
        leave_help_mode();
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        // A toolbar button gives the help of its command, disabled or not. The button itself
        // never sees the click: its release is eaten below, so it would stay pressed.
        int command = 0;
        if (toolbar_ && msg.hwnd == toolbar_->hwnd()) {
            POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            const LRESULT index = SendMessageW(msg.hwnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p));
            if (index >= 0) command = toolbar_->command_at(static_cast<int>(index));
        }
        leave_help_mode();
        // The context help button again just ends the mode.
        if (command == context_help_command) return true;
        if (app_) app_->show_help(help_context_for(command, command ? nullptr : msg.hwnd));
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        return true;
    }
    return false;
}

void Frame_window::destroy_window()
{
    if (hwnd()) DestroyWindow(hwnd());
}

void Frame_window::update_menu(HMENU popup)
{
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        Command_state state = query_command(static_cast<int>(id));
        EnableMenuItem(popup, i, MF_BYPOSITION | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, i, MF_BYPOSITION | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT Frame_window::on_notify(WPARAM wp, NMHDR* header)
{
    switch (header->code) {
    case TBN_HOTITEMCHANGE: {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        if (hot->dwFlags & HICF_LEAVING)
            show_idle_prompt();
        else
            show_prompt(hot->idNew);
        return 0;
    }
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        UINT_PTR id = header->idFrom;
        if (info->uFlags & TTF_IDISHWND) id = GetDlgCtrlID(reinterpret_cast<HWND>(id));
        tip_text_ = string_line(load_string(static_cast<int>(id)), 1);
        show_prompt(static_cast<int>(id));
        if (header->code == TTN_GETDISPINFOA) {
            info->lpszText = &tip_text_[0];
        } else {
            tip_wide_ = widen(tip_text_);
            tip_wide_.push_back(L'\0');
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = &tip_wide_[0];
        }
        return 0;
    }
    case TTN_POP:
        show_idle_prompt();
        return 0;
    }
    return default_handling(WM_NOTIFY, wp, reinterpret_cast<LPARAM>(header));
}

LRESULT Frame_window::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        // A creation that fails says where in the log, with the system's code: a start that
        // ends without its main window leaves nothing else behind.
        if (!view_ || !view_->create_view(hwnd(), view_id)) {
            trace_failure("the view could not be created");
            return -1;
        }
        if (!on_create()) {
            trace_failure("the bars could not be created");
            return -1;
        }
        recalc_layout();
        return 0;
    case WM_SIZE:
        recalc_layout();
        return 0;
    case WM_SETFOCUS:
        if (view_ && view_->hwnd()) SetFocus(view_->hwnd());
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) update_menu(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_MENUSELECT: {
        UINT flags = HIWORD(wp);
        if ((flags == 0xFFFF && !lp) || (flags & (MF_POPUP | MF_SEPARATOR)))
            show_idle_prompt();
        else
            show_prompt(LOWORD(wp));
        return 0;
    }
    case WM_EXITMENULOOP:
        show_idle_prompt();
        return 0;
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lp);
        if (from && view_ && from == view_->hwnd()) {
            view_->on_reflected_notification(HIWORD(wp));
            return 0;
        }
        // Menus send 0, accelerators 1, toolbar buttons BN_CLICKED (0).
        if (HIWORD(wp) != 0 && HIWORD(wp) != 1) return 0;
        if (help_mode_) {
            leave_help_mode();
            // The context help command again just ends the mode.
            if (LOWORD(wp) == context_help_command) return 0;
            if (app_) app_->show_help(help_context_for(LOWORD(wp), nullptr));
            return 0;
        }
        execute_command(LOWORD(wp));
        return 0;
    }
    case WM_SETCURSOR:
        if (help_mode_) {
            SetCursor(LoadCursor(nullptr, IDC_HELP));
            return TRUE;
        }
        return default_handling(msg, wp, lp);
    case WM_ACTIVATEAPP:
        if (!wp) leave_help_mode();
        return default_handling(msg, wp, lp);
    case WM_NOTIFY:
        return on_notify(wp, reinterpret_cast<NMHDR*>(lp));
    case WM_CLOSE:
        if (can_close()) destroy_window();
        return 0;
    case WM_NCDESTROY:
        if (app_ && app_->main_frame_window() == this) {
            app_->set_main_frame(nullptr);
            PostQuitMessage(0);
        }
        return default_handling(msg, wp, lp);
    }
    return default_handling(msg, wp, lp);
}
