// Auto Clean: the clipboard monitor that cleans each copy another program makes, and the
// clipboard side it works with (reading and writing CF_UNICODETEXT with bounded retries, the marks and
// texts a run leaves alone, the status bar texts a run ends with).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace clipboard {

// Attempts per step of a run before giving up.
constexpr int attempts_limit = 1000;

// The registered formats that copying programs (password managers, other monitors) offer to say
// "do not process this copy", and the history and cloud marks that say so by holding the DWORD 0.
// The clipboard must be open.
bool marked_to_be_left_alone();
// Opens the clipboard for window, trying up to attempts_limit times; the attempts used, or 0.
int open_with_retries(HWND window);
// Empties the clipboard (open) and puts text (UTF-8) on it as CF_UNICODETEXT.
bool put_text(const std::string& text);

// Characters removed, inserted or replaced from before to after, along one alignment found in
// linear time; small texts and typical cleaning give the exact count.
long long count_changed_characters(const std::string& before, const std::string& after);

}  // namespace clipboard

// What each Auto Clean run says in the status bar.
namespace autoclean_status {
std::string cleaned(long long changed);
std::string cleaned_beside_user_work(long long changed);
extern const char* const marked;
extern const char* const own_text;
extern const char* const no_text;
extern const char* const empty_text;
extern const char* const too_large;
extern const char* const unreadable;
extern const char* const unwritable;
extern const char* const dialog_open;
extern const char* const rewriter;
}  // namespace autoclean_status

// Whether a clipboard change is processed, kept apart from windows so that every case can be
// driven directly. A change is processed only once monitoring has started, while Auto Clean is
// on and no modal dialog or box holds processing off, and when it is not the program's own:
// a Copy or Cut in the editor, the notification the monitor's own rejoin sends, or a change
// that a window of the program owns (Clean and Paste's; the monitor marks those). Another
// program that rewrites each copy the monitor writes would trade copies with it for ever: after
// three changes in a row each within a second of the monitor's write, copies are left alone
// until one comes after a quiet second.
class Autoclean_gate {
public:
    enum class Decision { process, off, paused, local_copy, rewriter };
    // Milliseconds, from any clock that only moves forward (GetTickCount: wrapping is harmless).
    using Time = unsigned long;
    static constexpr Time quiet_ms = 1000;
    static constexpr int rewrites_to_hold = 3;

    // Start-up has joined the chain: from now on changes may be processed.
    void start() { started_ = true; }
    bool started() const { return started_; }
    void set_autoclean(bool on) { autoclean_ = on; }
    bool autoclean() const { return autoclean_; }
    // The next change is the program's own.
    void mark_local_copy() { local_copy_ = true; }
    // The monitor is joining the chain; the join's notification is its own once started (the
    // first join, at start-up, is "off" anyway).
    void joining()
    {
        if (started_) local_copy_ = true;
    }
    bool local_copy() const { return local_copy_; }

    // The one decision, for the change being notified at now; a local-copy mark covers that
    // change only.
    Decision on_change(bool paused, Time now);

    // The text a run last put on the clipboard comes back unprocessed (another monitor
    // rewriting it as it was must not start a run after each of ours).
    void put_on_clipboard(const std::string& text, Time now)
    {
        last_put_ = text;
        written_ = true;
        last_write_ = now;
    }
    bool is_own_text(const std::string& text) const { return !last_put_.empty() && text == last_put_; }

private:
    bool started_ = false;
    bool autoclean_ = false;
    bool local_copy_ = false;
    std::string last_put_;
    bool written_ = false;
    Time last_write_ = 0;
    bool changed_before_ = false;
    Time last_change_ = 0;
    int rewrites_ = 0;
    bool held_ = false;
};

// What the monitor needs of the editor and its document.
class Autoclean_host {
public:
    // The editor's text and the most it can hold.
    virtual std::string editor_text() const = 0;
    virtual std::size_t editor_limit() const = 0;
    // Nothing of the user's would be lost by replacing the editor's text.
    virtual bool holds_no_user_work() const = 0;
    // Shows text in the editor with the drawing held off, for a change that follows; empty
    // shows an empty editor. Returns what the editor took of text.
    virtual std::string begin_showing(const std::string& text) = 0;
    // Replaces all of the editor's text with cleaned as one change that Undo takes back, unless
    // it would not fit; the caret goes to the start.
    virtual void replace_all_undoably(const std::string& cleaned) = 0;
    // Drawing on again, the caret in view.
    virtual void end_showing() = 0;
    // Shows text without Undo.
    virtual void show_text(const std::string& text) = 0;
    // The document's text is now Auto Clean's (source: the copy as the editor took it, cleaned:
    // what the editor shows), and the document leaves its file.
    virtual void autoclean_shown(const std::string& source, const std::string& cleaned) = 0;
    virtual void show_status(const std::string& text) = 0;
    // The text as Clean Everything would leave it in the editor.
    virtual std::string clean_text(std::string_view text) = 0;

protected:
    ~Autoclean_host() = default;
};

// The clipboard viewer chain member and the Auto Clean run. Its window is the editor's: the
// editor's window procedure hands it the chain's messages and its timer's.
class Clipboard_monitor {
public:
    // enabled: the program context's flag, 0 while a modal dialog or box holds processing off.
    Clipboard_monitor(Autoclean_host& host, const int& enabled) : host_(host), enabled_(enabled) {}
    Clipboard_monitor(const Clipboard_monitor&) = delete;
    Clipboard_monitor& operator=(const Clipboard_monitor&) = delete;

    // Once, after the main window is shown: joins the chain with the stored Auto Clean switch.
    void start(HWND window, bool autoclean);
    // While its window is destroyed: the timer stopped and the chain left.
    void stop();

    void join_chain();
    void leave_chain();
    void on_draw_clipboard();
    void on_change_cb_chain(HWND removed, HWND after);
    // The timer the notification set has fired: one run.
    void on_timer();
    // One Auto Clean run: the clipboard's text cleaned and put back.
    void perform_autoclean();

    static constexpr UINT_PTR timer_id = 1;

    Autoclean_gate& gate() { return gate_; }
    const Autoclean_gate& gate() const { return gate_; }
    bool in_chain() const { return in_chain_; }
    HWND next_viewer() const { return next_viewer_; }
    // Numbers in the console traces: clipboard notifications, and Auto Clean runs.
    int notification_count() const { return clipboard_event_counter_; }
    int run_count() const { return autoclean_counter_; }
    // What the last run said in the status bar.
    const std::string& status() const { return status_; }

private:
    // The run's two ways: in the editor as "Clean Everything", or, when the editor holds the
    // user's work, on the clipboard alone. Each returns the status bar text.
    std::string read_clipboard_text(int n, std::string& text);
    // The clipboard's owner is a window of the main window's (the editor, the frame).
    bool owned_by_program() const;
    // Puts cleaned on the clipboard as CF_UNICODETEXT, in place of everything it held.
    bool put_on_clipboard(const std::string& cleaned);
    std::string autoclean_in_editor(int n, const std::string& text);
    std::string autoclean_on_clipboard(int n, const std::string& text);
    void show_status(const std::string& text);

    Autoclean_host& host_;
    const int& enabled_;
    HWND window_ = nullptr;
    Autoclean_gate gate_;
    HWND next_viewer_ = nullptr;
    bool in_chain_ = false;
    int clipboard_event_counter_ = 1000;
    int autoclean_counter_ = 0;
    std::string status_;
};
