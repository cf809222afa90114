#include "app/clean_and_paste.h"

#include <algorithm>

#include "app/clipboard_monitor.h"
#include "base/diagnostics.h"
#include "framework/strings.h"

namespace clean_paste_status {
// Short enough for the message pane of a window of the default size.
const char* const unreadable = "Clean and Paste could not open the clipboard; nothing was pasted.";
const char* const no_copy = "Clean and Paste could not keep the clipboard's content; nothing was pasted.";
const char* const unwritable = "Clean and Paste could not write the clipboard; nothing was pasted.";
const char* const not_sent = "Clean and Paste could not paste: the window in front refuses Sorvane's keys.";
const char* const not_restored = "Clean and Paste could not put the clipboard's content back.";
}  // namespace clean_paste_status

namespace {

INPUT key_event(WORD key, bool up)
{
    INPUT event{};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    if (up) event.ki.dwFlags |= KEYEVENTF_KEYUP;
    // The right-hand Ctrl and Alt and both Win keys sit on the extended part of the keyboard.
    if (key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN)
        event.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return event;
}

// Closes the clipboard on every way out.
class Open_clipboard {
public:
    explicit Open_clipboard(HWND window) : open_(clipboard::open_with_retries(window) != 0) {}
    ~Open_clipboard()
    {
        if (open_) CloseClipboard();
    }
    Open_clipboard(const Open_clipboard&) = delete;
    Open_clipboard& operator=(const Open_clipboard&) = delete;
    bool is_open() const { return open_; }

private:
    bool open_;
};

// The open clipboard's text; false when it holds none.
bool read_text(std::string& text)
{
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* locked = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!locked) return false;
    const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    text = to_utf8(std::wstring(locked, std::find(locked, locked + capacity, L'\0')));
    GlobalUnlock(data);
    return true;
}

// The cleaned text in place of everything, with the mark that keeps histories and monitors out.
bool put_temporary_text(const std::string& text)
{
    if (!clipboard::put_text(text)) return false;
    const UINT mark = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    HGLOBAL zero = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
    if (mark && zero && SetClipboardData(mark, zero)) return true;
    if (zero) GlobalFree(zero);
    return false;
}

}  // namespace

std::vector<INPUT> paste_input(const std::function<SHORT(int key)>& key_state)
{
    static const WORD modifiers[] = {VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT,
                                     VK_LMENU,    VK_RMENU,    VK_LWIN,   VK_RWIN};
    std::vector<WORD> held;
    bool alt_or_win = false;
    for (WORD key : modifiers) {
        if (!(key_state(key) & 0x8000)) continue;
        held.push_back(key);
        alt_or_win = alt_or_win || key == VK_LMENU || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
    }
    std::vector<INPUT> events;
    if (alt_or_win) {
        events.push_back(key_event(paste_mask_key, false));
        events.push_back(key_event(paste_mask_key, true));
    }
    for (WORD key : held) events.push_back(key_event(key, true));
    events.push_back(key_event(VK_CONTROL, false));
    events.push_back(key_event('V', false));
    events.push_back(key_event('V', true));
    events.push_back(key_event(VK_CONTROL, true));
    return events;
}

UINT Clean_and_paste_host::send_input(std::vector<INPUT>& events)
{
    return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

void Clean_and_paste_host::refuse() { MessageBeep(MB_OK); }

void Clean_and_paste::run()
{
    if (running_) return;
    ++runs_;
    console_trace("Clean and Paste %d.\n", runs_);
    {
        Open_clipboard open(window_);
        if (!open.is_open()) {
            host_.report(clean_paste_status::unreadable);
            return;
        }
        std::string text;
        if (!read_text(text) || text.empty()) {
            host_.refuse();
            return;
        }
        Clipboard_snapshot snapshot;
        if (!snapshot.take()) {
            host_.report(clean_paste_status::no_copy);
            return;
        }
        const std::string cleaned = host_.clean_text(text);
        if (!put_temporary_text(cleaned)) {
            // What the clipboard held goes back at once.
            EmptyClipboard();
            snapshot.restore();
            host_.report(clean_paste_status::unwritable);
            return;
        }
        snapshot_ = std::move(snapshot);
    }
    ours_ = GetClipboardSequenceNumber();
    running_ = true;
    std::vector<INPUT> keys = paste_input(GetAsyncKeyState);
    const UINT sent = host_.send_input(keys);
    if (sent != keys.size()) host_.report(clean_paste_status::not_sent);
    // Nothing went out: nothing will paste, and the content goes back now. Otherwise the message
    // loop must run meanwhile, since the target may paste through it.
    if (sent == 0 || !SetTimer(window_, timer_id, static_cast<UINT>(delay_), nullptr)) restore();
}

void Clean_and_paste::on_timer()
{
    KillTimer(window_, timer_id);
    restore();
}

void Clean_and_paste::finish_now()
{
    if (!running_) return;
    KillTimer(window_, timer_id);
    restore();
}

void Clean_and_paste::restore()
{
    running_ = false;
    // Another copy came meanwhile: it is the user's now, and stays.
    if (GetClipboardSequenceNumber() != ours_) {
        snapshot_.clear();
        return;
    }
    Open_clipboard open(window_);
    bool restored = false;
    if (open.is_open()) {
        if (GetClipboardSequenceNumber() != ours_) {
            snapshot_.clear();
            return;
        }
        restored = EmptyClipboard() && snapshot_.restore();
    }
    snapshot_.clear();
    if (!restored) host_.report(clean_paste_status::not_restored);
}
