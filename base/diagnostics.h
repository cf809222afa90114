// Diagnostics: the log, the console channel, message boxes, the fatal exit and small helpers
// that every layer uses. The core is portable; boxes, the console device and the exit come
// from the platform part (diagnostics_win32.cpp or diagnostics_native.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <cstdarg>
#include <string>
#include <string_view>


bool open_log(const std::string& path);
void close_log();
bool log_is_open();

// Writes text to the log unchanged and flushes; nothing while the log is closed.
void trace(const std::string& text);
// One log line: the file name part of source_path, ", ", line, "\n".
void trace_location(const char* source_path, int line);
#define TRACE_HERE() trace_location(__FILE__, __LINE__)

// printf-style output to the console device; dropped when the process has none.
void console_trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
// True when console output would go somewhere; lets hot paths skip formatting.
bool console_present();

void critical_error(const std::string& text);
void critical_error_code(const std::string& text, std::uint32_t code);
void critical_error_last(const std::string& text);
void error_box(const std::string& text);
void warning(const std::string& text);
void warning_code(const std::string& text, std::uint32_t code);
void warning_last(const std::string& text);

[[noreturn]] void fatal_exit();
[[noreturn]] void internal_error(const char* source_path, int line);
#define INTERNAL_ERROR() internal_error(__FILE__, __LINE__)

std::string int_to_string(int value);
// printf's formatting for what the traces use: %d, %u, %x and %X (a 0 flag and a width),
// %s, %c and %%; anything else is copied as it stands. The program's own, so that the C
// runtime's whole printf, floating point included, stays out of the program.
std::string format_text(const char* format, va_list args);
// A whole decimal int: an optional sign and digits, nothing else, within int's range.
bool parse_int(std::string_view text, int& value);
// The decimal integer at the start of text after white space, as "%d" scans it; 0 when there is
// none (or it does not fit an int).
int string_to_int(const std::string& text);

// The file name part of a path: what follows the last backslash (or slash).
std::string file_name_part(const char* path);
std::string internal_error_text(const char* source_path, int line);
// "text  system-message" when the system has a message for code (fits 100 characters) and code
// is not 0; text unchanged otherwise.
std::string with_system_text(const std::string& text, std::uint32_t code);

// The one seam for tests: every box goes to the recorder instead of the screen while one is set.
enum class Box_kind { critical, error, warning };
struct Box {
    Box_kind kind;
    std::string caption;
    std::string text;
    unsigned style;  // MB_* flags as they would be passed to the platform
};
using Box_recorder = std::function<void(const Box&)>;

// Each kind's MB_* flags, as numbers so that this header needs no platform header.
namespace box_style {
constexpr unsigned critical = 0x2030;  // MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL
constexpr unsigned error = 0x0010;     // MB_OK | MB_ICONSTOP
constexpr unsigned warning = 0x2030;   // MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL
}  // namespace box_style
void set_box_recorder(Box_recorder recorder);
// Every box, shown or recorded, runs inside the scope while one is set: a box runs a nested
// message loop, and the program holds its clipboard processing off around it.
using Box_scope = std::function<void(const std::function<void()>& show)>;
void set_box_scope(Box_scope scope);

// The platform part: shows (or records) a box; writes to the console device; ends the process.
void show_box(const Box& box);
void platform_console_write(const std::string& text);
bool platform_console_present();
std::string platform_system_message(std::uint32_t code);  // empty when none fits
[[noreturn]] void platform_exit_now();

