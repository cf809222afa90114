#include "base/diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <share.h>
#endif

namespace {

std::FILE* log_file = nullptr;
Box_recorder box_recorder;

constexpr const char* support_address = "https://support.example.com/sorvane";

void log_line(const char* prefix, const std::string& text)
{
    trace(prefix + text + "\n");
}

}  // namespace

bool open_log(const std::string& path)
{
    close_log();
#ifdef _WIN32
    log_file = _fsopen(path.c_str(), "w", _SH_DENYNO);
#else
    log_file = std::fopen(path.c_str(), "w");
#endif
    return log_file != nullptr;
}

void close_log()
{
    if (log_file) std::fclose(log_file);
    log_file = nullptr;
}

bool log_is_open() { return log_file != nullptr; }

void trace(const std::string& text)
{
    if (!log_file) return;
    std::fwrite(text.data(), 1, text.size(), log_file);
    std::fflush(log_file);
}

std::string file_name_part(const char* path)
{
    std::string p = path ? path : "";
    std::size_t cut = p.find_last_of("\\/");
    return cut == std::string::npos ? p : p.substr(cut + 1);
}

void trace_location(const char* source_path, int line)
{
    if (!log_file) return;
    trace(file_name_part(source_path) + ", " + int_to_string(line) + "\n");
}

bool console_present() { return platform_console_present(); }

void console_trace(const char* format, ...)
{
    if (!platform_console_present()) return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        std::string text(static_cast<std::size_t>(n) + 1, '\0');
        std::vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<std::size_t>(n));
        platform_console_write(text);
    }
    va_end(args);
}

std::string with_system_text(const std::string& text, std::uint32_t code)
{
    if (code == 0) return text;
    std::string system = platform_system_message(code);
    return system.empty() ? text : text + "  " + system;
}

void set_box_recorder(Box_recorder recorder) { box_recorder = std::move(recorder); }

namespace {
void deliver(const Box& box)
{
    if (box_recorder) box_recorder(box);
    else show_box(box);
}
}  // namespace


void critical_error(const std::string& text)
{
    log_line("CRITICAL: ", text);
    deliver({Box_kind::critical, "CRITICAL ERROR", text, box_style::critical});
}

void critical_error_code(const std::string& text, std::uint32_t code)
{
    critical_error(with_system_text(text, code));
}

void error_box(const std::string& text)
{
    log_line("ERROR: ", text);
    deliver({Box_kind::error, "OOPS!", text, box_style::error});
}

void warning(const std::string& text)
{
    log_line("WARNING: ", text);
    deliver({Box_kind::warning, "WARNING", text, box_style::warning});
}

void warning_code(const std::string& text, std::uint32_t code)
{
    warning(with_system_text(text, code));
}

void fatal_exit()
{
    trace("<<< EXITING DUE TO FATAL ERROR >>>\n");
    close_log();
    platform_exit_now();
}

std::string internal_error_text(const char* source_path, int line)
{
    return "An internal error has occured.  (Error Codes: " + file_name_part(source_path) + ", " +
           int_to_string(line) + ")\nIf the problem persists, contact Meradon for assistance (" +
           support_address + ").";
}

void internal_error(const char* source_path, int line)
{
    critical_error(internal_error_text(source_path, line));
    fatal_exit();
}

std::string int_to_string(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

int string_to_int(const std::string& text)
{
    int value = 0;
    return std::sscanf(text.c_str(), "%d", &value) == 1 ? value : 0;
}
