// Dialogs from resource templates, modal or modeless, bound to their object through DWLP_USER.
// Each dialog moves values between its controls and its members in one exchange() function,
// used in both directions; a failed check keeps the dialog open with the control focused.
#pragma once

#include <windows.h>

#include <string>

// The decimal integer that text holds, blanks around it and a sign allowed; false when text holds
// anything else or a number outside int's range.
bool parse_integer(const std::string& text, int& value);

class Data_exchange {
public:
    Data_exchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    // true: controls to members (OK); false: members to controls (start).
    bool saving() const { return saving_; }
    void text(int id, std::string& value);
    // A check box as 1 (checked) or 0.
    void check(int id, int& value);
    // The selected entry of a combo box, -1 for none.
    void combo_index(int id, int& value);
    // An integer field. Saving text that is not a whole number shows "Please enter an integer."
    // and fails the exchange; value is then left as it was.
    void integer(int id, int& value);

    // Marks the exchange failed and puts the focus on control id, its text selected.
    void fail(int id);
    bool failed() const { return failed_; }

private:
    HWND control(int id) const;

    HWND dialog_;
    bool saving_;
    bool failed_ = false;
};

// What a dialog and a property page share: a window the dialog manager makes from a template,
// bound to its object through DWLP_USER from WM_INITDIALOG to WM_NCDESTROY, its controls, the
// data exchange and the help.
class Dialog_window {
public:
    Dialog_window() = default;
    virtual ~Dialog_window() = default;
    Dialog_window(const Dialog_window&) = delete;
    Dialog_window& operator=(const Dialog_window&) = delete;

    // The object bound to a dialog window of ours, or null.
    static Dialog_window* bound_to(HWND window);
    // Null until the window is made and after it is gone.
    HWND hwnd() const { return hwnd_; }
    // A control of the window; a missing one is an internal error.
    HWND item(int id) const;
    // Whether the check box id is checked now.
    bool is_checked(int id) const;
    // Runs exchange() in one direction; false when a check failed. Control notifications that
    // arrive meanwhile come while exchanging() is true.
    bool update_data(bool saving);
    // True while the object itself is moving data into or out of its controls: notifications
    // then are not the user's edits.
    bool exchanging() const { return exchanging_ > 0; }
    // The place in the program's help; 0 when there is none. The Help button (the standard help
    // command) and F1 open the help there.
    virtual int help_context() const { return 0; }

protected:
    virtual void exchange(Data_exchange& dx) { (void)dx; }
    void on_help();
    // Every message; returns what the dialog procedure returns (FALSE: not handled).
    virtual INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) = 0;
    // WM_NCDESTROY has been handled; the object is unbound next.
    virtual void on_destroyed() {}
    // The body of a dialog procedure: on WM_INITDIALOG binds created (the object the message
    // brings), then hands every message to the bound object.
    static INT_PTR dispatch(HWND window, UINT msg, WPARAM wp, LPARAM lp,
                            Dialog_window* created) noexcept;

    // Holds exchanging() true for its lifetime, for objects that set controls themselves.
    class Exchange_scope {
    public:
        explicit Exchange_scope(Dialog_window& window) : window_(window) { ++window_.exchanging_; }
        ~Exchange_scope() { --window_.exchanging_; }
        Exchange_scope(const Exchange_scope&) = delete;
        Exchange_scope& operator=(const Exchange_scope&) = delete;

    private:
        Dialog_window& window_;
    };

private:
    HWND hwnd_ = nullptr;
    int exchanging_ = 0;
};

class Application;

class Dialog : public Dialog_window {
public:
    explicit Dialog(int template_id) : template_id_(template_id) {}
    ~Dialog() override;

    // Returns the result given to close(), or -1 when the dialog cannot be created.
    INT_PTR run_modal(HWND owner);
    // Shows the dialog without waiting; the loop of app gives it its keys until it goes.
    bool create_modeless(HWND owner, Application& app);
    void close(INT_PTR result);

protected:
    // After the controls are filled; the result is WM_INITDIALOG's (true: default focus).
    virtual bool on_init() { return true; }
    virtual void on_ok();
    virtual void on_cancel();
    // A WM_COMMAND of the dialog; returns whether it was handled.
    virtual bool on_command(int id, int code, HWND control);
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override;
    void on_destroyed() override;

private:
    static INT_PTR CALLBACK dialog_proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept;

    int template_id_;
    bool modal_ = false;
    // The loop a modeless dialog is registered with.
    Application* loop_ = nullptr;
};

// A white dialog page: the page, its static texts and its buttons are painted on white, the texts
// transparently. The dialog that uses one must be gone before it.
class White_page {
public:
    White_page() : brush_(CreateSolidBrush(RGB(255, 255, 255))) {}
    ~White_page() { DeleteObject(brush_); }
    White_page(const White_page&) = delete;
    White_page& operator=(const White_page&) = delete;

    // The answer to a colour message (wp: the device context), or 0 for any other message.
    INT_PTR colour(UINT msg, WPARAM wp) const;

private:
    HBRUSH brush_;
};
