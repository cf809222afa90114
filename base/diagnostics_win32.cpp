// The platform part of diagnostics on Windows: message boxes, system error texts, the console
// device and the immediate exit.
#include "base/diagnostics_win32.h"

static_assert(box_style::critical == (MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL));
static_assert(box_style::error == (MB_OK | MB_ICONSTOP));
static_assert(box_style::warning == (MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL));

namespace {

HANDLE console = INVALID_HANDLE_VALUE;
bool console_opened = false;

void open_console()
{
    if (console_opened) return;
    console_opened = true;
    console = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
}

}  // namespace

void show_box(const Box& box)
{
    HWND owner = box.kind == Box_kind::error ? GetActiveWindow() : nullptr;
    // A box without an owner hands the activation to nobody when it closes (with no window
    // manager at all, or one that does not step in), and the next key would be lost.
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    MessageBoxA(owner, box.text.c_str(), box.caption.c_str(), box.style);
    if (owner || !active || !IsWindow(active) || !IsWindowEnabled(active)) return;
    SetForegroundWindow(active);
    SetActiveWindow(active);
    if (focus && IsWindow(focus) && (focus == active || IsChild(active, focus))) SetFocus(focus);
}

bool platform_console_present()
{
    open_console();
    return console != INVALID_HANDLE_VALUE;
}

void platform_console_write(const std::string& text)
{
    if (!platform_console_present()) return;
    DWORD written = 0;
    WriteFile(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string platform_system_message(std::uint32_t code)
{
    char buffer[100];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                             sizeof buffer, nullptr);
    return std::string(buffer, n);
}

void platform_exit_now() { ExitProcess(0); }

void critical_error_last(const std::string& text) { critical_error_code(text, GetLastError()); }
void warning_last(const std::string& text) { warning_code(text, GetLastError()); }

namespace {
HWND control_or_die(HWND dialog, int id, const char* file, int line)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control) internal_error(file, line);
    return control;
}
}  // namespace

void enable_control(HWND dialog, int id)
{
    EnableWindow(control_or_die(dialog, id, __FILE__, __LINE__), TRUE);
}

void disable_control(HWND dialog, int id)
{
    EnableWindow(control_or_die(dialog, id, __FILE__, __LINE__), FALSE);
}

bool is_control_enabled(HWND dialog, int id)
{
    return IsWindowEnabled(control_or_die(dialog, id, __FILE__, __LINE__)) != FALSE;
}
