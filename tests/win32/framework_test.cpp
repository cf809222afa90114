// The framework with real windows under Wine: binding, the command route and the one state
// function behind menus, toolbar and accelerators, data exchange, modeless dialogs, the status
// bar and the profile on the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "framework/application.h"
#include "framework/dialog.h"
#include "framework/edit_view.h"
#include "framework/frame_window.h"
#include "framework/status_bar.h"
#include "framework/toolbar.h"
#include "framework/view.h"
#include "tests/win32/framework_test_ids.h"

namespace {

// Which ids a target handles, which of them it disables or checks; runs are logged by name.
struct Handling {
    std::string name;
    std::set<int> ids, disabled, checked;
    std::vector<std::string>* log = nullptr;

    bool state(int id, Command_state& s) const
    {
        if (!ids.count(id)) return false;
        if (disabled.count(id)) s.enabled = false;
        if (checked.count(id)) s.checked = true;
        return true;
    }
    void run(int id) const { log->push_back(name + " " + std::to_string(id)); }
};

class Test_app : public Application {
public:
    Handling handling;
    bool command_state(int id, Command_state& s) override { return handling.state(id, s); }
    void on_command(int id) override { handling.run(id); }

protected:
    bool start() override { return true; }
};

class Test_view : public Edit_view {
public:
    Handling handling;
    bool command_state(int id, Command_state& s) override { return handling.state(id, s); }
    void on_command(int id) override { handling.run(id); }
};

class Test_document : public Document {
public:
    Handling handling;
    bool command_state(int id, Command_state& s) override { return handling.state(id, s); }
    void on_command(int id) override { handling.run(id); }
};

class Test_frame : public Frame_window {
public:
    Handling handling;
    Toolbar toolbar;
    Status_bar status;
    HWND bound_at_create = nullptr;
    bool command_state(int id, Command_state& s) override { return handling.state(id, s); }
    void on_command(int id) override { handling.run(id); }

protected:
    bool on_create() override
    {
        bound_at_create = hwnd();
        if (!toolbar.create(hwnd(), WS_VISIBLE, 1, IDR_TEST_FRAME,
                            {ID_ALL_HANDLE, 0, ID_DISABLED, ID_CHECKED, ID_NOBODY}))
            return false;
        if (!status.create(hwnd(), WS_VISIBLE, 2, {{ID_PANE_SHORT, 0}, {ID_PANE_LONG, 0}}))
            return false;
        set_bars(&toolbar, &status);
        return true;
    }
};

Test_app& app()
{
    static Test_app the_app;
    return the_app;
}

class Route : public ::testing::Test {
protected:
    void SetUp() override
    {
        set_box_recorder([this](const Box& box) { boxes.push_back(box); });
        Handling* all[] = {&view.handling, &document.handling, &frame.handling, &app().handling};
        const char* names[] = {"view", "document", "frame", "application"};
        for (int i = 0; i < 4; ++i) {
            *all[i] = Handling{};
            all[i]->name = names[i];
            all[i]->log = &log;
        }
        // ID_ALL_HANDLE everywhere; each further id one target fewer from the front.
        view.handling.ids = {ID_ALL_HANDLE, ID_DISABLED};
        view.handling.disabled = {ID_DISABLED};
        document.handling.ids = {ID_ALL_HANDLE, ID_DOC_FRAME_APP};
        frame.handling.ids = {ID_ALL_HANDLE, ID_DOC_FRAME_APP, ID_FRAME_APP, ID_CHECKED};
        frame.handling.checked = {ID_CHECKED};
        app().handling.ids = {ID_ALL_HANDLE, ID_DOC_FRAME_APP, ID_FRAME_APP, ID_APP_ONLY,
                              ID_DISABLED};
        ASSERT_TRUE(frame.create_frame(app(), "FrameworkTestFrame", IDR_TEST_FRAME, document, view));
        app().set_main_frame(&frame);
    }
    void TearDown() override
    {
        app().set_main_frame(nullptr);
        set_box_recorder(nullptr);
    }
    void command(int id) { SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::vector<std::string> log;
    std::vector<Box> boxes;
    Test_document document;
    Test_view view;
    Test_frame frame;
};

TEST_F(Route, GoesViewThenDocumentThenFrameThenApplication)
{
    command(ID_ALL_HANDLE);
    command(ID_DOC_FRAME_APP);
    command(ID_FRAME_APP);
    command(ID_APP_ONLY);
    EXPECT_EQ(log, (std::vector<std::string>{"view 3001", "document 3002", "frame 3003",
                                             "application 3004"}));
}

TEST_F(Route, FirstHandlerDecidesAndADisabledOneStopsTheCommand)
{
    // The view disables ID_DISABLED; the application would run it but is never asked.
    EXPECT_FALSE(frame.query_command(ID_DISABLED).enabled);
    EXPECT_FALSE(frame.execute_command(ID_DISABLED));
    command(ID_DISABLED);
    EXPECT_TRUE(log.empty());
}

TEST_F(Route, CommandWithoutHandlerIsDisabled)
{
    Command_state s = frame.query_command(ID_NOBODY);
    EXPECT_FALSE(s.enabled);
    command(ID_NOBODY);
    EXPECT_TRUE(log.empty());
}

TEST_F(Route, ObjectsAreBoundBeforeCreationAndReleasedWithTheWindow)
{
    HWND window = frame.hwnd();
    EXPECT_EQ(frame.bound_at_create, window);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&frame));
    // The view is the EDIT control itself, a child of the frame.
    char cls[32] = "";
    GetClassNameA(view.hwnd(), cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, "edit");
    EXPECT_EQ(GetParent(view.hwnd()), window);
    DestroyWindow(window);
    EXPECT_EQ(frame.hwnd(), nullptr);
    EXPECT_EQ(view.hwnd(), nullptr);
    // The main frame gone, the message loop is told to end.
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(Route, OneStateFeedsMenuItems)
{
    HMENU popup = GetSubMenu(frame.menu(), 0);
    ASSERT_NE(popup, nullptr);
    SendMessageA(frame.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, 0));
    auto state = [&](int id) { return GetMenuState(popup, id, MF_BYCOMMAND); };
    EXPECT_FALSE(state(ID_ALL_HANDLE) & (MF_GRAYED | MF_CHECKED));
    EXPECT_TRUE(state(ID_DISABLED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_CHECKED) & MF_CHECKED);
    EXPECT_FALSE(state(ID_CHECKED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_NOBODY) & MF_GRAYED);

    // States follow the targets each time the menu opens.
    view.handling.disabled.clear();
    frame.handling.checked.clear();
    SendMessageA(frame.hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, 0));
    EXPECT_FALSE(state(ID_DISABLED) & MF_GRAYED);
    EXPECT_FALSE(state(ID_CHECKED) & MF_CHECKED);
}

TEST_F(Route, OneStateFeedsToolbarButtonsWhenIdle)
{
    auto tb_state = [&](int id) {
        return SendMessageA(frame.toolbar.hwnd(), TB_GETSTATE, id, 0);
    };
    app().on_idle();
    EXPECT_TRUE(tb_state(ID_ALL_HANDLE) & TBSTATE_ENABLED);
    EXPECT_FALSE(tb_state(ID_DISABLED) & TBSTATE_ENABLED);
    EXPECT_TRUE(tb_state(ID_CHECKED) & TBSTATE_CHECKED);
    EXPECT_FALSE(tb_state(ID_NOBODY) & TBSTATE_ENABLED);
    view.handling.disabled.clear();
    frame.handling.checked.clear();
    app().on_idle();
    EXPECT_TRUE(tb_state(ID_DISABLED) & TBSTATE_ENABLED);
    EXPECT_FALSE(tb_state(ID_CHECKED) & TBSTATE_CHECKED);
}

MSG key_down(HWND window, WPARAM key)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1 | (MapVirtualKeyA(static_cast<UINT>(key), 0) << 16);
    return msg;
}

TEST_F(Route, DisabledCommandIgnoresItsAccelerator)
{
    MSG f5 = key_down(view.hwnd(), VK_F5);  // ID_DISABLED
    MSG f6 = key_down(view.hwnd(), VK_F6);  // ID_CHECKED, enabled
    app().pre_translate(f5);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(app().pre_translate(f6));
    EXPECT_EQ(log, (std::vector<std::string>{"frame 3006"}));
    // Once enabled, the same key runs it.
    view.handling.disabled.clear();
    app().pre_translate(f5);
    EXPECT_EQ(log.back(), "view 3005");
}

TEST_F(Route, ToolTipAndPromptComeFromTheCommandsString)
{
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = nullptr;
    info.hdr.idFrom = ID_CHECKED;
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(frame.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Checked tip");
    EXPECT_EQ(frame.status.text(0), "Prompt of the checked command");
}

TEST_F(Route, StatusPanesAreAsWideAsTheirStrings)
{
    const int short_pane = frame.status.pane_width(1);
    const int long_pane = frame.status.pane_width(2);
    EXPECT_GT(short_pane, 0);
    EXPECT_GT(long_pane, short_pane + 40);
    MoveWindow(frame.hwnd(), 0, 0, 600, 400, TRUE);
    int edges[3] = {};
    ASSERT_EQ(SendMessageA(frame.status.hwnd(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    RECT client{};
    GetClientRect(frame.status.hwnd(), &client);
    EXPECT_EQ(edges[1] - edges[0], short_pane);
    // The last pane also holds the size grip.
    EXPECT_EQ(client.right - edges[1], long_pane + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(edges[2], -1);
}

TEST_F(Route, ViewFillsTheClientAreaBetweenTheBars)
{
    MoveWindow(frame.hwnd(), 0, 0, 500, 400, TRUE);
    RECT client{}, bar{}, status{}, view_rect{};
    GetClientRect(frame.hwnd(), &client);
    GetWindowRect(frame.toolbar.hwnd(), &bar);
    GetWindowRect(frame.status.hwnd(), &status);
    GetWindowRect(view.hwnd(), &view_rect);
    EXPECT_EQ(view_rect.top, bar.bottom);
    EXPECT_EQ(view_rect.bottom, status.top);
    EXPECT_EQ(view_rect.right - view_rect.left, client.right);
    frame.show_bar(frame.toolbar.hwnd(), false);
    GetWindowRect(view.hwnd(), &view_rect);
    POINT origin{0, 0};
    ClientToScreen(frame.hwnd(), &origin);
    EXPECT_EQ(view_rect.top, origin.y);
}

// Nothing escapes a window procedure: running out of memory drops the message with a warning.
class Throwing_window : public Window {
public:
    int handled = 0;

protected:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_APP) throw std::bad_alloc();
        if (msg == WM_APP + 1) return ++handled;
        return Window::handle(msg, wp, lp);
    }
};

TEST(Binding, EscapingOutOfMemoryIsReportedAndTheWindowLivesOn)
{
    std::vector<Box> boxes;
    set_box_recorder([&](const Box& b) { boxes.push_back(b); });
    ASSERT_TRUE(Window::register_class("ThrowingTestWindow", nullptr, nullptr));
    Throwing_window w;
    ASSERT_TRUE(w.create("ThrowingTestWindow", "", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(SendMessageA(w.hwnd(), WM_APP, 0, 0), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "WARNING");
    EXPECT_EQ(SendMessageA(w.hwnd(), WM_APP + 1, 0, 0), 1);
    set_box_recorder(nullptr);
}

TEST(Binding, DestroyingTheObjectFirstTakesItsWindowAlong)
{
    ASSERT_TRUE(Window::register_class("ThrowingTestWindow", nullptr, nullptr));
    auto* w = new Throwing_window;
    ASSERT_TRUE(w->create("ThrowingTestWindow", "", WS_OVERLAPPED, 0, 0, 0, 10, 10, nullptr, nullptr));
    HWND window = w->hwnd();
    delete w;
    EXPECT_FALSE(IsWindow(window));
}

// A dialog whose number field must not be empty.
class Number_dialog : public Dialog {
public:
    Number_dialog() : Dialog(IDD_TEST_DIALOG) {}
    std::string number;
    int flag = 1;
    bool checked_at_start = false;
    bool looked_after_failure = false;
    bool focus_on_number_after_failure = false;

protected:
    bool on_init() override
    {
        checked_at_start = IsDlgButtonChecked(hwnd(), IDC_TEST_FLAG) == BST_CHECKED;
        // Like a person: OK on the empty field, then look, type, OK again.
        PostMessageA(hwnd(), WM_COMMAND, IDOK, 0);
        PostMessageA(hwnd(), WM_APP, 0, 0);
        return true;
    }
    void exchange(Data_exchange& dx) override
    {
        dx.text(IDC_TEST_NUMBER, number);
        dx.check(IDC_TEST_FLAG, flag);
        if (dx.saving() && number.empty()) dx.fail(IDC_TEST_NUMBER);
    }
    INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_APP) {
            looked_after_failure = true;
            focus_on_number_after_failure = GetFocus() == item(IDC_TEST_NUMBER);
            SetDlgItemTextA(hwnd(), IDC_TEST_NUMBER, "42");
            CheckDlgButton(hwnd(), IDC_TEST_FLAG, BST_UNCHECKED);
            PostMessageA(hwnd(), WM_COMMAND, IDOK, 0);
            return TRUE;
        }
        return Dialog::handle(msg, wp, lp);
    }
};

TEST(DataExchange, LoadsMembersAndAFailedCheckKeepsTheDialogOpen)
{
    Number_dialog dialog;
    dialog.number = "";
    EXPECT_EQ(dialog.run_modal(nullptr), IDOK);
    EXPECT_TRUE(dialog.checked_at_start);
    // The first OK did not end the dialog: the look and the second OK happened in it.
    EXPECT_TRUE(dialog.looked_after_failure);
    EXPECT_TRUE(dialog.focus_on_number_after_failure);
    EXPECT_EQ(dialog.number, "42");
    EXPECT_EQ(dialog.flag, 0);
}

class Plain_dialog : public Dialog {
public:
    Plain_dialog() : Dialog(IDD_TEST_DIALOG) {}
};

TEST(ModelessDialog, GetsItsKeysFromTheLoopAndLeavesIt)
{
    Plain_dialog dialog;
    ASSERT_TRUE(dialog.create_modeless(nullptr, app()));
    HWND window = dialog.hwnd();
    // Escape, through the loop's pre-translation, is the dialog's Cancel.
    MSG escape = key_down(window, VK_ESCAPE);
    EXPECT_TRUE(app().pre_translate(escape));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.hwnd(), nullptr);
    MSG stray = key_down(window, VK_ESCAPE);
    EXPECT_FALSE(app().pre_translate(stray));
}

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\FrameworkTestCompany"); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\FrameworkTestCompany"); }
    Profile profile{"FrameworkTestCompany", "App"};
};

TEST_F(ProfileTest, RoundTripsThroughTheRealRegistry)
{
    EXPECT_EQ(profile.get_int("Settings", "Font Size", 10), 10);
    EXPECT_EQ(profile.get_string("Settings", "Current Preset", "Full Cleaning"), "Full Cleaning");
    ASSERT_TRUE(profile.write_int("Settings", "Font Size", -3));
    ASSERT_TRUE(profile.write_string("Settings", "Current Preset", "My \"odd\" preset"));
    EXPECT_EQ(profile.get_int("Settings", "Font Size", 10), -3);
    EXPECT_EQ(profile.get_string("Settings", "Current Preset", ""), "My \"odd\" preset");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\FrameworkTestCompany\\App\\Settings", 0,
                            KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExA(key, "Font Size", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_DWORD));
    EXPECT_EQ(value, DWORD(-3));
    RegCloseKey(key);
}

TEST_F(ProfileTest, ValueOfAnotherTypeReadsAsTheFallback)
{
    ASSERT_TRUE(profile.write_string("Settings", "Font Size", "12"));
    ASSERT_TRUE(profile.write_int("Settings", "Current Preset", 5));
    EXPECT_EQ(profile.get_int("Settings", "Font Size", 10), 10);
    EXPECT_EQ(profile.get_string("Settings", "Current Preset", "Full Cleaning"), "Full Cleaning");
}

}  // namespace
