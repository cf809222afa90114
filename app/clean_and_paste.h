// Clean and Paste: one key, in any program, pastes the clipboard's text cleaned as Clean
// Everything would clean it, and the clipboard gets its own content back shortly afterwards.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/clipboard_snapshot.h"
#include "framework/hotkey.h"

// The key events of one paste, sent together: first a key-up for each modifier that
// key_state (GetAsyncKeyState, or a table) reports down, since the user may still hold the
// ones of the combination; then Ctrl+V. An Alt or Win released with no key after its press
// would open the target's menu or the Start menu, so a key nothing acts on (an unassigned
// virtual key) is pressed before them.
std::vector<INPUT> paste_input(const std::function<SHORT(int key)>& key_state);
constexpr WORD paste_mask_key = 0xE8;

// What a run reports when it cannot do its work.
namespace clean_paste_status {
extern const char* const unreadable;
extern const char* const no_copy;
extern const char* const unwritable;
extern const char* const not_sent;
extern const char* const not_restored;
}  // namespace clean_paste_status

// What a run needs of the program; the two defaults are the platform's.
class Clean_and_paste_host {
public:
    // The text as Clean Everything would leave it.
    virtual std::string clean_text(std::string_view text) = 0;
    // A failure, in words for the user.
    virtual void report(const std::string& text) = 0;
    // Returns how many of the events went out.
    virtual UINT send_input(std::vector<INPUT>& events);
    // A press with no text to paste: the short sound of a key that does nothing.
    virtual void refuse();

protected:
    ~Clean_and_paste_host() = default;
};

// One run: the clipboard's text is read (none: the host refuses, nothing else happens), a copy
// of every format is kept, the cleaned text goes on the clipboard marked so that clipboard
// histories and monitors (Auto Clean among them) leave it alone, Ctrl+V goes to the window that
// has the focus, and after the delay a timer of the window puts the copy back, unless another
// copy has come meanwhile. From the press until then, further presses are ignored.
class Clean_and_paste {
public:
    static constexpr UINT_PTR timer_id = 2;

    explicit Clean_and_paste(Clean_and_paste_host& host) : host_(host) {}
    Clean_and_paste(const Clean_and_paste&) = delete;
    Clean_and_paste& operator=(const Clean_and_paste&) = delete;

    // The window that holds the clipboard during a run and owns its timer.
    void set_window(HWND window) { window_ = window; }
    // Milliseconds from the paste until the clipboard's content goes back.
    void set_delay(int ms) { delay_ = ms; }
    int delay() const { return delay_; }

    void run();
    // The window's timer_id has fired.
    void on_timer();
    // The window is going: the content goes back now.
    void finish_now();
    bool running() const { return running_; }
    // Presses that ran (for the tests and the trace).
    int run_count() const { return runs_; }

private:
    void restore();

    Clean_and_paste_host& host_;
    HWND window_ = nullptr;
    int delay_ = 500;
    bool running_ = false;
    int runs_ = 0;
    // The clipboard's sequence number once the cleaned text was on it.
    DWORD ours_ = 0;
    Clipboard_snapshot snapshot_;
};
