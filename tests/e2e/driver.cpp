// The end-to-end tests' hands: a small Windows program that finds Sorvane's windows and does to
// them what a person does (keys, menu commands, choosing a preset, closing) and reads back what a
// person sees (text, selection, window rectangle, list entries, message boxes).
// One command per run: driver COMMAND ARGS...; results on stdout, failures on stderr, exit 1.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/catalogue.h"

namespace {

const char* program_name = "Sorvane.exe";

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "driver: %s\n", why.c_str());
    std::exit(1);
}

std::string lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string class_of(HWND w)
{
    char name[256] = "";
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::string title_of(HWND w)
{
    char text[512] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

bool belongs_to_program(HWND w)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    bool ok = QueryFullProcessImageNameA(process, 0, path, &size) != 0;
    CloseHandle(process);
    if (!ok) return false;
    std::string p = lower(path);
    std::string want = "\\" + lower(program_name);
    return p.size() >= want.size() && p.compare(p.size() - want.size(), want.size(), want) == 0;
}

BOOL CALLBACK collect_program_window(HWND w, LPARAM lp)
{
    if (IsWindowVisible(w) && belongs_to_program(w)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}

// The program's visible top-level windows, in z-order.
std::vector<HWND> program_windows()
{
    std::vector<HWND> found;
    EnumWindows(collect_program_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool is_dialog(HWND w) { return class_of(w) == "#32770"; }

bool is_help(HWND w) { return class_of(w) == "SorvaneHelp"; }

// The main window is the program's one visible top-level window that is neither a dialog box
// nor the help window (nor a tool tip, shown after the mouse rests on the toolbar, nor the
// preset box's open list).
HWND main_window()
{
    for (HWND w : program_windows()) {
        const std::string kind = lower(class_of(w));
        if (!is_dialog(w) && !is_help(w) && kind != "tooltips_class32" && kind != "combolbox") return w;
    }
    return nullptr;
}

HWND need_main()
{
    HWND w = main_window();
    if (!w) fail("the main window is not there");
    return w;
}

struct Child_search {
    bool (*match)(HWND, LPARAM);
    LPARAM arg;
    HWND hit;
};

BOOL CALLBACK test_child(HWND w, LPARAM lp)
{
    auto* s = reinterpret_cast<Child_search*>(lp);
    if (!s->match(w, s->arg)) return TRUE;
    s->hit = w;
    return FALSE;
}

HWND find_child(HWND parent, bool (*match)(HWND, LPARAM), LPARAM arg)
{
    Child_search s{match, arg, nullptr};
    EnumChildWindows(parent, test_child, reinterpret_cast<LPARAM>(&s));
    return s.hit;
}

HWND editor()
{
    HWND e = find_child(need_main(), [](HWND w, LPARAM) {
        return lower(class_of(w)) == "edit" && (GetWindowLongPtrA(w, GWL_STYLE) & ES_MULTILINE);
    }, 0);
    if (!e) fail("no multi-line edit control in the main window");
    return e;
}

HWND child_with_id(int id)
{
    return find_child(need_main(), [](HWND w, LPARAM lp) { return GetDlgCtrlID(w) == static_cast<int>(lp); }, id);
}

HWND preset_combo()
{
    HWND c = child_with_id(IDC_TOOLBAR_PRESETS);
    if (!c || lower(class_of(c)) != "combobox") fail("no preset combo box on the toolbar");
    return c;
}

// Waits until the program has dealt with everything sent to it so far.
void settle(HWND w)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        WaitForInputIdle(p, 5000);
        CloseHandle(p);
    }
    DWORD_PTR ignored;
    SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(100);
    SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

std::string read_file(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) fail(std::string("cannot read ") + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const char* path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary);
    if (!out.write(data.data(), static_cast<std::streamsize>(data.size()))) fail(std::string("cannot write ") + path);
}

// Opens the clipboard and puts text on it as CF_TEXT in place of everything it held; the caller
// closes it.
void open_clipboard_with_text(const std::string& text)
{
    if (!OpenClipboard(nullptr)) fail("cannot open the clipboard");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
}

std::string window_text(HWND w)
{
    LRESULT n = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = SendMessageA(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
}

// Entry index of a combo box (CB_GETLBTEXT) or list box (LB_GETTEXT), asked in UTF-16: Wine
// hands an ANSI request from another process back in UTF-16.
std::string entry_text(HWND control, UINT get_text, LRESULT index)
{
    wchar_t wide[256] = L"";
    SendMessageW(control, get_text, index, reinterpret_cast<LPARAM>(wide));
    char text[512] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

WORD key_code(const std::string& name)
{
    static const struct { const char* name; WORD vk; } keys[] = {
        {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"alt", VK_MENU}, {"insert", VK_INSERT},
        {"delete", VK_DELETE}, {"backspace", VK_BACK}, {"escape", VK_ESCAPE}, {"return", VK_RETURN},
        {"tab", VK_TAB}, {"home", VK_HOME}, {"end", VK_END}, {"left", VK_LEFT}, {"right", VK_RIGHT},
        {"up", VK_UP}, {"down", VK_DOWN}, {"f1", VK_F1}, {"space", VK_SPACE}, {"lwin", VK_LWIN}};
    for (const auto& k : keys)
        if (name == k.name) return k.vk;
    if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= '0' && name[0] <= '9')))
        return static_cast<WORD>(name[0] >= 'a' ? name[0] - 'a' + 'A' : name[0]);
    fail("unknown key " + name);
}

// Presses a chord such as "ctrl+e": keys down in order, up in reverse, through the real input queue.
void press(const std::string& chord)
{
    std::vector<WORD> codes;
    size_t start = 0;
    for (;;) {
        size_t plus = chord.find('+', start);
        codes.push_back(key_code(lower(chord.substr(start, plus - start))));
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    std::vector<INPUT> input;
    for (WORD vk : codes) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        input.push_back(i);
    }
    for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(i);
    }
    if (SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) != input.size())
        fail("SendInput failed for " + chord);
}

void bring_forward(HWND w)
{
    SetForegroundWindow(w);
    for (int i = 0; i < 50 && GetForegroundWindow() != w; ++i) Sleep(20);
    if (GetForegroundWindow() != w) fail("the main window does not come to the front");
}

bool is_text_static(HWND c)
{
    LONG_PTR type = GetWindowLongPtrA(c, GWL_STYLE) & SS_TYPEMASK;
    return type != SS_BITMAP && type != SS_ICON && type != SS_ETCHEDHORZ && type != SS_ETCHEDVERT;
}

// A message box or other dialog of the program: its title, then its static texts.
std::string describe_dialog(HWND d)
{
    std::string out = title_of(d);
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (lower(class_of(c)) == "static" && is_text_static(c) && !title_of(c).empty()) out += "\t" + title_of(c);
    return out;
}

HWND dialog_titled(const std::string& title)
{
    for (HWND w : program_windows())
        if (is_dialog(w) && title_of(w) == title) return w;
    return nullptr;
}

// A left click at a point of the screen, through the real input queue.
void click_at(POINT p)
{
    SetCursorPos(p.x, p.y);
    Sleep(50);
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(2, input, sizeof(INPUT)) != 2) fail("SendInput failed for a click");
}

// The rectangle of a toolbar entry in screen coordinates. TB_GETITEMRECT writes through a
// pointer, so the rectangle is asked for in the program's own memory.
RECT toolbar_entry_rect(HWND toolbar, int index)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(toolbar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) fail("cannot open the program's process");
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT r{};
    bool ok = remote && SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
              ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!ok) fail("no toolbar entry " + std::to_string(index));
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int number(const char* text)
{
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end) fail(std::string("not a number: ") + text);
    return static_cast<int>(v);
}

void print_rect(const RECT& r)
{
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A clipboard viewer of its own: counts the notifications that reach it in file, passes them
// on, and leaves the chain when file + ".stop" appears.
struct Watcher {
    std::string file;
    HWND next = nullptr;
    int count = 0;
};
Watcher watcher;

LRESULT CALLBACK watcher_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_DRAWCLIPBOARD:
        write_file(watcher.file.c_str(), std::to_string(++watcher.count) + "\n");
        if (watcher.next) SendMessageA(watcher.next, msg, wp, lp);
        return 0;
    case WM_CHANGECBCHAIN:
        if (reinterpret_cast<HWND>(wp) == watcher.next) watcher.next = reinterpret_cast<HWND>(lp);
        else if (watcher.next) SendMessageA(watcher.next, msg, wp, lp);
        return 0;
    case WM_TIMER:
        if (GetFileAttributesA((watcher.file + ".stop").c_str()) != INVALID_FILE_ATTRIBUTES) {
            ChangeClipboardChain(w, watcher.next);
            PostQuitMessage(0);
        }
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

int watch_clipboard(const char* file)
{
    watcher.file = file;
    WNDCLASSA wc{};
    wc.lpfnWndProc = watcher_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SorvaneTestWatcher";
    RegisterClassA(&wc);
    HWND w = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    watcher.next = SetClipboardViewer(w);
    SetTimer(w, 1, 100, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

// A program in front with an edit box, as a person pastes into one: its text goes to file (UTF-8)
// at every change, and it ends when file + ".stop" appears.
struct Target {
    std::string file;
    HWND window = nullptr;
    HWND edit = nullptr;
    bool changed = false;
};
Target target;

std::string edit_text_utf8(HWND edit)
{
    std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(edit, &wide[0], static_cast<int>(wide.size()))));
    std::string text(wide.size() * 3, '\0');
    text.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                        &text[0], static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

LRESULT CALLBACK target_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE) {
            target.changed = true;
            if (!target.file.empty()) write_file(target.file.c_str(), edit_text_utf8(target.edit));
        }
        return 0;
    case WM_SETFOCUS:
        SetFocus(target.edit);
        return 0;
    case WM_TIMER:
        if (GetFileAttributesA((target.file + ".stop").c_str()) != INVALID_FILE_ATTRIBUTES) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

// The target's window, shown in front with the focus in its edit box.
void open_target()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = target_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SorvaneTestTarget";
    RegisterClassW(&wc);
    target.window = CreateWindowW(wc.lpszClassName, L"Sorvane Test Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, 420, 300, nullptr, nullptr, wc.hInstance, nullptr);
    RECT client{};
    GetClientRect(target.window, &client);
    target.edit = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                0, 0, client.right, client.bottom, target.window, nullptr, wc.hInstance, nullptr);
    SendMessageW(target.edit, EM_SETLIMITTEXT, 0, 0);
    SetForegroundWindow(target.window);
    SetFocus(target.edit);
}

void pump_messages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring clipboard_unicode()
{
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Copies the file's text (UTF-8) as another program would, then times runs presses of Ctrl+Win+V
// in the target: the milliseconds from the press until the cleaned text is in its edit box. Each
// run waits until the clipboard holds the copy again.
int time_clean_and_paste(const char* file, int runs)
{
    const std::string utf8 = read_file(file);
    std::wstring copy(utf8.size() + 1, L'\0');
    copy.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                        &copy[0], static_cast<int>(copy.size()))));
    if (!OpenClipboard(nullptr)) fail("cannot open the clipboard");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (copy.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), copy.c_str(), (copy.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    const std::wstring as_copied = clipboard_unicode();
    open_target();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
        SetWindowTextW(target.edit, L"");
        pump_messages();
        target.changed = false;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        press("ctrl+lwin+v");
        const DWORD until = GetTickCount() + 30000;
        while (!target.changed || GetWindowTextLengthW(target.edit) == 0) {
            if (static_cast<LONG>(GetTickCount() - until) > 0) fail("nothing was pasted in time");
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            pump_messages();
        }
        QueryPerformanceCounter(&end);
        if (edit_text_utf8(target.edit) == utf8) fail("the text was pasted uncleaned");
        std::printf("%.2f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                   static_cast<double>(frequency.QuadPart));
        std::fflush(stdout);
        while (clipboard_unicode() != as_copied) {
            if (static_cast<LONG>(GetTickCount() - until) > 0) fail("the clipboard did not get the copy back");
            Sleep(20);
            pump_messages();
        }
    }
    DestroyWindow(target.window);
    return 0;
}

int run(int argc, char** argv)
{
    if (argc < 2) fail("usage: driver COMMAND ARGS...");
    std::string cmd = argv[1];
    auto arg = [&](int i) -> const char* {
        if (i + 1 >= argc) fail("missing argument for " + cmd);
        return argv[i + 1];
    };

    if (cmd == "wait-main") {
        // Start-up is over when the main window is up and the splash has gone.
        DWORD until = GetTickCount() + static_cast<DWORD>(number(arg(1)));
        for (;;) {
            HWND m = main_window();
            bool splash = dialog_titled("About Sorvane") != nullptr;
            if (m && !splash && IsWindowEnabled(m)) { settle(m); std::printf("ready\n"); return 0; }
            for (HWND w : program_windows())
                if (is_dialog(w) && title_of(w) != "About Sorvane") { std::printf("dialog\t%s\n", describe_dialog(w).c_str()); return 2; }
            if (static_cast<LONG>(GetTickCount() - until) > 0) fail("no main window in time");
            Sleep(100);
        }
    }
    if (cmd == "windows") {
        for (HWND w : program_windows())
            std::printf("%s\t%s\n", class_of(w).c_str(), is_dialog(w) ? describe_dialog(w).c_str() : title_of(w).c_str());
        return 0;
    }
    if (cmd == "workarea") {
        RECT r;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (cmd == "rect") { RECT r; GetWindowRect(need_main(), &r); print_rect(r); return 0; }
    if (cmd == "state") {
        // Not GetWindowPlacement: Wine gives another process's window its current rectangle as the
        // normal one; the normal rectangle shows itself after "restore".
        HWND m = need_main();
        std::printf("%s\n", IsZoomed(m) ? "maximized" : IsIconic(m) ? "minimized" : "normal");
        return 0;
    }
    if (cmd == "move") {
        HWND m = need_main();
        MoveWindow(m, number(arg(1)), number(arg(2)), number(arg(3)), number(arg(4)), TRUE);
        settle(m);
        return 0;
    }
    if (cmd == "maximize" || cmd == "restore") {
        HWND m = need_main();
        ShowWindow(m, cmd == "maximize" ? SW_MAXIMIZE : SW_RESTORE);
        settle(m);
        return 0;
    }
    if (cmd == "command") {
        HWND m = need_main();
        PostMessageA(m, WM_COMMAND, MAKEWPARAM(number(arg(1)), 0), 0);
        settle(m);
        return 0;
    }
    if (cmd == "dialog-keys") {
        // Keys through the real input queue to the dialog, which is brought to the front first.
        HWND d = dialog_titled(arg(1));
        if (!d) fail(std::string("no dialog ") + arg(1));
        SetForegroundWindow(d);
        for (int i = 0; i < 50 && GetForegroundWindow() != d; ++i) Sleep(20);
        for (int i = 3; i < argc; ++i) { press(argv[i]); Sleep(60); }
        Sleep(100);
        return 0;
    }
    if (cmd == "keys" || cmd == "keys-as-is") {
        // keys-as-is leaves the activation as the program has it: keys go where a person's would.
        HWND m = need_main();
        if (cmd == "keys") bring_forward(m);
        for (int i = 2; i < argc; ++i) { press(argv[i]); settle(m); }
        return 0;
    }
    if (cmd == "click-toolbar" || cmd == "click-child") {
        // A click on a toolbar entry (by index) or on the middle of a child window (by id).
        HWND m = need_main();
        bring_forward(m);
        RECT r{};
        if (cmd == "click-toolbar") {
            r = toolbar_entry_rect(child_with_id(ID_TOOLBAR_WINDOW), number(arg(1)));
        } else {
            HWND c = child_with_id(number(arg(1)));
            if (!c) fail("no such child window");
            GetWindowRect(c, &r);
        }
        click_at(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        settle(m);
        return 0;
    }
    if (cmd == "click-button") {
        // A click on a button of a dialog, as the mouse does it.
        HWND d = dialog_titled(arg(1));
        HWND b = d ? GetDlgItem(d, number(arg(2))) : nullptr;
        if (!b) fail(std::string("no such button in ") + arg(1));
        RECT r{};
        GetWindowRect(b, &r);
        click_at(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        settle(d);
        return 0;
    }
    if (cmd == "window-rect") {
        // The rectangle of the program's window titled TITLE, and its place in the z-order.
        std::vector<HWND> all = program_windows();
        for (size_t i = 0; i < all.size(); ++i) {
            if (title_of(all[i]) != arg(1)) continue;
            RECT r{};
            GetWindowRect(all[i], &r);
            std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom, static_cast<int>(i));
            return 0;
        }
        fail(std::string("no window ") + arg(1));
    }
    if (cmd == "toolbar-checked") {
        HWND bar = child_with_id(ID_TOOLBAR_WINDOW);
        std::printf("%s\n", SendMessageA(bar, TB_ISBUTTONCHECKED, number(arg(1)), 0) ? "checked" : "unchecked");
        return 0;
    }
    if (cmd == "close-help") {
        for (HWND w : program_windows())
            if (is_help(w)) PostMessageA(w, WM_CLOSE, 0, 0);
        settle(need_main());
        return 0;
    }
    if (cmd == "file-version") {
        // The FileVersion text of a program's version resource.
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(arg(1), &ignored);
        std::vector<char> info(size ? size : 1);
        char* text = nullptr;
        UINT length = 0;
        if (!size || !GetFileVersionInfoA(arg(1), 0, size, info.data()) ||
            !VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion",
                            reinterpret_cast<void**>(&text), &length))
            fail(std::string("no version resource in ") + arg(1));
        std::printf("%s\n", text);
        return 0;
    }
    if (cmd == "title") {
        // The main window's title as it keeps and draws it, in UTF-8.
        wchar_t text[512] = L"";
        InternalGetWindowText(need_main(), text, 512);
        char utf8[1536] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
        return 0;
    }
    if (cmd == "active") {
        // The program's active window and focus, as its input thread has them: class and title.
        HWND m = need_main();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(m, nullptr), &info)) fail("no thread info");
        auto describe = [](HWND w) { return w ? class_of(w) + "\t" + title_of(w) : std::string("-\t"); };
        std::printf("%s\n%s\n", describe(info.hwndActive).c_str(), describe(info.hwndFocus).c_str());
        return 0;
    }
    if (cmd == "set-text") {
        std::string text = read_file(arg(1));
        SendMessageA(editor(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return 0;
    }
    if (cmd == "get-text") { write_file(arg(1), window_text(editor())); return 0; }
    if (cmd == "select") {
        HWND e = editor();
        SendMessageA(e, EM_SETSEL, number(arg(1)), number(arg(2)));
        return 0;
    }
    if (cmd == "get-sel") {
        DWORD start = 0, end = 0;
        SendMessageA(editor(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        std::printf("%lu %lu\n", start, end);
        return 0;
    }
    if (cmd == "combo-list" || cmd == "combo-get") {
        HWND c = preset_combo();
        LRESULT count = SendMessageA(c, CB_GETCOUNT, 0, 0);
        LRESULT sel = SendMessageA(c, CB_GETCURSEL, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            if (cmd == "combo-get" && i != sel) continue;
            std::printf("%s\n", entry_text(c, CB_GETLBTEXT, i).c_str());
        }
        return 0;
    }
    if (cmd == "combo-select") {
        // As a click on an entry: the list moves its selection, then tells its parent.
        HWND c = preset_combo();
        LRESULT index = SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(arg(1)));
        if (index == CB_ERR) fail(std::string("no entry ") + arg(1));
        SendMessageA(c, CB_SETCURSEL, index, 0);
        SendMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(IDC_TOOLBAR_PRESETS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
        settle(need_main());
        return 0;
    }
    if (cmd == "click-combo-entry") {
        // A click on an entry of the preset list the box has open, as the mouse does it.
        HWND c = preset_combo();
        LRESULT index = SendMessageA(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(arg(1)));
        if (index == CB_ERR) fail(std::string("no entry ") + arg(1));
        if (!SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0)) fail("the preset list is not open");
        // The open list hangs below the box from its top entry, entries of one height.
        const LRESULT height = SendMessageA(c, CB_GETITEMHEIGHT, 0, 0);
        RECT r{};
        GetWindowRect(c, &r);
        click_at(POINT{(r.left + r.right) / 2, static_cast<LONG>(r.bottom + 1 + height * index + height / 2)});
        settle(need_main());
        return 0;
    }
    if (cmd == "bar-visible") {
        HWND bar = child_with_id(number(arg(1)));
        std::printf("%s\n", bar && IsWindowVisible(bar) ? "visible" : "hidden");
        return 0;
    }
    if (cmd == "click" || cmd == "dialog-rect") {
        // A real mouse click at the middle of a visible control of the dialog (the sheet's page
        // included), or the dialog's screen rectangle.
        HWND d = dialog_titled(arg(1));
        if (!d) fail(std::string("no dialog ") + arg(1));
        if (cmd == "dialog-rect") { RECT r; GetWindowRect(d, &r); print_rect(r); return 0; }
        RECT r;
        HWND c = nullptr;
        if (std::string(arg(2)).rfind("tab", 0) == 0) {
            // "tabN": the sheet's Nth tab, its rectangle asked through the program's memory.
            c = find_child(d, [](HWND w, LPARAM) { return lower(class_of(w)) == "systabcontrol32"; }, 0);
            if (!c) fail("no tab control");
            DWORD pid = 0;
            GetWindowThreadProcessId(c, &pid);
            HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
            void* remote = process ? VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE) : nullptr;
            if (!remote) fail("cannot reach the tab control");
            SendMessageA(c, TCM_GETITEMRECT, number(std::string(arg(2)).substr(3).c_str()), reinterpret_cast<LPARAM>(remote));
            ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
            CloseHandle(process);
            MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&r), 2);
        } else {
            c = find_child(d, [](HWND w, LPARAM id) {
                return GetDlgCtrlID(w) == static_cast<int>(id) && IsWindowVisible(w);
            }, number(arg(2)));
            if (!c) fail("no such control");
            GetWindowRect(c, &r);
        }
        SetForegroundWindow(d);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT clicks[2] = {};
        clicks[0].type = clicks[1].type = INPUT_MOUSE;
        clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        if (SendInput(2, clicks, sizeof(INPUT)) != 2) fail("SendInput failed for the click");
        Sleep(150);
        return 0;
    }
    if (cmd == "wait-dialog") {
        DWORD until = GetTickCount() + static_cast<DWORD>(number(arg(2)));
        for (;;) {
            if (HWND d = dialog_titled(arg(1))) { std::printf("%s\n", describe_dialog(d).c_str()); return 0; }
            if (static_cast<LONG>(GetTickCount() - until) > 0) fail(std::string("no dialog ") + arg(1));
            Sleep(100);
        }
    }
    if (cmd == "press-button") {
        HWND d = dialog_titled(arg(1));
        if (!d) fail(std::string("no dialog ") + arg(1));
        HWND b = GetDlgItem(d, number(arg(2)));
        if (!b) fail("no such button");
        PostMessageA(b, BM_CLICK, 0, 0);
        return 0;
    }
    if (cmd == "dialog-set-text" || cmd == "dialog-get-text" || cmd == "focus-id") {
        HWND d = dialog_titled(arg(1));
        if (!d) fail(std::string("no dialog ") + arg(1));
        if (cmd == "focus-id") {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            if (!GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info)) fail("no focus");
            std::printf("%d\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
            return 0;
        }
        HWND c = GetDlgItem(d, number(arg(2)));
        // A sheet's controls are its page's.
        if (!c)
            c = find_child(d, [](HWND w, LPARAM id) {
                return GetDlgCtrlID(w) == static_cast<int>(id) && IsWindowVisible(w);
            }, number(arg(2)));
        if (!c) fail("no such control");
        if (cmd == "dialog-get-text") { std::printf("%s\n", window_text(c).c_str()); return 0; }
        SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(3)));
        return 0;
    }
    if (cmd == "help") {
        // The help window: its title, the topic chosen in its list, then the topic's text.
        for (HWND w : program_windows()) {
            if (!is_help(w)) continue;
            HWND list = find_child(w, [](HWND c, LPARAM) { return lower(class_of(c)) == "listbox"; }, 0);
            HWND page = find_child(w, [](HWND c, LPARAM) { return class_of(c) == "SorvaneHelpPage"; }, 0);
            if (!list || !page) fail("the help window lacks its list or its page");
            LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
            std::printf("%s\t%s\n%s", title_of(w).c_str(), sel < 0 ? "" : entry_text(list, LB_GETTEXT, sel).c_str(),
                        window_text(page).c_str());
            return 0;
        }
        fail("no help window");
    }
    if (cmd == "close") {
        // As the close box: the main window asks to close; a question that comes up instead is reported.
        HWND m = need_main();
        PostMessageA(m, WM_CLOSE, 0, 0);
        DWORD until = GetTickCount() + static_cast<DWORD>(number(arg(1)));
        while (IsWindow(m)) {
            for (HWND w : program_windows())
                if (is_dialog(w)) { std::printf("dialog\t%s\n", describe_dialog(w).c_str()); return 2; }
            if (static_cast<LONG>(GetTickCount() - until) > 0) fail("the main window stays open");
            Sleep(50);
        }
        std::printf("closed\n");
        return 0;
    }
    if (cmd == "status" || cmd == "status-clear") {
        // The status bar's message pane; status-clear empties it.
        HWND bar = child_with_id(ID_STATUS_BAR_WINDOW);
        if (!bar) fail("no status bar");
        if (cmd == "status-clear") SendMessageA(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        else std::printf("%s\n", window_text(bar).c_str());
        return 0;
    }
    if (cmd == "clip-set") {
        // Another program's copy: the file's bytes as CF_TEXT, plus an empty entry of each
        // registered format named after it.
        open_clipboard_with_text(read_file(arg(1)));
        for (int i = 3; i < argc; ++i)
            SetClipboardData(RegisterClipboardFormatA(argv[i]), GlobalAlloc(GMEM_MOVEABLE, 1));
        CloseClipboard();
        return 0;
    }
    if (cmd == "clip-get") {
        // CF_TEXT as the next paste gets it; exit 3 when the clipboard holds none.
        if (!OpenClipboard(nullptr)) fail("cannot open the clipboard");
        HANDLE data = GetClipboardData(CF_TEXT);
        std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
        if (data) GlobalUnlock(data);
        CloseClipboard();
        write_file(arg(1), text);
        return data ? 0 : 3;
    }
    if (cmd == "watch") return watch_clipboard(arg(1));
    if (cmd == "target") {
        target.file = arg(1);
        write_file(target.file.c_str(), "");
        open_target();
        SetTimer(target.window, 1, 100, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return 0;
    }
    if (cmd == "clean-and-paste-timing") return time_clean_and_paste(arg(1), number(arg(2)));
    if (cmd == "roundtrip") {
        // Copies the file's text as CF_TEXT runs times; each time, the milliseconds until the
        // clipboard's next change (Sorvane's cleaned text) can be read back as a paste would.
        const std::string text = read_file(arg(1));
        const int runs = number(arg(2));
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        for (int i = 0; i < runs; ++i) {
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            open_clipboard_with_text(text);
            CloseClipboard();
            const DWORD copied = GetClipboardSequenceNumber();
            std::string pasted;
            const DWORD until = GetTickCount() + 30000;
            while (pasted.empty()) {
                if (static_cast<LONG>(GetTickCount() - until) > 0) fail("no cleaned text in time");
                if (GetClipboardSequenceNumber() == copied || !OpenClipboard(nullptr)) { Sleep(0); continue; }
                if (HANDLE data = GetClipboardData(CF_TEXT)) {
                    pasted = static_cast<const char*>(GlobalLock(data));
                    GlobalUnlock(data);
                }
                CloseClipboard();
            }
            QueryPerformanceCounter(&end);
            if (pasted == text) fail("the text came back uncleaned");
            std::printf("%.2f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                       static_cast<double>(frequency.QuadPart));
            std::fflush(stdout);
            // The program shows the text in its editor after the paste is ready: the next copy
            // waits until that is done, and a quiet second more, since copies that follow each of
            // its writes within a second are another program rewriting them, which it holds off.
            DWORD_PTR ignored;
            if (HWND m = main_window()) SendMessageTimeoutA(m, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
            Sleep(1100);
        }
        return 0;
    }
    if (cmd == "preset") {
        // The built-in preset's values as the catalogue has them, one "name<TAB>value" a line.
        std::string name = arg(1);
        Cleaning_settings s;
        if (name == full_cleaning_name) s = builtin_preset(Builtin_preset::full);
        else if (name == light_cleaning_name) s = builtin_preset(Builtin_preset::light);
        else fail("no built-in preset " + name);
        for (const Setting_field& f : setting_fields) {
            if (f.is_text()) std::printf("%s\t%s\n", f.name(), f.text.of(s).c_str());
            else std::printf("%s\t%d\n", f.name(), static_cast<int>(f.integer.of(s)));
        }
        return 0;
    }
    fail("unknown command " + cmd);
}

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (const char* name = std::getenv("SORVANE_DRIVER_PROGRAM")) program_name = name;
    int status = run(argc, argv);
    std::fflush(stdout);
    return status;
}
