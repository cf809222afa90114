// The end-to-end tests' hands on a file dialog: types a file name into the Open or Save As
// dialog the program shows and presses its default button, as a person would.
// file_dialog TITLE NAME TIMEOUT_MS: exit 0 once done; 1 with a reason on stderr.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "file_dialog: %s\n", why.c_str());
    std::exit(1);
}

struct Search {
    const char* title;
    HWND found;
};

BOOL CALLBACK test_window(HWND w, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    char cls[64] = "", text[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (IsWindowVisible(w) && std::string(cls) == "#32770" && std::string(text) == s->title) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND dialog_titled(const char* title)
{
    Search s{title, nullptr};
    EnumWindows(test_window, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The file name field: the edit (edt1) of older templates, or the combo box (cmb13) of the
// Explorer style.
HWND name_field(HWND dialog)
{
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
    if (HWND combo = GetDlgItem(dialog, 0x47c)) return combo;
    return nullptr;
}

}  // namespace

int main()
{
    // The name is taken in UTF-16, so a name outside the code page is typed as it is.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4) fail("usage: file_dialog TITLE NAME TIMEOUT_MS");
    char title[256] = "";
    WideCharToMultiByte(CP_ACP, 0, argv[1], -1, title, sizeof title, nullptr, nullptr);
    const DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(argv[3]));
    HWND dialog = nullptr;
    while (!(dialog = dialog_titled(title))) {
        if (static_cast<LONG>(GetTickCount() - until) > 0) fail(std::string("no dialog ") + title);
        Sleep(100);
    }
    HWND field = name_field(dialog);
    if (!field) fail("no file name field");
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    // Done when the dialog has gone (a question on top of it would keep it).
    while (IsWindow(dialog)) {
        if (static_cast<LONG>(GetTickCount() - until) > 0) fail("the dialog stays open");
        Sleep(50);
    }
    return 0;
}
