// The platform part of diagnostics on Windows: message boxes, system error texts, the console
// device and the immediate exit.
#include "base/diagnostics_win32.h"

static_assert(box_style::critical == (MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL));
static_assert(box_style::error == (MB_OK | MB_ICONSTOP));
static_assert(box_style::warning == (MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL));

namespace {

// Box texts are UTF-8; the window shows UTF-16.
std::wstring widen(const std::string& utf8)
{
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, &wide[0], n);
    return wide;
}

HANDLE console = INVALID_HANDLE_VALUE;
bool console_opened = false;

void open_console()
{
    if (console_opened) return;
    console_opened = true;
    console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
    MessageBoxW(owner, widen(box.text).c_str(), widen(box.caption).c_str(), box.style);
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
    wchar_t buffer[100];
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                   100, nullptr);
    const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(n), &text[0], size, nullptr, nullptr);
    return text;
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
