#include "framework/dialog.h"

#include <vector>

#include "base/diagnostics.h"
#include "framework/application.h"
#include "framework/command.h"
#include "framework/controls.h"
#include "framework/guard.h"
#include "framework/window.h"

bool parse_integer(const std::string& text, int& value)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return false;
    const std::size_t end = text.find_last_not_of(" \t") + 1;
    return parse_int(std::string_view(text).substr(start, end - start), value);
}

HWND Data_exchange::control(int id) const
{
    HWND window = GetDlgItem(dialog_, id);
    if (!window) INTERNAL_ERROR();
    return window;
}

void Data_exchange::text(int id, std::string& value)
{
    HWND window = control(id);
    if (saving_)
        value = window_text(window);
    else
        set_window_text(window, value);
}

void Data_exchange::check(int id, int& value)
{
    HWND window = control(id);
    if (saving_)
        value = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageW(window, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Data_exchange::combo_index(int id, int& value)
{
    HWND window = control(id);
    if (saving_) {
        LRESULT index = SendMessageW(window, CB_GETCURSEL, 0, 0);
        value = index == CB_ERR ? -1 : static_cast<int>(index);
    } else {
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    }
}

void Data_exchange::integer(int id, int& value)
{
    HWND window = control(id);
    if (!saving_) {
        set_window_text(window, int_to_string(value));
        return;
    }
    if (!parse_integer(window_text(window), value)) {
        error_box("Please enter an integer.");
        fail(id);
    }
}

void Data_exchange::fail(int id)
{
    failed_ = true;
    HWND window = control(id);
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
    if (window_class(window) == "edit") SendMessageW(window, EM_SETSEL, 0, -1);
}

Dialog_window* Dialog_window::bound_to(HWND window)
{
    return window ? reinterpret_cast<Dialog_window*>(GetWindowLongPtrW(window, DWLP_USER)) : nullptr;
}

HWND Dialog_window::item(int id) const
{
    HWND window = hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
    if (!window) INTERNAL_ERROR();
    return window;
}

bool Dialog_window::is_checked(int id) const
{
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Dialog_window::update_data(bool saving)
{
    Exchange_scope scope(*this);
    Data_exchange dx(hwnd_, saving);
    exchange(dx);
    return !dx.failed();
}

void Dialog_window::on_help()
{
    Application* app = Application::current();
    if (app && app->has_help() && help_context() != 0) app->show_help(help_context());
}

INT_PTR Dialog_window::dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                                Dialog_window* created) noexcept
{
    return guarded<INT_PTR>(FALSE, [&]() -> INT_PTR {
        auto* self = reinterpret_cast<Dialog_window*>(GetWindowLongPtrW(window, DWLP_USER));
        if (msg == WM_INITDIALOG && created) {
            self = created;
            self->hwnd_ = window;
            SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        }
        if (!self) return FALSE;
        INT_PTR result = self->handle(msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            self->on_destroyed();
            SetWindowLongPtrW(window, DWLP_USER, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    });
}

Dialog::~Dialog()
{
    HWND window = hwnd();
    if (window && !modal_) {
        close(IDCANCEL);
        if (IsWindow(window)) SetWindowLongPtrW(window, DWLP_USER, 0);
    }
}

INT_PTR Dialog::run_modal(HWND owner)
{
    modal_ = true;
    return DialogBoxParamW(module_instance(), MAKEINTRESOURCEW(template_id_), owner, dialog_proc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::create_modeless(HWND owner, Application& app)
{
    modal_ = false;
    HWND window = CreateDialogParamW(module_instance(), MAKEINTRESOURCEW(template_id_), owner,
                                     dialog_proc, reinterpret_cast<LPARAM>(this));
    if (!window) return false;
    loop_ = &app;
    loop_->add_modeless(window);
    return true;
}

void Dialog::close(INT_PTR result)
{
    if (!hwnd()) return;
    if (modal_)
        EndDialog(hwnd(), result);
    else
        DestroyWindow(hwnd());
}

void Dialog::on_ok()
{
    if (update_data(true)) close(IDOK);
}

void Dialog::on_cancel() { close(IDCANCEL); }

bool Dialog::on_command(int id, int, HWND)
{
    switch (id) {
    case IDOK:
        on_ok();
        return true;
    case IDCANCEL:
        on_cancel();
        return true;
    case help_command:
        on_help();
        return true;
    }
    return false;
}

INT_PTR Dialog::handle(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_INITDIALOG:
        update_data(false);
        return on_init() ? TRUE : FALSE;
    case WM_COMMAND:
        return on_command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_HELP:
        // F1 anywhere in the dialog.
        on_help();
        SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return FALSE;
}

void Dialog::on_destroyed()
{
    if (!modal_ && loop_) loop_->remove_modeless(hwnd());
    loop_ = nullptr;
}

INT_PTR CALLBACK Dialog::dialog_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept
{
    // The dialog object comes as the creation parameter.
    Dialog_window* created = msg == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lp) : nullptr;
    return dispatch(window, msg, wp, lp, created);
}

INT_PTR White_page::colour(UINT msg, WPARAM wp) const
{
    switch (msg) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(brush_);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(brush_);
    }
    return 0;
}
