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
Box_scope box_scope;

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
    const std::string text = format_text(format, args);
    va_end(args);
    if (!text.empty()) platform_console_write(text);
}

std::string with_system_text(const std::string& text, std::uint32_t code)
{
    if (code == 0) return text;
    std::string system = platform_system_message(code);
    return system.empty() ? text : text + "  " + system;
}

void set_box_recorder(Box_recorder recorder) { box_recorder = std::move(recorder); }
void set_box_scope(Box_scope scope) { box_scope = std::move(scope); }

namespace {
void deliver(const Box& box)
{
    const auto show = [&box] {
        if (box_recorder) box_recorder(box);
        else show_box(box);
    };
    if (box_scope) box_scope(show);
    else show();
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
    return std::to_string(value);
}

std::string format_text(const char* format, va_list args)
{
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        const char* start = p++;
        const bool zeros = *p == '0';
        std::size_t width = 0;
        while (*p >= '0' && *p <= '9') width = width * 10 + static_cast<std::size_t>(*p++ - '0');
        std::string field;
        switch (*p) {
        case 'd': {
            const long long value = va_arg(args, int);
            field = std::to_string(value);
            break;
        }
        case 'u': field = std::to_string(va_arg(args, unsigned)); break;
        case 'x':
        case 'X': {
            const char* digits = *p == 'x' ? "0123456789abcdef" : "0123456789ABCDEF";
            unsigned value = va_arg(args, unsigned);
            do {
                field.insert(field.begin(), digits[value & 15]);
                value >>= 4;
            } while (value);
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            field = text ? text : "(null)";
            break;
        }
        case 'c': field = static_cast<char>(va_arg(args, int)); break;
        case '%': field = "%"; break;
        default:
            // Not ours to read: copied as it stands, and nothing more taken from args.
            if (!*p) --p;
            out.append(start, static_cast<std::size_t>(p - start + 1));
            continue;
        }
        if (field.size() < width) {
            // Zeros go between the sign and the digits, blanks before both.
            const std::size_t at = zeros && field[0] == '-' ? 1 : 0;
            field.insert(at, width - field.size(), zeros ? '0' : ' ');
        }
        out += field;
    }
    return out;
}

bool parse_int(std::string_view text, int& value)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i == text.size()) return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 2147483648LL) return false;
    }
    if (!negative && magnitude > 2147483647LL) return false;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

int string_to_int(const std::string& text)
{
    std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos) return 0;
    std::size_t end = start + (text[start] == '+' || text[start] == '-' ? 1 : 0);
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    int value = 0;
    return parse_int(std::string_view(text).substr(start, end - start), value) ? value : 0;
}
