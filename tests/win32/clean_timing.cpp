// Where Clean Everything of a full editor spends its time under Wine: the program is started as
// the tests start it (no splash, no start dialogs), the editor filled with about 1 MB of mail,
// and each step of the command timed on its own, then the whole command and its Undo.
//     clean_timing PROGRAM_DIRECTORY
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Sorvane.h"
#include "app/SorvaneEditView.h"
#include "bench/corpus.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "app/MainFrame.h"
#include "settings/Cleaning_prefs.h"

namespace {

double now_ms()
{
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Everything the window has queued, painting included.
void settle(HWND frame)
{
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void report(const char* step, double ms) { std::printf("  %-44s %8.1f ms\n", step, ms); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: clean_timing PROGRAM_DIRECTORY\n");
        return 2;
    }
    Start_options options;
    options.company = "Meradon Bench";
    options.program_directory = argv[1];
    options.splash = false;
    options.start_dialogs = false;
    CSorvaneApp app(options);
    if (!app.start()) return 1;
    CSorvaneEditView& view = *app.view();
    HWND frame = app.frame()->hwnd();

    // Cut from a longer text: resizing a shorter one would pad it with NUL bytes, which the
    // control stops at.
    // The corpus is Windows-1252, as a file of it would be; the editor holds its characters.
    std::string ansi = line_list_to_text(text_to_line_list(make_corpus(CSorvaneEditView::text_limit)));
    ansi.resize(CSorvaneEditView::text_limit - 20 * 1024);
    std::string mail, error;
    if (!decode_text(ansi, Text_encoding::ansi, mail, error)) {
        std::printf("the corpus does not decode: %s\n", error.c_str());
        return 2;
    }
    std::printf("Clean Everything of %zu bytes in the editor, under Wine:\n", mail.size());

    view.set_text(mail);
    settle(frame);
    double t = now_ms();
    const std::string text = view.text();
    report("read the editor's text", now_ms() - t);
    t = now_ms();
    Line_list lines = text_to_line_list(text);
    report("split into lines", now_ms() - t);
    t = now_ms();
    Cleaner(app.store()->current_settings(), view.abbreviations()).clean_lines(lines);
    report("engine", now_ms() - t);
    t = now_ms();
    const std::string cleaned = line_list_to_text(lines);
    report("join", now_ms() - t);
    t = now_ms();
    view.set_selection(0, -1);
    view.replace_selection(cleaned, true);
    report("replace the text (undoable)", now_ms() - t);
    t = now_ms();
    settle(frame);
    report("paint", now_ms() - t);
    t = now_ms();
    view.undo();
    settle(frame);
    report("undo, painted", now_ms() - t);

    // What the control costs whatever we do: the same replacement with drawing held off, and
    // the text set without undo (the control lays out every line either way).
    view.set_text(mail);
    settle(frame);
    t = now_ms();
    SendMessageA(view.hwnd(), WM_SETREDRAW, FALSE, 0);
    view.set_selection(0, -1);
    view.replace_selection(cleaned, true);
    SendMessageA(view.hwnd(), WM_SETREDRAW, TRUE, 0);
    settle(frame);
    report("replace with drawing held off, painted", now_ms() - t);
    t = now_ms();
    view.set_text(mail);
    settle(frame);
    report("set the text, not undoable, painted", now_ms() - t);

    // The same text in bare EDIT controls of the same size and font: does wrapping the long
    // lines at the window's edge cost the time?
    for (bool wrap : {true, false}) {
        RECT r{};
        GetClientRect(view.hwnd(), &r);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                            (wrap ? 0 : WS_HSCROLL | ES_AUTOHSCROLL);
        HWND bare = CreateWindowExA(0, "EDIT", "", style, 0, 0, r.right, r.bottom, frame, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        SendMessageA(bare, EM_SETLIMITTEXT, CSorvaneEditView::text_limit, 0);
        SendMessageA(bare, WM_SETFONT, SendMessageA(view.hwnd(), WM_GETFONT, 0, 0), FALSE);
        t = now_ms();
        SetWindowTextA(bare, mail.c_str());
        settle(frame);
        report(wrap ? "bare EDIT, long lines wrapped: set the text" : "bare EDIT, no wrapping: set the text",
               now_ms() - t);
        DestroyWindow(bare);
    }

    view.set_text(mail);
    view.empty_undo_buffer();
    settle(frame);
    t = now_ms();
    view.clean_everything();
    settle(frame);
    const double whole = now_ms() - t;
    t = now_ms();
    view.undo();
    settle(frame);
    const double undo = now_ms() - t;
    report("Clean Everything, whole command, painted", whole);
    report("its Undo, painted", undo);
    const std::string after = view.text();
    const bool same = after == mail;
    if (!same) {
        std::size_t i = 0;
        while (i < after.size() && i < mail.size() && after[i] == mail[i]) ++i;
        std::printf("Undo did not bring the text back: %zu bytes for %zu, first difference at byte %zu\n",
                    after.size(), mail.size(), i);
    }
    view.set_modified(false);
    DestroyWindow(frame);
    app.ExitInstance(0);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Meradon Bench");
    return same ? 0 : 3;
}
