// The main frame assembled as at start-up: its rectangle, bars and font size restored from the
// registry, and stored again when it closes.
#include "tests/win32/program_test_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include "resources/resource.h"

namespace {

using MainFrame = Program;

// Its own visibility (the frame itself stays hidden in these tests).
bool shown(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT window_rect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

TEST_F(MainFrame, FirstStartCentresTheDefaultWindowOnTheWorkArea)
{
    build();
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(work.right, 1024);
    ASSERT_EQ(work.bottom, 768);
    RECT r = window_rect(frame->hwnd());
    EXPECT_EQ(r.left, 192);
    EXPECT_EQ(r.top, 174);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 420);
    EXPECT_EQ(frame->status_bar.text(0), "Ready");
}

TEST_F(MainFrame, ClosingStoresThePlacementAndTheNextStartRestoresIt)
{
    build();
    MoveWindow(frame->hwnd(), 30, 40, 500, 350, TRUE);
    close();
    const std::string settings = program_key("Settings");
    EXPECT_EQ(registry_int(settings, "Window X", 0), 30u);
    EXPECT_EQ(registry_int(settings, "Window Y", 0), 40u);
    EXPECT_EQ(registry_int(settings, "Window Width", 0), 500u);
    EXPECT_EQ(registry_int(settings, "Window Height", 0), 350u);
    EXPECT_EQ(registry_int(settings, "Window Maximized", 9), 0u);
    EXPECT_EQ(registry_int(settings, "Show Toolbar", 9), 1u);
    EXPECT_EQ(registry_int(settings, "Show Status Bar", 9), 1u);
    build();
    RECT r = window_rect(frame->hwnd());
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 500);
}

TEST_F(MainFrame, MaximizedWindowComesBackMaximizedOverItsNormalRectangle)
{
    build();
    MoveWindow(frame->hwnd(), 30, 40, 500, 350, TRUE);
    ShowWindow(frame->hwnd(), SW_MAXIMIZE);
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Window Maximized", 9), 1u);
    EXPECT_EQ(registry_int(program_key("Settings"), "Window Width", 0), 500u);
    build();
    EXPECT_TRUE(IsZoomed(frame->hwnd()));
}

TEST_F(MainFrame, HiddenToolbarStartsHiddenAndOneToggleShowsAndStoresIt)
{
    put_setting("Show Toolbar", 0);
    build();
    EXPECT_FALSE(shown(frame->toolbar.hwnd()));
    EXPECT_FALSE(frame->query_command(ID_VIEW_TOOLBAR).checked);
    EXPECT_TRUE(frame->query_command(ID_VIEW_STATUS_BAR).checked);
    EXPECT_TRUE(frame->execute_command(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(shown(frame->toolbar.hwnd()));
    EXPECT_TRUE(frame->query_command(ID_VIEW_TOOLBAR).checked);
    EXPECT_TRUE(frame->execute_command(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(shown(frame->status_bar.hwnd()));
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Show Toolbar", 9), 1u);
    EXPECT_EQ(registry_int(program_key("Settings"), "Show Status Bar", 9), 0u);
}

TEST_F(MainFrame, FontSizeOutsideTheMenuChecksOther)
{
    put_setting("Font Size", 9);
    build();
    EXPECT_EQ(view->font_size(), 9);
    EXPECT_TRUE(frame->query_command(ID_FONT_SIZE_OTHER).checked);
    EXPECT_FALSE(frame->query_command(ID_FONT_SIZE_10).checked);
}

TEST_F(MainFrame, FontSizeOutOfRangeOrAbsentIsTen)
{
    for (int stored : {0, 501, -1}) {
        if (stored != -1) put_setting("Font Size", stored);
        build();
        EXPECT_EQ(view->font_size(), 10) << stored;
        EXPECT_TRUE(frame->query_command(ID_FONT_SIZE_10).checked) << stored;
        EXPECT_FALSE(frame->query_command(ID_FONT_SIZE_OTHER).checked) << stored;
        close();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, program_key("Settings").c_str(), "Font Size");
    }
}

TEST_F(MainFrame, FontSizeMenuMovesTheCheckAndTheSizeIsStoredAtClose)
{
    build();
    EXPECT_TRUE(frame->execute_command(ID_FONT_SIZE_18));
    EXPECT_EQ(view->font_size(), 18);
    HMENU view_menu = GetSubMenu(frame->menu(), 2);
    HMENU sizes = GetSubMenu(view_menu, 2);
    ASSERT_NE(sizes, nullptr);
    SendMessageA(frame->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sizes), 2);
    int checked = 0;
    for (int i = 0; i < GetMenuItemCount(sizes); ++i)
        if (GetMenuState(sizes, i, MF_BYPOSITION) & MF_CHECKED) ++checked;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(GetMenuState(sizes, ID_FONT_SIZE_18, MF_BYCOMMAND) & MF_CHECKED);
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Font Size", 0), 18u);
}

TEST_F(MainFrame, ToolbarHasTheEighteenEntriesWithThePresetSlotLast)
{
    build();
    const int expected[] = {ID_OPT_AUTOCLEAN, 0, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
                            ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
                            ID_EDIT_CLEAN_EVERYTHING, ID_EDIT_CLEAN_SELECTED, 0, ID_HELP_FINDER,
                            ID_CONTEXT_HELP, 0};
    ASSERT_EQ(frame->toolbar.entry_count(), 18);
    for (int i = 0; i < 17; ++i) EXPECT_EQ(frame->toolbar.command_at(i), expected[i]) << i;
    RECT slot = frame->toolbar.entry_rect(17);
    EXPECT_EQ(slot.right - slot.left, 200);
    RECT combo{};
    GetWindowRect(frame->toolbar.combo().hwnd(), &combo);
    MapWindowPoints(nullptr, frame->toolbar.hwnd(), reinterpret_cast<POINT*>(&combo), 2);
    EXPECT_EQ(combo.left, slot.left);
    EXPECT_EQ(combo.right - combo.left, 200);
    EXPECT_GE(combo.top, slot.top);
    EXPECT_LE(combo.bottom, slot.bottom + 1);
}

// Idle refreshes until the icon is in the notification area: the shell may still be starting.
bool icon_appears(CMainFrame& frame)
{
    for (int i = 0; i < 100 && !frame.notification_icon().is_shown(); ++i) {
        frame.on_idle();
        Sleep(100);
    }
    return frame.notification_icon().is_shown();
}

// Whether the shell holds the frame's icon: only an icon it holds can be changed.
bool shell_holds_icon(HWND frame)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = frame;
    data.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void pump_until_gone(HWND window)
{
    MSG msg{};
    for (int i = 0; i < 200 && IsWindow(window); ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

TEST_F(MainFrame, NotificationIconFollowsAutoCleanOffersItsMenuAndComesBackAfterExplorer)
{
    build();
    ASSERT_TRUE(icon_appears(*frame));
    EXPECT_TRUE(shell_holds_icon(frame->hwnd()));
    EXPECT_EQ(frame->notification_icon().tip(),
              "Sorvane \xE2\x80\x94 Auto Clean on\nClean and Paste: Ctrl+Win+V");
    EXPECT_TRUE(frame->execute_command(ID_OPT_AUTOCLEAN));
    frame->on_idle();
    EXPECT_EQ(frame->notification_icon().tip(),
              "Sorvane \xE2\x80\x94 Auto Clean off\nClean and Paste: Ctrl+Win+V");

    HMENU menu = LoadMenuW(module_instance(), MAKEINTRESOURCEW(IDR_NOTIFY_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    const UINT items[] = {ID_OPT_AUTOCLEAN, ID_NOTIFY_CLEAN_AND_PASTE, 0, ID_NOTIFY_SHOW, ID_APP_EXIT};
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(GetMenuItemID(popup, i), items[i] ? items[i] : 0u) << i;
    SendMessageW(frame->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_FALSE(GetMenuState(popup, ID_OPT_AUTOCLEAN, MF_BYCOMMAND) & MF_CHECKED);
    for (UINT id : items)
        if (id) {
            EXPECT_FALSE(GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) << id;
        }
    DestroyMenu(menu);

    // Explorer restarting forgets every icon and says so to every top-level window.
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof gone;
    gone.hWnd = frame->hwnd();
    gone.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
    ASSERT_FALSE(shell_holds_icon(frame->hwnd()));
    SendMessageW(frame->hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(shell_holds_icon(frame->hwnd()));
}

TEST_F(MainFrame, KeepingRunningHidesTheClosedWindowUntilTheIconShowsItOrExitEndsTheProgram)
{
    build();
    ASSERT_TRUE(icon_appears(*frame));
    HWND window = frame->hwnd();
    ShowWindow(window, SW_SHOW);
    EXPECT_FALSE(frame->query_command(ID_OPT_KEEP_RUNNING).checked);
    EXPECT_TRUE(frame->execute_command(ID_OPT_KEEP_RUNNING));
    EXPECT_TRUE(frame->query_command(ID_OPT_KEEP_RUNNING).checked);

    SendMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(shell_holds_icon(window));
    SendMessageW(window, Notification_icon::callback_message, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(IsWindowVisible(window));

    EXPECT_TRUE(frame->execute_command(ID_APP_EXIT));
    pump_until_gone(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(shell_holds_icon(window));
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Keep Running In Notification Area", 9), 1u);
}

}  // namespace
