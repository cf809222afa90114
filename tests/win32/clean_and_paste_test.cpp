// Clean and Paste on the real clipboard, the real system-wide key and real key events: a window of
// the test with an edit box plays the program in front, others play programs that copy or hold
// the key; the decisions without windows (which keys a paste sends, how combinations read and
// are stored) case by case.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "app/clean_and_paste.h"
#include "app/clipboard_monitor.h"
#include "dialogs/D_clean_paste.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "framework/controls.h"
#include "framework/strings.h"
#include "resources/resource.h"
#include "tests/win32/program_test_support.h"

namespace {

using Formats = std::vector<std::pair<UINT, std::string>>;

const std::string mail = "> Hi Anna,\r\n>\r\n> the notes  look   fine.\tThanks\r\n> for them.\r\n";
const Hotkey ctrl_win_v{hotkey_control | hotkey_win, 'V'};

std::string wide_bytes(const std::string& utf8)
{
    const std::wstring wide = widen(utf8);
    return std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t));
}

// A top-level window of its own class: with an edit box, the program in front that receives the
// paste; without, another program that copies.
class Test_window {
public:
    explicit Test_window(bool with_edit = false)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SorvaneTestTarget";
        RegisterClassA(&wc);
        hwnd = CreateWindowA(wc.lpszClassName, "Target", WS_POPUP | (with_edit ? WS_VISIBLE : 0), 10, 10,
                             300, 200, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (!with_edit) return;
        edit = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 300, 200, hwnd, nullptr,
                             wc.hInstance, nullptr);
        SetForegroundWindow(hwnd);
        SetFocus(edit);
    }
    ~Test_window() { DestroyWindow(hwnd); }

    void copy(const Formats& formats)
    {
        ASSERT_TRUE(OpenClipboard(hwnd));
        EmptyClipboard();
        for (const auto& [format, bytes] : formats) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
            GlobalUnlock(memory);
            SetClipboardData(format, memory);
        }
        CloseClipboard();
    }
    std::string text() const { return window_text(edit); }

    HWND hwnd = nullptr;
    HWND edit = nullptr;
    std::function<void()> on_timer;

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<Test_window*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (msg == WM_TIMER && self && self->on_timer) {
            self->on_timer();
            return 0;
        }
        // As a program's main window does: activated again, it hands the focus to its editor.
        if (msg == WM_SETFOCUS && self && self->edit) {
            SetFocus(self->edit);
            return 0;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }
};

// Every byte of a format's memory, as a later paste would find it; "<none>" when absent.
std::string clipboard_bytes(UINT format)
{
    if (!OpenClipboard(nullptr)) return "<clipboard not open>";
    std::string bytes = "<none>";
    if (HANDLE data = GetClipboardData(format)) {
        bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

// Up to and without the terminating NUL.
std::string clipboard_text()
{
    const std::string bytes = clipboard_bytes(CF_UNICODETEXT);
    const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    return to_utf8(wide.substr(0, wide.find(L'\0')));
}

// Messages flow, keys become characters, until done() or about two seconds.
bool pump_until(const std::function<bool()>& done)
{
    for (int i = 0; i < 400 && !done(); ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!done()) Sleep(5);
    }
    return done();
}

void pump_for(DWORD ms)
{
    const DWORD start = GetTickCount();
    pump_until([&] { return GetTickCount() - start >= ms; });
}

// The key pressed as a person presses it: down in order, up in reverse.
void press(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> events;
    for (WORD key : keys) {
        INPUT event{};
        event.type = INPUT_KEYBOARD;
        event.ki.wVk = key;
        events.push_back(event);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT event{};
        event.type = INPUT_KEYBOARD;
        event.ki.wVk = *key;
        event.ki.dwFlags = KEYEVENTF_KEYUP;
        events.push_back(event);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)), events.size());
}

class Clean_paste : public Program {
protected:
    std::string cleaned(const std::string& text)
    {
        Line_list lines = text_to_line_list(text);
        Cleaner(store->current_settings(), view->abbreviations()).clean_lines(lines);
        return line_list_to_text(lines);
    }
    std::string status() { return frame->status_bar.text(0); }
    Clean_and_paste& run() { return frame->clean_and_paste(); }
    bool wait_restored()
    {
        return pump_until([this] { return !run().running(); });
    }
};

TEST_F(Clean_paste, TheKeyPastesTheCleanedTextInFrontAndTheClipboardGetsEveryFormatBack)
{
    put_setting("Clean Paste Delay", 300);
    build();
    ASSERT_TRUE(frame->clean_paste_key().registered());
    EXPECT_EQ(frame->clean_paste_key().hotkey(), ctrl_win_v);
    Test_window target(true);
    const UINT picture = RegisterClipboardFormatA("Sorvane test picture");
    const std::string picture_bytes("pic\0ture\xff", 9);
    view->set_autoclean(false);
    target.copy({{CF_UNICODETEXT, wide_bytes(mail)}, {picture, picture_bytes}});
    const std::string text_before = clipboard_bytes(CF_UNICODETEXT);
    const std::string ansi_before = clipboard_bytes(CF_TEXT);
    // Auto Clean is on for the run: it must leave the run's text and the copy put back alone.
    view->set_autoclean(true);
    const int autoclean_runs = view->monitor().run_count();
    const std::string status_before = status();

    press({VK_CONTROL, VK_LWIN, 'V'});
    ASSERT_TRUE(pump_until([&] { return !target.text().empty(); })) << "no paste arrived";
    const std::string expected = cleaned(mail);
    ASSERT_NE(expected, mail);
    EXPECT_EQ(target.text(), expected);
    EXPECT_TRUE(run().running());
    EXPECT_EQ(clipboard_text(), expected);
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing")));
    EXPECT_FALSE(IsClipboardFormatAvailable(picture)) << "the paste offers the cleaned text alone";
    // A press while the run is in progress does nothing.
    frame->execute_command(ID_CLEAN_AND_PASTE);
    EXPECT_EQ(run().run_count(), 1);

    ASSERT_TRUE(wait_restored());
    EXPECT_EQ(clipboard_bytes(CF_UNICODETEXT), text_before);
    EXPECT_EQ(clipboard_bytes(CF_TEXT), ansi_before);
    EXPECT_EQ(clipboard_bytes(picture), picture_bytes);
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing")));
    EXPECT_EQ(target.text(), expected) << "one paste";
    pump_for(300);
    EXPECT_EQ(view->monitor().run_count(), autoclean_runs);
    EXPECT_EQ(status(), status_before);
    EXPECT_TRUE(boxes.empty());

    // The next press works again, from the command as the notification icon gives it.
    frame->execute_command(ID_CLEAN_AND_PASTE);
    EXPECT_EQ(run().run_count(), 2);
    ASSERT_TRUE(wait_restored());
    EXPECT_EQ(target.text(), expected + expected);
    EXPECT_EQ(clipboard_bytes(picture), picture_bytes);
}

TEST_F(Clean_paste, ACopyMadeDuringTheDelayStays)
{
    put_setting("AutoClean", 0);
    build();
    Test_window target(true), other;
    other.copy({{CF_UNICODETEXT, wide_bytes(mail)}});
    frame->execute_command(ID_CLEAN_AND_PASTE);
    ASSERT_TRUE(pump_until([&] { return !target.text().empty(); }));
    ASSERT_TRUE(run().running());
    other.copy({{CF_UNICODETEXT, wide_bytes("newer copy")}});
    ASSERT_TRUE(wait_restored());
    EXPECT_EQ(clipboard_text(), "newer copy");
    EXPECT_EQ(GetClipboardOwner(), other.hwnd);
    EXPECT_EQ(target.text(), cleaned(mail));
    EXPECT_EQ(status(), "Ready");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Clean_paste, TheIconsCleanAndPasteNowPastesIntoTheWindowTheUserWorkedIn)
{
    put_setting("AutoClean", 0);
    build();
    Test_window target(true), shell;
    target.copy({{CF_UNICODETEXT, wide_bytes(mail)}});
    // The pointer over the icon while the user's window is in front; then the click hands the
    // activation to the shell's window, as the taskbar takes it.
    SendMessageW(frame->hwnd(), Notification_icon::callback_message, 1, WM_MOUSEMOVE);
    ShowWindow(shell.hwnd, SW_SHOW);
    SetForegroundWindow(shell.hwnd);
    ASSERT_EQ(GetForegroundWindow(), shell.hwnd);
    frame->execute_command(ID_NOTIFY_CLEAN_AND_PASTE);
    ASSERT_TRUE(pump_until([&] { return !target.text().empty(); })) << "no paste arrived";
    EXPECT_EQ(target.text(), cleaned(mail));
    ASSERT_TRUE(wait_restored());
    EXPECT_EQ(clipboard_text(), mail);
}

// A host whose refusals are counted and whose key events can be refused, as a program running
// with higher rights refuses them: the sound and such a program cannot be had under Wine.
class Recording_host : public Clean_and_paste_host {
public:
    std::string clean_text(std::string_view text) override { return "cleaned: " + std::string(text); }
    void report(const std::string& text) override { reports.push_back(text); }
    UINT send_input(std::vector<INPUT>& events) override
    {
        sent = events.size();
        return deliver ? Clean_and_paste_host::send_input(events) : 0;
    }
    void refuse() override { ++refusals; }

    std::vector<std::string> reports;
    std::size_t sent = 0;
    int refusals = 0;
    bool deliver = true;
};

TEST(Clean_and_paste, RefusesWithoutTextAndPutsTheClipboardBackWhenTheKeysCannotBeSent)
{
    Test_window window, other;
    Recording_host host;
    Clean_and_paste paste(host);
    paste.set_window(window.hwnd);
    paste.set_delay(100);
    window.on_timer = [&paste] { paste.on_timer(); };

    // No text, or an empty one: a short sound, and nothing on the clipboard changes.
    for (const Formats& formats : {Formats{{CF_DIB, std::string(64, '\1')}}, Formats{{CF_UNICODETEXT, std::string(2, '\0')}}}) {
        other.copy(formats);
        const DWORD sequence = GetClipboardSequenceNumber();
        paste.run();
        EXPECT_FALSE(paste.running());
        EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
    }
    EXPECT_EQ(host.refusals, 2);
    EXPECT_EQ(host.sent, 0u);

    other.copy({{CF_TEXT, std::string("as it was\0", 10)}});
    const std::string ansi_before = clipboard_bytes(CF_TEXT);
    // Delivered: the cleaned text stays for the delay.
    paste.run();
    ASSERT_TRUE(paste.running());
    EXPECT_EQ(clipboard_text(), "cleaned: as it was");
    ASSERT_TRUE(pump_until([&] { return !paste.running(); }));
    EXPECT_EQ(clipboard_bytes(CF_TEXT), ansi_before);
    EXPECT_TRUE(host.reports.empty());

    // None of the keys went out: said, and the content is back at once.
    host.deliver = false;
    paste.run();
    EXPECT_FALSE(paste.running());
    EXPECT_EQ(host.reports, std::vector<std::string>{clean_paste_status::not_sent});
    EXPECT_EQ(clipboard_bytes(CF_TEXT), ansi_before);
    EXPECT_EQ(host.refusals, 2);

    // The window goes during the delay: the content goes back at once.
    host.deliver = true;
    paste.set_delay(10000);
    paste.run();
    ASSERT_TRUE(paste.running());
    paste.finish_now();
    EXPECT_FALSE(paste.running());
    EXPECT_EQ(clipboard_bytes(CF_TEXT), ansi_before);
    EXPECT_EQ(paste.run_count(), 5);
}

// What comes back is what was there, format by format, for each kind of handle.
TEST(Clipboard_snapshot, EveryKindOfFormatComesBackAsItWas)
{
    Test_window window;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y) SetPixel(memory, x, y, RGB(40 * x, 80 * y, 200));
    SelectObject(memory, old);
    DeleteDC(memory);
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    Rectangle(recorder, 1, 2, 30, 40);
    HENHMETAFILE picture = CloseEnhMetaFile(recorder);
    ReleaseDC(nullptr, screen);
    const UINT private_format = RegisterClipboardFormatA("Sorvane test data");
    const UINT data_object = RegisterClipboardFormatA("DataObject");

    ASSERT_TRUE(OpenClipboard(window.hwnd));
    EmptyClipboard();
    auto put = [](UINT format, const std::string& bytes) {
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
        GlobalUnlock(g);
        SetClipboardData(format, g);
    };
    put(CF_UNICODETEXT, wide_bytes("text \xce\xb3"));
    put(private_format, std::string("\0\1\2private", 10));
    put(data_object, "window");
    SetClipboardData(CF_BITMAP, bitmap);
    SetClipboardData(CF_ENHMETAFILE, picture);
    CloseClipboard();

    auto read_all = [&] {
        std::vector<std::string> all;
        for (UINT format : {UINT(CF_UNICODETEXT), UINT(CF_TEXT), private_format, UINT(CF_DIB)})
            all.push_back(clipboard_bytes(format));
        OpenClipboard(nullptr);
        std::string bits(5 * 3 * 4, '\0');
        GetBitmapBits(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), static_cast<LONG>(bits.size()), &bits[0]);
        all.push_back(bits);
        HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
        std::string emf_bytes(GetEnhMetaFileBits(emf, 0, nullptr), '\0');
        GetEnhMetaFileBits(emf, static_cast<UINT>(emf_bytes.size()), reinterpret_cast<BYTE*>(&emf_bytes[0]));
        all.push_back(emf_bytes);
        CloseClipboard();
        return all;
    };
    const std::vector<std::string> before = read_all();

    Clipboard_snapshot snapshot;
    ASSERT_TRUE(OpenClipboard(window.hwnd));
    ASSERT_TRUE(snapshot.take());
    const std::vector<UINT> formats = snapshot.formats();
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(std::count(formats.begin(), formats.end(), data_object), 0) << "it names a window, not data";
    for (UINT format : {UINT(CF_UNICODETEXT), private_format, UINT(CF_BITMAP), UINT(CF_ENHMETAFILE)})
        EXPECT_EQ(std::count(formats.begin(), formats.end(), format), 1) << format;

    ASSERT_TRUE(OpenClipboard(window.hwnd));
    EmptyClipboard();
    EXPECT_TRUE(snapshot.restore());
    CloseClipboard();
    EXPECT_TRUE(snapshot.empty());
    EXPECT_EQ(read_all(), before);

    EXPECT_EQ(format_kind(CF_OWNERDISPLAY, L""), Format_kind::none);
    EXPECT_EQ(format_kind(0x0210, L""), Format_kind::none) << "private range: the handle's kind is unknown";
    EXPECT_EQ(format_kind(CF_PALETTE, L""), Format_kind::palette);
    EXPECT_EQ(format_kind(CF_METAFILEPICT, L""), Format_kind::metafile_picture);
}

// The key events from the modifiers GetAsyncKeyState reports down: a mask key before any Alt or
// Win is released, each held modifier released (the extended ones marked so), then Ctrl+V.
TEST(Paste_input, ReleasesWhatIsHeldThenSendsCtrlV)
{
    struct Event {
        WORD key;
        bool up;
        bool extended;
    };
    const std::vector<Event> ctrl_v = {{VK_CONTROL, false, false}, {'V', false, false}, {'V', true, false},
                                       {VK_CONTROL, true, false}};
    const Event mask_down{paste_mask_key, false, false}, mask_up{paste_mask_key, true, false};
    struct Case {
        std::vector<int> held;
        std::vector<Event> before_ctrl_v;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{VK_LSHIFT}, {{VK_LSHIFT, true, false}}},
        {{VK_LCONTROL, VK_LWIN}, {mask_down, mask_up, {VK_LCONTROL, true, false}, {VK_LWIN, true, true}}},
        {{VK_RCONTROL, VK_RMENU}, {mask_down, mask_up, {VK_RCONTROL, true, true}, {VK_RMENU, true, true}}},
        {{VK_LMENU, VK_RSHIFT}, {mask_down, mask_up, {VK_RSHIFT, true, false}, {VK_LMENU, true, false}}},
        {{VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN},
         {mask_down, mask_up, {VK_LCONTROL, true, false}, {VK_RCONTROL, true, true}, {VK_LSHIFT, true, false},
          {VK_RSHIFT, true, false}, {VK_LMENU, true, false}, {VK_RMENU, true, true}, {VK_LWIN, true, true},
          {VK_RWIN, true, true}}},
        // The sides' common codes and other keys are not asked about.
        {{VK_CONTROL, VK_SHIFT, VK_MENU, 'V'}, {}},
    };
    for (const Case& c : cases) {
        const auto state = [&](int key) -> SHORT {
            return std::count(c.held.begin(), c.held.end(), key) ? SHORT(0x8001) : SHORT(1);
        };
        std::vector<Event> expected = c.before_ctrl_v;
        expected.insert(expected.end(), ctrl_v.begin(), ctrl_v.end());
        const std::vector<INPUT> events = paste_input(state);
        ASSERT_EQ(events.size(), expected.size()) << c.held.size();
        for (std::size_t i = 0; i < events.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(events[i].type, static_cast<DWORD>(INPUT_KEYBOARD));
            EXPECT_EQ(events[i].ki.wVk, expected[i].key);
            EXPECT_EQ((events[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0, expected[i].up);
            EXPECT_EQ((events[i].ki.dwFlags & KEYEVENTF_EXTENDEDKEY) != 0, expected[i].extended);
        }
    }
}

TEST(Hotkey, ReadsAsPeopleWriteItAndOnlyFitCombinationsAreStored)
{
    using P = Hotkey_problem;
    struct Case {
        Hotkey key;
        const char* text;
        Hotkey_problem problem;
    };
    const std::vector<Case> cases = {
        {ctrl_win_v, "Ctrl+Win+V", P::none},
        {{hotkey_control | hotkey_alt | hotkey_shift | hotkey_win, '7'}, "Ctrl+Alt+Shift+Win+7", P::none},
        {{hotkey_alt, VK_F4}, "Alt+F4", P::none},
        {{0, VK_F9}, "F9", P::none},
        {{hotkey_shift, VK_F24}, "Shift+F24", P::none},
        {{0, VK_PAUSE}, "Pause", P::none},
        {{hotkey_control, VK_NEXT}, "Ctrl+Page Down", P::none},
        {{hotkey_win, VK_NUMPAD3}, "Win+Num 3", P::none},
        {{hotkey_alt, VK_SPACE}, "Alt+Space", P::none},
        {{0, 'V'}, "V", P::unmodified},
        {{hotkey_shift, 'V'}, "Shift+V", P::unmodified},
        {{hotkey_shift, VK_RETURN}, "Shift+Enter", P::unmodified},
        {{hotkey_control | hotkey_win, 0}, "Ctrl+Win", P::no_key},
        // What the hotkey control makes of the Win key pressed in it.
        {{hotkey_alt, VK_LWIN}, nullptr, P::no_key},
        {{0, 0}, "", P::empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "Alt and the Win key");
        EXPECT_EQ(hotkey_problem(c.key), c.problem);
        Hotkey back;
        if (c.text) {
            EXPECT_EQ(hotkey_text(c.key), c.text);
            ASSERT_TRUE(unpack_hotkey(pack_hotkey(c.key), back));
            EXPECT_EQ(back, c.key);
        }
        const bool win = (c.key.modifiers & hotkey_win) != 0;
        EXPECT_EQ(hotkey_from_control(hotkey_control_value(c.key), win), c.key);
    }
    Hotkey untouched = ctrl_win_v;
    for (int stored : {-1, 0x1000, 0x7FFFFFFF, 0x0211 /* Ctrl+Ctrl */, 0x5B /* Win as the key */}) {
        EXPECT_FALSE(unpack_hotkey(stored, untouched)) << stored;
        EXPECT_EQ(untouched, ctrl_win_v);
    }
    EXPECT_EQ(pack_hotkey(ctrl_win_v), 0x0A56);
}

TEST_F(Clean_paste, AKeyAnotherProgramHoldsIsNamedOnceAndTheProgramGoesOnWithoutIt)
{
    Test_window holder;
    ASSERT_TRUE(RegisterHotKey(holder.hwnd, 7, MOD_CONTROL | MOD_WIN, 'V'));
    build();
    EXPECT_FALSE(frame->clean_paste_key().registered());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, Box_kind::warning);
    EXPECT_EQ(boxes[0].text, "Another program already uses Ctrl+Win+V, so Clean and Paste cannot have it.  "
                             "Choose another key with Options > Clean and Paste...");
    // The rest of the program runs, Clean and Paste from the command included.
    EXPECT_TRUE(frame->query_command(ID_CLEAN_AND_PASTE).enabled);
    UnregisterHotKey(holder.hwnd, 7);
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Clean Paste Key", 0), 0x0A56u) << "the user's key stays";

    // Held by the program while it runs, given back when it ends.
    boxes.clear();
    build();
    EXPECT_TRUE(frame->clean_paste_key().registered());
    EXPECT_FALSE(RegisterHotKey(holder.hwnd, 7, MOD_CONTROL | MOD_WIN, 'V'));
    close();
    EXPECT_TRUE(RegisterHotKey(holder.hwnd, 7, MOD_CONTROL | MOD_WIN, 'V'));
    UnregisterHotKey(holder.hwnd, 7);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Clean_paste, StoredSettingsAreCheckedWhenReadAndWrittenAtExit)
{
    const std::string settings = program_key("Settings");
    struct Case {
        int on, key, delay;
        int read_on, read_key, read_delay;
    };
    const std::vector<Case> cases = {
        {0, 0x0344 /* Ctrl+Alt+D */, 100, 0, 0x0344, 100},
        {1, 0x0078 /* F9 */, 10000, 1, 0x0078, 10000},
        {7, 0x0056 /* V alone */, 99, 1, 0x0A56, 500},
        {-1, 0x0A10 /* Shift as the key */, 10001, 1, 0x0A56, 500},
        {1, 0x0200 /* no key */, -5, 1, 0x0A56, 500},
        {1, 0x7FFFFFFF, 0x7FFFFFFF, 1, 0x0A56, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        put_setting("Clean Paste", c.on);
        put_setting("Clean Paste Key", c.key);
        put_setting("Clean Paste Delay", c.delay);
        build();
        EXPECT_EQ(context().settings.clean_paste, c.read_on);
        EXPECT_EQ(pack_hotkey(context().settings.clean_paste_key), c.read_key);
        EXPECT_EQ(run().delay(), c.read_delay);
        EXPECT_EQ(frame->clean_paste_key().registered(), c.read_on == 1);
        close();
        EXPECT_EQ(registry_int(settings, "Clean Paste", 9), static_cast<DWORD>(c.read_on));
        EXPECT_EQ(registry_int(settings, "Clean Paste Key", 9), static_cast<DWORD>(c.read_key));
        EXPECT_EQ(registry_int(settings, "Clean Paste Delay", 9), static_cast<DWORD>(c.read_delay));
    }
    EXPECT_TRUE(boxes.empty());
}

// Runs script once on the dialog that the call opens, while the call runs.
void with_dialog(const std::function<void()>& call, const std::function<void(HWND)>& script)
{
    static const std::function<void(HWND)>* current = nullptr;
    static bool done = false;
    current = &script;
    done = false;
    struct Tick {
        static void CALLBACK on(HWND, UINT, UINT_PTR, DWORD)
        {
            if (done) return;
            HWND dialog = nullptr;
            EnumThreadWindows(GetCurrentThreadId(), find, reinterpret_cast<LPARAM>(&dialog));
            if (!dialog) return;
            done = true;
            (*current)(dialog);
        }
        static BOOL CALLBACK find(HWND w, LPARAM found)
        {
            if (!IsWindowVisible(w) || window_class(w) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
        }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick::on);
    call();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(done) << "no dialog came up";
}

void set_key(HWND dialog, Hotkey key)
{
    SendMessageA(GetDlgItem(dialog, IDC_CLEAN_PASTE_KEY), HKM_SETHOTKEY, hotkey_control_value(key), 0);
    SendMessageA(GetDlgItem(dialog, IDC_CLEAN_PASTE_WIN), BM_SETCHECK,
                 (key.modifiers & hotkey_win) ? BST_CHECKED : BST_UNCHECKED, 0);
}

TEST_F(Clean_paste, TheDialogChecksTheKeyAndTheDelayAndTakesTheNewKey)
{
    build();
    Test_window holder;
    const Hotkey ctrl_alt_k{hotkey_control | hotkey_alt, 'K'}, ctrl_shift_f9{hotkey_control | hotkey_shift, VK_F9};
    ASSERT_TRUE(RegisterHotKey(holder.hwnd, 7, MOD_CONTROL | MOD_ALT, 'K'));
    std::vector<std::string> oops;
    with_dialog([&] { frame->execute_command(ID_OPT_CLEAN_PASTE); }, [&](HWND d) {
        EXPECT_EQ(window_text(d), "Clean and Paste");
        EXPECT_EQ(SendMessageA(GetDlgItem(d, IDC_CLEAN_PASTE_ON), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(hotkey_from_control(static_cast<WORD>(SendMessageA(GetDlgItem(d, IDC_CLEAN_PASTE_KEY), HKM_GETHOTKEY, 0, 0)),
                                      SendMessageA(GetDlgItem(d, IDC_CLEAN_PASTE_WIN), BM_GETCHECK, 0, 0) == BST_CHECKED),
                  ctrl_win_v);
        EXPECT_EQ(window_text(GetDlgItem(d, IDC_CLEAN_PASTE_DELAY)), "500");
        // While the dialog is open the key is free, to be pressed in its box.
        EXPECT_FALSE(frame->clean_paste_key().registered());
        struct Attempt {
            Hotkey key;
            const char* delay;
            int focus;
        };
        for (const Attempt& a : {Attempt{{hotkey_control | hotkey_win, 0}, "500", IDC_CLEAN_PASTE_KEY},
                                 Attempt{{hotkey_shift, 'V'}, "500", IDC_CLEAN_PASTE_KEY},
                                 Attempt{{0, 0}, "500", IDC_CLEAN_PASTE_KEY},
                                 Attempt{ctrl_shift_f9, "99", IDC_CLEAN_PASTE_DELAY},
                                 Attempt{ctrl_shift_f9, "", IDC_CLEAN_PASTE_DELAY},
                                 Attempt{ctrl_shift_f9, "10001", IDC_CLEAN_PASTE_DELAY},
                                 Attempt{ctrl_alt_k, "250", IDC_CLEAN_PASTE_KEY}}) {
            set_key(d, a.key);
            SetDlgItemTextA(d, IDC_CLEAN_PASTE_DELAY, a.delay);
            SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
            EXPECT_TRUE(IsWindowVisible(d)) << a.delay;
            EXPECT_EQ(GetFocus(), GetDlgItem(d, a.focus)) << a.delay;
        }
        set_key(d, ctrl_shift_f9);
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    std::vector<std::string> texts;
    for (const Box& box : boxes) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "The combination for Clean and Paste needs a key besides Ctrl, Alt, Shift and Win.",
                         "The key Shift+V alone would be taken from every program; combine it with Ctrl, Alt or Win.",
                         "Please choose a key for Clean and Paste: click into the Key box and press the combination.",
                         "The restore delay must be a number from 100 to 10000.",
                         "Please enter the number of milliseconds before the clipboard gets its content back.",
                         "The restore delay must be a number from 100 to 10000.",
                         "Another program already uses Ctrl+Alt+K, so Clean and Paste cannot have it.  Choose "
                         "another key with Options > Clean and Paste..."}));
    EXPECT_EQ(frame->clean_paste_key().hotkey(), ctrl_shift_f9);
    EXPECT_TRUE(frame->clean_paste_key().registered());
    EXPECT_EQ(run().delay(), 250) << "the delay of the last OK";
    EXPECT_TRUE(RegisterHotKey(holder.hwnd, 8, MOD_CONTROL | MOD_WIN, 'V')) << "the old key is free";
    UnregisterHotKey(holder.hwnd, 8);
    UnregisterHotKey(holder.hwnd, 7);

    // Off: the key goes; Cancel afterwards changes nothing.
    boxes.clear();
    with_dialog([&] { frame->execute_command(ID_OPT_CLEAN_PASTE); }, [&](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_CLEAN_PASTE_ON), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_CLEAN_PASTE_KEY)));
        set_key(d, {0, 0});
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(frame->clean_paste_key().registered());
    with_dialog([&] { frame->execute_command(ID_OPT_CLEAN_PASTE); }, [&](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_CLEAN_PASTE_ON), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(frame->clean_paste_key().registered());
    EXPECT_TRUE(boxes.empty());
    close();
    const std::string settings = program_key("Settings");
    EXPECT_EQ(registry_int(settings, "Clean Paste", 9), 0u);
    EXPECT_EQ(registry_int(settings, "Clean Paste Key", 9), static_cast<DWORD>(pack_hotkey(ctrl_shift_f9)))
        << "the key of the last OK, kept while off";
    EXPECT_EQ(registry_int(settings, "Clean Paste Delay", 9), 250u);
}

}  // namespace
