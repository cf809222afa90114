// The platform part of diagnostics for the native build: boxes go to stderr, there is no
// console device, and the fatal exit skips every destructor and exit handler.
#include "base/diagnostics.h"

#include <cstdio>
#include <unistd.h>

void show_box(const Box& box)
{
    std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
}

bool platform_console_present() { return false; }
void platform_console_write(const std::string&) {}
std::string platform_system_message(std::uint32_t) { return {}; }

void platform_exit_now()
{
    std::fflush(stderr);
    _exit(0);
}

void critical_error_last(const std::string& text) { critical_error(text); }
void warning_last(const std::string& text) { warning(text); }
