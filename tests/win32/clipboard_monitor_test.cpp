// Auto Clean on the real clipboard and the real viewer chain: a window of the test plays the
// other program that copies, and another one a clipboard viewer placed after Sorvane.
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "app/clipboard_monitor.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "tests/win32/program_test_support.h"

namespace {

const std::string mail = "> Hi Anna,\r\n>\r\n> the notes  look   fine.\tThanks\r\n> for them.\r\n";

// A top-level window of the test: it copies as another program would, and as a clipboard viewer
// it records what reaches it and passes notifications on as a well-behaved viewer does.
class Other_window {
public:
    Other_window()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvaneTestOther";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("SorvaneTestOther", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Other_window()
    {
        if (viewing) ChangeClipboardChain(hwnd, next);
        DestroyWindow(hwnd);
    }
    void join()
    {
        next = SetClipboardViewer(hwnd);
        viewing = true;
    }
    // Each entry: a format and its bytes.
    void copy(const std::vector<std::pair<UINT, std::string>>& formats)
    {
        ASSERT_TRUE(OpenClipboard(hwnd));
        EmptyClipboard();
        for (const auto& [format, bytes] : formats) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            memcpy(GlobalLock(memory), bytes.data(), bytes.size());
            GlobalUnlock(memory);
            SetClipboardData(format, memory);
        }
        CloseClipboard();
    }
    void copy_text(const std::string& text) { copy({{CF_TEXT, text + '\0'}}); }

    HWND hwnd = nullptr;
    HWND next = nullptr;
    bool viewing = false;
    int draws = 0;
    std::vector<std::pair<HWND, HWND>> chain_changes;

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<Other_window*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (self && msg == WM_DRAWCLIPBOARD) {
            ++self->draws;
            if (self->next) SendMessageA(self->next, msg, wp, lp);
            return 0;
        }
        if (self && msg == WM_CHANGECBCHAIN) {
            self->chain_changes.emplace_back(reinterpret_cast<HWND>(wp), reinterpret_cast<HWND>(lp));
            if (reinterpret_cast<HWND>(wp) == self->next) self->next = reinterpret_cast<HWND>(lp);
            else if (self->next) SendMessageA(self->next, msg, wp, lp);
            return 0;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }
};

std::string clipboard_text(UINT format = CF_TEXT)
{
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard not open>";
    if (HANDLE data = GetClipboardData(format)) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        text = format == CF_UNICODETEXT ? std::string(p, wcslen(reinterpret_cast<const wchar_t*>(p)) * 2)
                                        : std::string(p);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string wide_bytes(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// Counts the save questions and gives one answer to all.
class Counting_doc : public CSorvaneDoc {
public:
    using CSorvaneDoc::CSorvaneDoc;
    int questions = 0;
    int answer = IDNO;

protected:
    int ask_save_changes(const std::string&) override
    {
        ++questions;
        return answer;
    }
};

class Auto_clean : public Program {
protected:
    // What Clean Everything makes of text.
    std::string cleaned(const std::string& text)
    {
        Line_list lines = text_to_line_list(text);
        Cleaner(store->current_settings(), view->abbreviations()).clean_lines(lines);
        return line_list_to_text(lines);
    }
    // Lets the program's timer fire; true when a run happened.
    bool pump_run()
    {
        const int before = view->monitor().run_count();
        for (int i = 0; i < 200 && view->monitor().run_count() == before; ++i) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            if (view->monitor().run_count() == before) Sleep(5);
        }
        return view->monitor().run_count() != before;
    }
    std::string status() { return frame->status_bar.text(0); }
    // Builds the program with a document that counts its save questions.
    Counting_doc* build_with_counting_doc()
    {
        app->document_factory = [this](Program_context& context) {
            auto made = std::make_unique<Counting_doc>(context);
            counting_doc_ = made.get();
            return made;
        };
        build();
        return counting_doc_;
    }

    Other_window other;

private:
    Counting_doc* counting_doc_ = nullptr;
};

TEST_F(Auto_clean, CopyIsCleanedOnTheClipboardAndShownWithUndoToTheCopy)
{
    Other_window viewer;
    viewer.join();
    Counting_doc* doc = build_with_counting_doc();
    ASSERT_TRUE(view->monitor().in_chain());
    EXPECT_EQ(view->monitor().next_viewer(), viewer.hwnd);
    EXPECT_EQ(view->monitor().notification_count(), 1001) << "the join's own notification is 1000";
    const int draws = viewer.draws;

    const UINT private_format = RegisterClipboardFormatA("Sorvane test picture");
    other.copy({{CF_TEXT, mail + '\0'}, {private_format, "picture"}});
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(view->monitor().run_count(), 1);
    const std::string expected = cleaned(mail);
    ASSERT_NE(expected, mail);
    EXPECT_EQ(clipboard_text(), expected);
    EXPECT_FALSE(IsClipboardFormatAvailable(private_format)) << "only the cleaned text remains";
    EXPECT_EQ(view->text(), expected);
    EXPECT_TRUE(view->monitor().in_chain());
    EXPECT_EQ(view->monitor().next_viewer(), viewer.hwnd);
    EXPECT_GE(viewer.draws, draws + 2) << "the copy and the rejoin are passed on";
    EXPECT_NE(status().find("cleaned ("), std::string::npos) << status();
    EXPECT_NE(status().find("characters changed"), std::string::npos) << status();

    view->undo();
    EXPECT_EQ(view->text(), mail);
    // The text brought back is still Auto Clean's: the next copy replaces it.
    const std::string second = "  One   more\r\nline.";
    other.copy_text(second);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(view->text(), cleaned(second));
    EXPECT_EQ(clipboard_text(), cleaned(second));
    // Neither New nor closing asks to save what only Auto Clean put there, Undo or not.
    view->undo();
    EXPECT_TRUE(document->new_document());
    other.copy_text(mail);
    ASSERT_TRUE(pump_run());
    view->undo();
    close();
    EXPECT_EQ(doc->questions, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Auto_clean, CopiesThatAreLeftAlone)
{
    build();
    const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    const UINT cloud = RegisterClipboardFormatA("CanUploadToCloudClipboard");
    const std::string zero(4, '\0');
    const std::string password = "  s3cret  pass  ";
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, std::string>> formats;
        const char* status;
    };
    const std::vector<Case> cases = {
        {"picture", {{CF_DIB, std::string(64, '\1')}}, autoclean_status::no_text},
        {"empty text", {{CF_TEXT, std::string(1, '\0')}}, autoclean_status::empty_text},
        {"excluded", {{CF_TEXT, password + '\0'}, {exclude, "x"}}, autoclean_status::marked},
        {"viewer ignore", {{CF_TEXT, password + '\0'}, {ignore, "x"}}, autoclean_status::marked},
        {"kept out of history", {{CF_TEXT, password + '\0'}, {history, zero}}, autoclean_status::marked},
        {"kept out of the cloud", {{CF_TEXT, password + '\0'}, {cloud, zero}}, autoclean_status::marked},
    };
    view->set_text("earlier");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        other.copy(c.formats);
        const std::string before_text = clipboard_text();
        const std::string before_wide = clipboard_text(CF_UNICODETEXT);
        ASSERT_TRUE(pump_run());
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(clipboard_text(), before_text);
        EXPECT_EQ(clipboard_text(CF_UNICODETEXT), before_wide);
        EXPECT_EQ(view->text(), "earlier");
        EXPECT_TRUE(view->monitor().in_chain());
    }
    // Sorvane's own text coming back (another monitor rewriting it as it was) is not processed.
    other.copy_text(mail);
    ASSERT_TRUE(pump_run());
    const std::string own = clipboard_text();
    const int runs = view->monitor().run_count();
    other.copy_text(own);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(status(), autoclean_status::own_text);
    EXPECT_EQ(view->monitor().run_count(), runs + 1);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(view->monitor().run_count(), runs + 1) << "no further run follows";
    EXPECT_TRUE(boxes.empty());
}

// Whatever the script, the copy is cleaned and goes back as Unicode text, characters whole.
TEST_F(Auto_clean, TextInAnyScriptIsCleaned)
{
    build();
    const std::wstring copies[] = {
        L"> \x0393\x03b5\x03b9\x03ac  \x03c3\x03bf\x03c5,\r\n> \x65e5\x672c\x8a9e   text\r\n",
        L"a  \xd83d\xde00  b\t\x0437\x0434\x0440\x0430\x0432\x0441\x0442\x0432\x0443\x0439",
    };
    for (const std::wstring& copy : copies) {
        other.copy({{CF_UNICODETEXT, wide_bytes(copy)}});
        ASSERT_TRUE(pump_run());
        const std::string expected = cleaned(to_utf8(copy));
        EXPECT_NE(expected, to_utf8(copy));
        const std::wstring wide = widen(expected);
        EXPECT_EQ(clipboard_text(CF_UNICODETEXT),
                  std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
        EXPECT_EQ(view->text(), expected);
        EXPECT_NE(status().find("cleaned ("), std::string::npos) << status();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Auto_clean, UnsavedWorkInTheEditorIsKept)
{
    Counting_doc* doc = build_with_counting_doc();
    view->replace_selection("My own notes\r\n", true);
    ASSERT_TRUE(document->is_modified());
    other.copy_text(mail);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(clipboard_text(), cleaned(mail));
    EXPECT_EQ(view->text(), "My own notes\r\n");
    EXPECT_TRUE(document->is_modified());
    EXPECT_NE(status().find("changed); unsaved text kept."), std::string::npos) << status();

    // An opened file without changes is replaced, but a later Save cannot overwrite the file.
    const std::string file = temp_directory("sorvane_autoclean") + "\\kept.txt";
    write_file(file, "file text\r\n");
    view->set_modified(false);
    ASSERT_TRUE(document->open_document(file));
    other.copy_text(mail);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(view->text(), cleaned(mail));
    EXPECT_EQ(document->path_name(), "");
    EXPECT_EQ(document->title(), "Untitled");
    // Were the file still the document's, a Yes here would write the copy over it.
    doc->answer = IDYES;
    EXPECT_TRUE(document->save_modified());
    EXPECT_EQ(doc->questions, 0);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "file text\r\n");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Auto_clean, NotProcessedWhileOffDuringBoxesAndForLocalCopies)
{
    Other_window viewer;
    viewer.join();
    build();
    auto not_processed = [&](const char* what) {
        SCOPED_TRACE(what);
        const int runs = view->monitor().run_count();
        const int draws = viewer.draws;
        other.copy_text(mail);
        MSG msg;
        for (int i = 0; i < 5; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(5);
        }
        EXPECT_EQ(view->monitor().run_count(), runs);
        EXPECT_EQ(viewer.draws, draws + 1) << "still passed on";
        EXPECT_TRUE(view->monitor().in_chain());
    };
    view->set_autoclean(false);
    not_processed("Auto Clean off");
    EXPECT_EQ(clipboard_text(), mail);
    view->set_autoclean(true);

    // A box runs a nested loop; the copy happens while it is up.
    set_box_recorder([&](const Box& box) {
        boxes.push_back(box);
        not_processed("warning box");
    });
    warning("a warning");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(context().monitoring_enabled, 1);
    EXPECT_EQ(clipboard_text(), mail);
    EXPECT_EQ(status(), autoclean_status::dialog_open) << "said, not only \"Ready\"";
    // A clean's own message then replaces Auto Clean's.
    view->set_text("Some  text.");
    frame->execute_command(ID_EDIT_CLEAN_EVERYTHING);
    EXPECT_EQ(status(), "Ready");

    // Copy and Cut inside the editor.
    view->set_text("Local  text  here");
    view->set_selection(0, 11);
    const int runs = view->monitor().run_count();
    frame->execute_command(ID_EDIT_COPY);
    view->set_selection(0, 6);
    frame->execute_command(ID_EDIT_CUT);
    EXPECT_EQ(clipboard_text(), "Local ");
    EXPECT_FALSE(pump_run());
    EXPECT_EQ(view->monitor().run_count(), runs);
    EXPECT_FALSE(view->monitor().gate().local_copy());
}

// Copies from inside a modal dialog's own loop, then closes the dialog.
struct Copy_inside_dialog {
    static Other_window* copier;
    static bool copied;

    static BOOL CALLBACK find_dialog(HWND w, LPARAM found)
    {
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(found) = w;
        return FALSE;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), find_dialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) return;
        KillTimer(nullptr, id);
        copier->copy_text(mail);
        copied = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};
Other_window* Copy_inside_dialog::copier = nullptr;
bool Copy_inside_dialog::copied = false;

// Each modal dialog of the program: a copy made while it is open is passed on but not cleaned.
TEST_F(Auto_clean, ModalDialogsHoldProcessingOff)
{
    build();
    struct Open_dialog {
        const char* name;
        std::function<void()> open;
    };
    const std::vector<Open_dialog> dialogs = {
        {"About", [&] { app->OnAppAbout(); }},
        {"Custom Font Size", [&] { frame->OnFontSizeOther(); }},
        {"Auto Clean is Enabled", [&] { view->show_auto_clean_warning(); }},
    };
    Copy_inside_dialog::copier = &other;
    for (const Open_dialog& d : dialogs) {
        SCOPED_TRACE(d.name);
        const int runs = view->monitor().run_count();
        Copy_inside_dialog::copied = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, Copy_inside_dialog::tick);
        d.open();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(Copy_inside_dialog::copied);
        EXPECT_FALSE(pump_run());
        EXPECT_EQ(view->monitor().run_count(), runs);
        EXPECT_EQ(clipboard_text(), mail);
        EXPECT_EQ(context().monitoring_enabled, 1);
    }
}

TEST_F(Auto_clean, ChainBookkeepingAndLeavingOnDestroy)
{
    Other_window viewer;
    viewer.join();
    build();
    ASSERT_EQ(view->monitor().next_viewer(), viewer.hwnd);
    view->monitor().leave_chain();
    EXPECT_FALSE(view->monitor().in_chain());
    EXPECT_EQ(view->monitor().next_viewer(), viewer.hwnd) << "leaving keeps next_viewer";
    view->monitor().join_chain();
    EXPECT_TRUE(view->monitor().in_chain());
    EXPECT_EQ(view->monitor().next_viewer(), viewer.hwnd);
    EXPECT_FALSE(view->monitor().gate().local_copy()) << "the join's notification came and went";

    // A window further down the chain leaves: passed on, with the same two parameters.
    HWND later = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    HWND after = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5678));
    viewer.next = later;
    SendMessageA(view->hwnd(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(later), reinterpret_cast<LPARAM>(after));
    EXPECT_EQ(view->monitor().next_viewer(), viewer.hwnd);
    ASSERT_EQ(viewer.chain_changes.size(), 1u);
    EXPECT_EQ(viewer.chain_changes[0], std::make_pair(later, after));
    EXPECT_EQ(viewer.next, after);
    // The next viewer leaves: the view takes the one after it and sends nothing on.
    SendMessageA(view->hwnd(), WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(viewer.hwnd), 0);
    EXPECT_EQ(view->monitor().next_viewer(), nullptr);
    EXPECT_EQ(viewer.chain_changes.size(), 1u);
    viewer.next = nullptr;
    viewer.viewing = false;  // the view now ends the chain as far as it knows

    const HWND view_window = view->hwnd();
    EXPECT_EQ(GetClipboardViewer(), view_window);
    close();
    EXPECT_NE(GetClipboardViewer(), view_window);
}

// Holds the clipboard open from another thread until released.
class Clipboard_holder {
public:
    Clipboard_holder()
        : held_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          thread_([this] {
              Other_window window;
              OpenClipboard(window.hwnd);
              SetEvent(held_);
              WaitForSingleObject(release_, INFINITE);
              CloseClipboard();
          })
    {
        WaitForSingleObject(held_, INFINITE);
    }
    void release_after(DWORD ms)
    {
        Sleep(ms);
        SetEvent(release_);
    }
    ~Clipboard_holder()
    {
        SetEvent(release_);
        thread_.join();
        CloseHandle(held_);
        CloseHandle(release_);
    }

private:
    HANDLE held_, release_;
    std::thread thread_;
};

TEST_F(Auto_clean, RetriesWhileAnotherProgramHoldsTheClipboardAndTooLargeText)
{
    build();
    other.copy_text(mail);
    {
        // Let go a moment after the run has started trying.
        Clipboard_holder holder;
        std::thread letting_go([&holder] { holder.release_after(20); });
        EXPECT_TRUE(pump_run());
        letting_go.join();
    }
    EXPECT_EQ(clipboard_text(), cleaned(mail));
    EXPECT_TRUE(boxes.empty());

    // Held for good: the run gives up with the warning and rejoins the chain.
    other.copy_text(mail);
    {
        Clipboard_holder holder;
        EXPECT_TRUE(pump_run());
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Couldn't open the clipboard.  Another application may be preventing "
                             "Sorvane from doing this.");
    EXPECT_TRUE(view->monitor().in_chain());
    EXPECT_EQ(status(), autoclean_status::unreadable);
    EXPECT_EQ(clipboard_text(), mail);

}

// A copy too large for the editor stays on the clipboard as it is, beside the user's work or not;
// the explanation goes into an editor without work, where Undo brings back what it showed, and
// to the status bar otherwise.
TEST_F(Auto_clean, ACopyTooLargeForTheEditorStaysAsItIs)
{
    build();
    const std::string huge(CSorvaneEditView::text_limit + 1, 'x');
    view->replace_selection("My own notes", true);
    ASSERT_TRUE(document->is_modified());
    other.copy_text(huge);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(view->text(), "My own notes");
    EXPECT_EQ(clipboard_text(), huge);
    EXPECT_EQ(GetClipboardOwner(), other.hwnd);
    EXPECT_EQ(status(), autoclean_status::too_large);

    const std::string file = temp_directory("sorvane_autoclean") + "\\opened.txt";
    write_file(file, "file text");
    view->set_modified(false);
    ASSERT_TRUE(document->open_document(file));
    other.copy_text(huge);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(view->text().rfind("Sorvane was unable to clean the text", 0), 0u);
    EXPECT_EQ(clipboard_text(), huge);
    EXPECT_EQ(GetClipboardOwner(), other.hwnd);
    EXPECT_EQ(status(), autoclean_status::too_large);
    EXPECT_EQ(document->path_name(), "") << "a Save cannot put the explanation over the file";
    view->undo();
    EXPECT_EQ(view->text(), "file text");
    EXPECT_TRUE(boxes.empty());
}

// Cleaning that changes nothing writes nothing: every format and the owner stay.
TEST_F(Auto_clean, AnAlreadyCleanCopyKeepsEveryFormatAndItsOwner)
{
    build();
    const UINT html = RegisterClipboardFormatA("HTML Format");
    const std::string clean = "Clean web text already.";
    ASSERT_EQ(cleaned(clean), clean);
    for (bool beside_work : {false, true}) {
        SCOPED_TRACE(beside_work ? "beside unsaved work" : "in the editor");
        if (beside_work) {
            view->set_text("");
            view->replace_selection("My own notes", true);
        }
        other.copy({{CF_TEXT, clean + '\0'}, {html, "<p>Clean web text already.</p>"}});
        ASSERT_TRUE(pump_run());
        EXPECT_EQ(GetClipboardOwner(), other.hwnd);
        EXPECT_TRUE(IsClipboardFormatAvailable(html));
        EXPECT_EQ(clipboard_text(), clean);
        EXPECT_EQ(status(), autoclean_status::cleaned(0));
        EXPECT_EQ(view->text(), beside_work ? "My own notes" : clean);
    }
    // A history mark that lets the copy in is no mark.
    const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    other.copy({{CF_TEXT, mail + '\0'}, {history, std::string("\1\0\0\0", 4)}});
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(clipboard_text(), cleaned(mail));
    EXPECT_TRUE(boxes.empty());
}

// A viewer that rewrites every copy it did not make (adding a quoted line, which cleaning
// changes again) would trade copies with Auto Clean for ever; the monitor stops answering and says why, and a copy after a quiet second is
// cleaned again.
TEST_F(Auto_clean, AnotherRewritingProgramDoesNotKeepItBusy)
{
    struct Rewriter : Other_window {
        static LRESULT CALLBACK rewrite_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
        {
            auto* self = reinterpret_cast<Rewriter*>(GetWindowLongPtrA(w, GWLP_USERDATA));
            if (msg == WM_DRAWCLIPBOARD) {
                if (self->next) SendMessageA(self->next, msg, wp, lp);
                if (GetClipboardOwner() != w) PostMessageA(w, WM_APP, 0, 0);
                return 0;
            }
            if (msg == WM_APP && self->enabled) {
                ++self->rewrites;
                self->copy_text(clipboard_text() + "\r\n> more");
                return 0;
            }
            return CallWindowProcA(self->base, w, msg, wp, lp);
        }
        Rewriter()
        {
            base = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(rewrite_proc)));
        }
        WNDPROC base = nullptr;
        bool enabled = true;
        int rewrites = 0;
    };
    build();
    Rewriter rewriter;
    rewriter.join();
    other.copy_text(mail);
    MSG msg;
    const DWORD start = GetTickCount();
    while (status() != autoclean_status::rewriter && GetTickCount() - start < 10000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_EQ(status(), autoclean_status::rewriter);
    // Held: more rewrites bring no further runs.
    const int runs = view->monitor().run_count();
    for (int i = 0; i < 40; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
    EXPECT_EQ(view->monitor().run_count(), runs);
    EXPECT_LE(runs, 4);
    rewriter.enabled = false;
    Sleep(1100);
    other.copy_text(mail);
    ASSERT_TRUE(pump_run());
    EXPECT_EQ(clipboard_text(), cleaned(mail));
    EXPECT_TRUE(boxes.empty());
}

// The decision alone, through the events that reach it: each case is a sequence of events and
// the decisions its changes get, in order. Time moves only by soon (200 ms) and later (1.5 s).
TEST(Autoclean_gate, DecidesEachChangeFromTheEventsBeforeIt)
{
    enum Event { start, on, off, copy, join, change, change_paused, write, soon, later };
    using D = Autoclean_gate::Decision;
    const D P = D::process, R = D::rewriter;
    struct Case {
        const char* name;
        std::vector<Event> events;
        std::vector<D> decisions;
    };
    const std::vector<Case> cases = {
        {"before start-up has joined", {on, change}, {D::off}},
        {"start-up's own join comes before the start", {join, change, start, on, change}, {D::off, D::process}},
        {"Auto Clean off (the default)", {start, change}, {D::off}},
        {"Auto Clean switched off again", {start, on, off, change, on, change}, {D::off, D::process}},
        {"a dialog holds processing off", {start, on, change_paused, change}, {D::paused, D::process}},
        {"off says off, not paused", {start, change_paused}, {D::off}},
        {"a local copy covers one change", {start, on, copy, change, change}, {D::local_copy, D::process}},
        {"copied twice, still one change", {start, on, copy, copy, change, change}, {D::local_copy, D::process}},
        {"a rejoin's own notification", {start, on, join, change, change}, {D::local_copy, D::process}},
        {"the mark goes with a change while off", {start, copy, change, on, change}, {D::off, D::process}},
        {"the mark goes with a paused change", {start, on, copy, change_paused, change}, {D::paused, D::process}},
        {"off wins over a local copy", {start, on, copy, off, change}, {D::off}},
        {"three rewrites in a row hold the next copies",
         {start, on, write, soon, change, write, soon, change, write, soon, change, soon, change, soon, change},
         {P, P, P, R, R}},
        {"a copy after a quiet second lets go",
         {start, on, write, soon, change, write, soon, change, write, soon, change, soon, change, later, change, soon, change},
         {P, P, P, R, P, P}},
        {"a change a second after the write breaks the row",
         {start, on, write, soon, change, write, soon, change, write, later, change, write, soon, change, soon, change},
         {P, P, P, P, P}},
        {"changes without a write of ours never hold",
         {start, on, soon, change, soon, change, soon, change, soon, change}, {P, P, P, P}},
    };
    for (const Case& c : cases) {
        Autoclean_gate gate;
        std::vector<D> decisions;
        Autoclean_gate::Time now = 5000;
        for (Event event : c.events) {
            switch (event) {
            case start: gate.start(); break;
            case on: gate.set_autoclean(true); break;
            case off: gate.set_autoclean(false); break;
            case copy: gate.mark_local_copy(); break;
            case join: gate.joining(); break;
            case change: decisions.push_back(gate.on_change(false, now)); break;
            case change_paused: decisions.push_back(gate.on_change(true, now)); break;
            case write: gate.put_on_clipboard("cleaned", now); break;
            case soon: now += 200; break;
            case later: now += 1500; break;
            }
        }
        EXPECT_EQ(decisions, c.decisions) << c.name;
        EXPECT_FALSE(gate.local_copy()) << c.name;
    }
}

TEST(Autoclean_gate, OnlyTheTextLastPutIsItsOwn)
{
    Autoclean_gate gate;
    EXPECT_FALSE(gate.is_own_text("")) << "nothing put yet";
    EXPECT_FALSE(gate.is_own_text("text"));
    gate.put_on_clipboard("cleaned text", 0);
    EXPECT_TRUE(gate.is_own_text("cleaned text"));
    EXPECT_FALSE(gate.is_own_text("cleaned text "));
    EXPECT_FALSE(gate.is_own_text("Cleaned text"));
    gate.put_on_clipboard("next", 0);
    EXPECT_FALSE(gate.is_own_text("cleaned text")) << "only the last";
    EXPECT_TRUE(gate.is_own_text("next"));
}

TEST(Changed_characters, CountsAlongOneAlignment)
{
    struct Case {
        std::string before, after;
        long long changed;
    };
    const std::vector<Case> cases = {
        {"", "", 0},
        {"same text", "same text", 0},
        {"> quoted line", "quoted line", 2},
        {"two  spaces here", "two spaces here", 1},
        {"line one\r\nline two", "line one line two", 2},
        {"tab\there", "tab    here", 4},
        {"abc", "", 3},
        {"", "new", 3},
        {"cat", "cut", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clipboard::count_changed_characters(c.before, c.after), c.changed) << c.before;
}

}  // namespace
