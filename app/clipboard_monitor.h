// The clipboard side of Auto Clean: reading and writing CF_TEXT with the bounded retries, the
// marks and texts a run must leave alone, and the status bar texts a run ends with. The view's
// own part of the monitor (the viewer chain, the timer, the run) is in clipboard_monitor.cpp.
#pragma once

#include <windows.h>

#include <string>

namespace clipboard {

// Attempts per step of a run before giving up.
constexpr int attempts_limit = 1000;

// The registered formats that copying programs (password managers, other monitors) offer to say
// "do not process this copy".
bool marked_to_be_left_alone();
// False when the clipboard's Unicode text has characters that the ANSI code page cannot hold:
// CF_TEXT written back would turn them into "?". The clipboard must be open.
bool text_survives_code_page();
// Opens the clipboard for window, trying up to attempts_limit times; the attempts used, or 0.
int open_with_retries(HWND window);
// Empties the clipboard (open) and puts text on it as CF_TEXT.
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
extern const char* const code_page;
extern const char* const own_text;
extern const char* const no_text;
extern const char* const empty_text;
extern const char* const too_large;
extern const char* const unreadable;
extern const char* const unwritable;
}  // namespace autoclean_status
