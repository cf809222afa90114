#include "app/clipboard_monitor.h"

#include <algorithm>

#include "base/diagnostics.h"
#include "framework/strings.h"

namespace {

const char* const too_large_explanation =
    "Sorvane was unable to clean the text that was just placed on the clipboard.  The most "
    "likely cause is that the text being cut or copied was too large.\r\n\r\nThis size "
    "limitation is built into Windows itself.  To work around this, try cleaning the text in "
    "parts.";

unsigned handle_number(HWND window)
{
    return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(window));
}

std::string characters(long long n)
{
    return std::to_string(n) + (n == 1 ? " character" : " characters");
}

}  // namespace

namespace clipboard {

namespace {
// A mark that says "keep out" by holding the DWORD 0; any other value lets the copy through.
bool holds_dword_zero(UINT format)
{
    HANDLE data = GetClipboardData(format);
    if (!data || GlobalSize(data) < sizeof(DWORD)) return false;
    const auto* value = static_cast<const DWORD*>(GlobalLock(data));
    if (!value) return false;
    const bool zero = *value == 0;
    GlobalUnlock(data);
    return zero;
}
}  // namespace

bool marked_to_be_left_alone()
{
    static const char* const marks[] = {"ExcludeClipboardContentFromMonitorProcessing",
                                        "Clipboard Viewer Ignore"};
    for (const char* mark : marks) {
        const UINT format = RegisterClipboardFormatA(mark);
        if (format && IsClipboardFormatAvailable(format)) return true;
    }
    // What Windows' clipboard history and cloud clipboard, and the password managers that
    // follow them, put beside a copy to keep it out.
    static const char* const zero_marks[] = {"CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"};
    for (const char* mark : zero_marks) {
        const UINT format = RegisterClipboardFormatA(mark);
        if (format && IsClipboardFormatAvailable(format) && holds_dword_zero(format)) return true;
    }
    return false;
}

int open_with_retries(HWND window)
{
    for (int attempt = 1; attempt <= attempts_limit; ++attempt) {
        if (OpenClipboard(window)) return attempt;
        // Another program holds the clipboard: give it a moment rather than spin.
        if (attempt % 10 == 0) Sleep(1);
    }
    return 0;
}

bool put_text(const std::string& text)
{
    const std::wstring wide = widen(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
        std::copy(wide.begin(), wide.end(), target);
        target[wide.size()] = L'\0';
        GlobalUnlock(memory);
    }
    // Windows offers it as CF_TEXT too, to programs that read 8-bit text.
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

long long count_changed_characters(const std::string& before, const std::string& after)
{
    // Walk both texts; at a difference, take the shortest deletion or insertion after which a
    // few characters agree again, otherwise count one replaced character.
    constexpr std::size_t look_ahead = 16, agree = 4;
    const std::size_t n = before.size(), m = after.size();
    auto agrees = [&](std::size_t i, std::size_t j) {
        const std::size_t run = std::min({agree, n - i, m - j});
        if (run == 0) return i == n && j == m;
        return before.compare(i, run, after, j, run) == 0 && (run == agree || (i + run == n && j + run == m));
    };
    std::size_t i = 0, j = 0;
    long long changed = 0;
    while (i < n && j < m) {
        if (before[i] == after[j]) {
            ++i, ++j;
            continue;
        }
        bool synced = false;
        for (std::size_t k = 1; k <= look_ahead && !synced; ++k) {
            if (i + k <= n && agrees(i + k, j)) {
                i += k, changed += static_cast<long long>(k), synced = true;
            } else if (j + k <= m && agrees(i, j + k)) {
                j += k, changed += static_cast<long long>(k), synced = true;
            }
        }
        if (!synced) ++i, ++j, ++changed;
    }
    return changed + static_cast<long long>((n - i) + (m - j));
}

}  // namespace clipboard

namespace autoclean_status {
std::string cleaned(long long changed)
{
    if (changed == 0) return "Auto Clean: the copied text was already clean.";
    return "Auto Clean: the copied text was cleaned (" + characters(changed) + " changed).";
}
std::string cleaned_beside_user_work(long long changed)
{
    return "Auto Clean: copy cleaned (" + characters(changed) + " changed); unsaved text kept.";
}
// Short enough for the message pane of a window of the default size.
const char* const marked = "Auto Clean left a copy alone: the copying program marked it private.";
const char* const own_text = "Auto Clean left a copy alone: it is the text Sorvane just cleaned.";
const char* const no_text = "Auto Clean left a copy alone: it holds no text.";
const char* const empty_text = "Auto Clean left a copy alone: the copied text is empty.";
const char* const too_large = "Auto Clean left a copy alone: it is too large for the editor.";
const char* const unreadable = "Auto Clean could not read the clipboard; the copy is unchanged.";
const char* const unwritable = "Auto Clean could not write the clipboard; the copy is unchanged.";
const char* const dialog_open = "Auto Clean left a copy alone: a dialog was open.";
const char* const rewriter = "Auto Clean left a copy alone: another program keeps changing the clipboard.";
}  // namespace autoclean_status

Autoclean_gate::Decision Autoclean_gate::on_change(bool paused, Time now)
{
    Decision decision = Decision::process;
    if (!started_ || !autoclean_)
        decision = Decision::off;
    else if (paused)
        decision = Decision::paused;
    else if (local_copy_)
        decision = Decision::local_copy;
    local_copy_ = false;
    if (decision == Decision::local_copy) return decision;

    const bool quiet = !changed_before_ || now - last_change_ >= quiet_ms;
    changed_before_ = true;
    last_change_ = now;
    if (decision != Decision::process) return decision;
    if (held_) {
        if (!quiet) return Decision::rewriter;
        held_ = false;
        rewrites_ = 0;
        return decision;
    }
    if (written_ && now - last_write_ < quiet_ms) {
        if (++rewrites_ >= rewrites_to_hold) held_ = true;
    } else {
        rewrites_ = 0;
    }
    return decision;
}

void Clipboard_monitor::start(HWND window, bool autoclean)
{
    window_ = window;
    join_chain();
    console_trace("next win = %04x\n", handle_number(next_viewer_));
    gate_.start();
    gate_.set_autoclean(autoclean);
}

void Clipboard_monitor::stop()
{
    KillTimer(window_, timer_id);
    if (in_chain_) leave_chain();
}

void Clipboard_monitor::join_chain()
{
    if (in_chain_) return;
    // The notification the join itself sends must not start a run.
    gate_.joining();
    next_viewer_ = SetClipboardViewer(window_);
    in_chain_ = true;
}

void Clipboard_monitor::leave_chain()
{
    ChangeClipboardChain(window_, next_viewer_);
    in_chain_ = false;
}

void Clipboard_monitor::on_draw_clipboard()
{
    const int n = clipboard_event_counter_++;
    console_trace("%d: Got WM_DRAWCLIPBOARD.\n", n);
    TRACE_HERE();
    if (next_viewer_) {
        console_trace("%d:   - Passing WM_DRAWCLIPBOARD to window %04x.\n", n, handle_number(next_viewer_));
        SendMessageA(next_viewer_, WM_DRAWCLIPBOARD, 0, 0);
    }
    // A window of the program put it there: Clean and Paste's text, or the copy it puts back,
    // which the user had before.
    if (owned_by_program()) gate_.mark_local_copy();
    switch (gate_.on_change(enabled_ == 0, GetTickCount())) {
    case Autoclean_gate::Decision::off:
        console_trace("%d:   - Unprocessed (monitoring or autoclean off).\n", n);
        break;
    case Autoclean_gate::Decision::paused:
        console_trace("%d:   - Unprocessed (monitoring or autoclean off).\n", n);
        show_status(autoclean_status::dialog_open);
        break;
    case Autoclean_gate::Decision::rewriter:
        console_trace("%d:   - Unprocessed (another program keeps changing the clipboard).\n", n);
        show_status(autoclean_status::rewriter);
        break;
    case Autoclean_gate::Decision::local_copy:
        console_trace("%d:   - Unprocessed (local copy).\n", n);
        break;
    case Autoclean_gate::Decision::process:
        if (in_chain_) leave_chain();
        TRACE_HERE();
        if (SetTimer(window_, timer_id, 0, nullptr) == timer_id) {
            console_trace("%d:   - Timer set.\n", n);
        } else {
            console_trace("%d:   - Couldn't set timer.\n", n);
            perform_autoclean();
        }
        break;
    }
}

bool Clipboard_monitor::owned_by_program() const
{
    HWND owner = GetClipboardOwner();
    return owner && GetAncestor(owner, GA_ROOT) == GetAncestor(window_, GA_ROOT);
}

void Clipboard_monitor::on_change_cb_chain(HWND removed, HWND after)
{
    TRACE_HERE();
    console_trace("Got WM_CHANGECBCHAIN: \n    Remove: %04x\n    After: %04x\n", handle_number(removed),
                  handle_number(after));
    if (removed == next_viewer_) {
        console_trace("Changing the next window to %04x.\n", handle_number(after));
        next_viewer_ = after;
        return;
    }
    if (next_viewer_) {
        console_trace("Passing WM_CHANGECBCHAIN to window %04x.\n", handle_number(next_viewer_));
        SendMessageA(next_viewer_, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(after));
    }
    TRACE_HERE();
}

void Clipboard_monitor::on_timer()
{
    console_trace("Timer expired.  About to perform the autoclean operation.\n");
    if (!KillTimer(window_, timer_id)) console_trace("WARNING: Couldn't stop timer.\n");
    perform_autoclean();
}

void Clipboard_monitor::perform_autoclean()
{
    const int n = autoclean_counter_++;
    TRACE_HERE();
    std::string text;
    std::string status;
    const int opened = clipboard::open_with_retries(window_);
    if (!opened) {
        warning("Couldn't open the clipboard.  Another application may be preventing Sorvane from "
                "doing this.");
        status = autoclean_status::unreadable;
    } else {
        console_trace("%d:   - Opened clipboard after %d attempts.\n", n, opened);
        status = read_clipboard_text(n, text);
        CloseClipboard();
    }
    bool cleaned = false;
    try {
        if (status.empty()) {
            status = host_.holds_no_user_work() ? autoclean_in_editor(n, text) : autoclean_on_clipboard(n, text);
            cleaned = status != autoclean_status::too_large && status != autoclean_status::unwritable;
        }
    } catch (...) {
        // Out of memory for a large copy: reported by the window procedure's guard, and the
        // monitor goes on.
        join_chain();
        throw;
    }
    join_chain();
    if (cleaned) TRACE_HERE();
    show_status(status);
}

// The clipboard's text, or the status text of a run that ends here. The clipboard is open.
std::string Clipboard_monitor::read_clipboard_text(int n, std::string& text)
{
    if (clipboard::marked_to_be_left_alone()) {
        console_trace("%d:   - Marked to be left alone.\n", n);
        return autoclean_status::marked;
    }
    // Windows makes CF_UNICODETEXT of a copy in CF_TEXT, so this reads either.
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        console_trace("%d:   - Doesn't have text.\n", n);
        return autoclean_status::no_text;
    }
    TRACE_HERE();
    HANDLE data = nullptr;
    int attempts = 0;
    while (!data && attempts < clipboard::attempts_limit) {
        ++attempts;
        data = GetClipboardData(CF_UNICODETEXT);
    }
    if (!data) {
        warning("Couldn't retreive clipboard data.  Another application may be preventing Sorvane "
                "from doing this.");
        return autoclean_status::unreadable;
    }
    console_trace("%d:   - Retreived clipboard data in %d attempts.\n", n, attempts);
    const wchar_t* locked = nullptr;
    attempts = 0;
    while (!locked && attempts < clipboard::attempts_limit) {
        ++attempts;
        locked = static_cast<const wchar_t*>(GlobalLock(data));
    }
    if (!locked) {
        warning_last("Couldn't access text on clipboard.");
        return autoclean_status::unreadable;
    }
    console_trace("%d:   - Accessed text in %d attempts.\n", n, attempts);
    // A handle without its terminating NUL is read only as far as it reaches.
    const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    text = to_utf8(std::wstring(locked, std::find(locked, locked + capacity, L'\0')));
    GlobalUnlock(data);
    if (text.empty()) return autoclean_status::empty_text;
    if (gate_.is_own_text(text)) {
        console_trace("%d:   - Sorvane's own text.\n", n);
        return autoclean_status::own_text;
    }
    return std::string();
}

bool Clipboard_monitor::put_on_clipboard(const std::string& cleaned)
{
    if (!clipboard::open_with_retries(window_)) return false;
    const bool put = clipboard::put_text(cleaned);
    CloseClipboard();
    if (put) gate_.put_on_clipboard(cleaned, GetTickCount());
    return put;
}

// The cleaned text goes on the clipboard first, so the next paste need not wait for the editor
// (a megabyte takes it seconds); then the editor shows it as Clean Everything would have made it,
// with Undo bringing back the copy.
std::string Clipboard_monitor::autoclean_in_editor(int n, const std::string& text)
{
    // What the run puts in the editor is not the user's: the save question leaves it out (it
    // still counts as a change), and an opened file it replaced is not overwritten by a Save.
    if (text.size() > host_.editor_limit()) {
        // The copy stays as it is; the explanation takes the editor's place, and Undo brings
        // back what the editor showed.
        TRACE_HERE();
        const std::string shown = host_.editor_text();
        host_.replace_all_undoably(too_large_explanation);
        host_.autoclean_shown(shown, host_.editor_text());
        return autoclean_status::too_large;
    }
    const std::string cleaned = host_.clean_text(text);
    // An unchanged copy stays as it was, every format and its owner with it.
    if (cleaned != text && !put_on_clipboard(cleaned)) return autoclean_status::unwritable;
    std::string status = autoclean_status::too_large;
    const std::string taken = host_.begin_showing(text);
    if (!taken.empty()) {
        TRACE_HERE();
        host_.replace_all_undoably(cleaned);
        TRACE_HERE();
        console_trace("%d:   - Cleaned.\n", n);
        status = autoclean_status::cleaned(clipboard::count_changed_characters(text, cleaned));
    }
    host_.end_showing();
    if (taken.empty()) {
        TRACE_HERE();
        host_.show_text(too_large_explanation);
    }
    host_.autoclean_shown(taken, host_.editor_text());
    return status;
}

std::string Clipboard_monitor::autoclean_on_clipboard(int n, const std::string& text)
{
    // The user's work stays; so does the copy, and the explanation goes to the status bar only.
    if (text.size() > host_.editor_limit()) return autoclean_status::too_large;
    const std::string cleaned = host_.clean_text(text);
    if (cleaned == text) return autoclean_status::cleaned(0);
    if (!put_on_clipboard(cleaned)) return autoclean_status::unwritable;
    console_trace("%d:   - Cleaned.\n", n);
    return autoclean_status::cleaned_beside_user_work(clipboard::count_changed_characters(text, cleaned));
}

void Clipboard_monitor::show_status(const std::string& text)
{
    status_ = text;
    host_.show_status(text);
}
