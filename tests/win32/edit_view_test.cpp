// The editor view on a real EDIT control inside the real main frame: command enabling, the
// line list through the control, the cleaning commands as single undoable changes, Auto Clean's
// switch, the font, the tab stops and "abbr.dat".
#include "tests/win32/program_test_support.h"

#include <commctrl.h>

#include "app/MainFrame.h"
#include "app/Sorvane.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "engine/unicode.h"
#include "resources/resource.h"

namespace {

class Editor : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        build();
    }
    void set_text(const std::string& text) { view->set_text(text); }
    std::string text() { return view->text(); }
    void select(int start, int end) { view->set_selection(start, end); }
    bool enabled(int id) { return frame->query_command(id).enabled; }
    bool run(int id) { return frame->execute_command(id); }
    // What the engine makes of text with the same settings and abbreviations.
    std::string cleaned(const std::string& source)
    {
        Line_list lines = text_to_line_list(source);
        Cleaner(store->current_settings(), view->abbreviations()).clean_lines(lines);
        return line_list_to_text(lines);
    }
};

const std::string messy = "> Hello there.  This is   a line\r\n> that was broken by   a mail "
                          "program.\r\n>\r\n> 1) first item\r\n> 2) second item\r\n";

TEST_F(Editor, CleanEverythingNeedsTextAndCleanSelectedASelection)
{
    EXPECT_FALSE(enabled(ID_EDIT_CLEAN_EVERYTHING));
    EXPECT_FALSE(enabled(ID_EDIT_CLEAN_SELECTED));
    set_text("a");
    EXPECT_TRUE(enabled(ID_EDIT_CLEAN_EVERYTHING));
    set_text("\r\n");  // one line break and nothing else
    EXPECT_TRUE(enabled(ID_EDIT_CLEAN_EVERYTHING));
    set_text("abc");
    select(1, 1);
    EXPECT_FALSE(enabled(ID_EDIT_CLEAN_SELECTED));
    EXPECT_FALSE(enabled(ID_EDIT_COPY));
    EXPECT_FALSE(enabled(ID_EDIT_CUT));
    select(1, 3);
    EXPECT_TRUE(enabled(ID_EDIT_CLEAN_SELECTED));
    EXPECT_TRUE(enabled(ID_EDIT_COPY));
    EXPECT_TRUE(enabled(ID_EDIT_CUT));
    set_text("");
    EXPECT_FALSE(enabled(ID_EDIT_CLEAN_EVERYTHING));

    // The same states reach the Edit menu when it opens.
    HMENU edit_menu = GetSubMenu(frame->menu(), 1);
    SendMessageA(frame->hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit_menu), 1);
    EXPECT_TRUE(GetMenuState(edit_menu, ID_EDIT_CLEAN_EVERYTHING, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(edit_menu, ID_EDIT_SELECT_ALL, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(Editor, CleanSelectedWithoutSelectionChangesNothing)
{
    set_text(messy);
    select(4, 4);
    EXPECT_FALSE(run(ID_EDIT_CLEAN_SELECTED));
    view->clean_selected();  // even when called directly
    EXPECT_EQ(text(), messy);
}

// Every character up to U+00FF, then Greek, CJK, a combining accent, a zero-width space and
// emoji outside the BMP (a surrogate pair each in the control).
TEST_F(Editor, EveryCharacterButNulSurvivesTheControlAndTheLineList)
{
    std::string source;
    for (char32_t c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n') append_utf8(source, c);
    source += "\u03a9mega \u4e2d\u6587 e\u0301 \u200b \U0001F600\U0001F44D";
    source = source + "\r\n\r\n" + source.substr(0, 40) + "\r\n";
    set_text(source);
    ASSERT_EQ(text(), source);
    Line_list lines = text_to_line_list(text());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[3], "");  // text ending in CR LF gives a final empty line
    select(0, -1);
    view->replace_selection(line_list_to_text(lines), true);
    EXPECT_EQ(text(), source);
}

TEST_F(Editor, LoneCarriageReturnsGoAndLoneLineFeedsBecomeCrLf)
{
    set_text("a\rb\nc");
    Line_list lines = text_to_line_list(text());
    EXPECT_EQ(lines, (Line_list{"ab", "c"}));
    EXPECT_EQ(line_list_to_text(lines), "ab\r\nc");
}

TEST_F(Editor, CleanEverythingIsOneUndoableChangeAndLeavesNothingSelected)
{
    set_text(messy);
    const std::string expected = cleaned(messy);
    ASSERT_NE(expected, messy);
    EXPECT_TRUE(run(ID_EDIT_CLEAN_EVERYTHING));
    EXPECT_EQ(text(), expected);
    int start = -2, end = -2;
    view->selection(start, end);
    EXPECT_EQ(start, end);
    EXPECT_TRUE(enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(run(ID_EDIT_UNDO));
    EXPECT_EQ(text(), messy);
}

TEST_F(Editor, CleanSelectedReplacesOnlyTheSelectionAndPutsTheCaretAfterIt)
{
    const std::string head = "Keep   this  line.\r\n";
    const std::string middle = "> quoted   text\r\n> more   of it\r\n";
    const std::string tail = "Keep   that  too.";
    set_text(head + middle + tail);
    const int start = static_cast<int>(head.size());
    select(start, start + static_cast<int>(middle.size()));
    // Whole lines keep their final line break, so the next line is not glued to them.
    const std::string replacement = cleaned(middle.substr(0, middle.size() - 2)) + "\r\n";
    EXPECT_TRUE(run(ID_EDIT_CLEAN_SELECTED));
    EXPECT_EQ(text(), head + replacement + tail);
    int s = 0, e = 0;
    view->selection(s, e);
    EXPECT_EQ(s, start + static_cast<int>(replacement.size()));
    EXPECT_EQ(e, s);
    EXPECT_TRUE(run(ID_EDIT_UNDO));
    EXPECT_EQ(text(), head + middle + tail);
}

TEST_F(Editor, ACleanedTextTooLongForTheEditorIsRefusedWithAWarning)
{
    // Full Cleaning puts a blank line between list items: the text grows.
    const std::string list = "1) first item\r\n2) second item";
    set_text(list);
    ASSERT_GT(cleaned(list).size(), list.size());
    view->set_limit(static_cast<int>(list.size()));
    EXPECT_TRUE(run(ID_EDIT_CLEAN_EVERYTHING));
    EXPECT_EQ(text(), list);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "WARNING");
    EXPECT_EQ(boxes[0].text,
              "Unable to complete this operation.  The maximum amount of text has been exceeded.");
}

// What the user sees while the control takes in the cleaned text: the message pane and the
// cursor at the moment EM_REPLACESEL arrives.
struct Seen_while_replacing {
    Status_bar* bar;
    std::vector<std::pair<std::string, bool>> seen;  // pane text, wait cursor

    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
    {
        auto* self = reinterpret_cast<Seen_while_replacing*>(data);
        if (msg == EM_REPLACESEL)
            self->seen.push_back({self->bar->text(0), GetCursor() == LoadCursor(nullptr, IDC_WAIT)});
        return DefSubclassProc(w, msg, wp, lp);
    }
};

TEST_F(Editor, LongCleansShowCleaningAndTheWaitCursorAndShortOnesDoNot)
{
    Seen_while_replacing watch{&frame->status_bar, {}};
    ASSERT_TRUE(SetWindowSubclass(view->hwnd(), Seen_while_replacing::proc, 7,
                                  reinterpret_cast<DWORD_PTR>(&watch)));
    const std::string idle = frame->status_bar.text(0);
    std::string long_text;
    while (long_text.size() < 100 * 1024) long_text += messy;
    set_text(messy);
    EXPECT_TRUE(run(ID_EDIT_CLEAN_EVERYTHING));
    set_text(long_text);
    EXPECT_TRUE(run(ID_EDIT_CLEAN_EVERYTHING));
    set_text(long_text);
    select(0, static_cast<int>(long_text.size()) - 4);
    EXPECT_TRUE(run(ID_EDIT_CLEAN_SELECTED));
    RemoveWindowSubclass(view->hwnd(), Seen_while_replacing::proc, 7);
    using Seen = std::pair<std::string, bool>;
    EXPECT_EQ(watch.seen, (std::vector<Seen>{{idle, false}, {"Cleaning\u2026", true}, {"Cleaning\u2026", true}}));
    EXPECT_EQ(frame->status_bar.text(0), idle) << "the idle prompt comes back";
    EXPECT_NE(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    EXPECT_EQ(text(), cleaned(long_text.substr(0, long_text.size() - 4)) + long_text.substr(long_text.size() - 4));
}

TEST_F(Editor, TextCutShortAtTheLimitIsReported)
{
    EXPECT_EQ(view->limit(), 1048575);
    view->set_limit(10);
    select(0, 0);
    view->replace_selection("more than ten characters", true);
    EXPECT_EQ(text().size(), 10u);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text,
              "Unable to complete this operation.  The maximum amount of text has been exceeded.");
}

TEST_F(Editor, CopyMarksTheClipboardChangeAsOurOwn)
{
    set_text("copy me please");
    select(0, 7);
    EXPECT_FALSE(view->monitor().gate().local_copy());
    const int notifications = view->monitor().notification_count();
    EXPECT_TRUE(run(ID_EDIT_COPY));
    // The copy's own notification came, was taken as local and cleared the mark; a processed
    // one would have left the chain for the run.
    EXPECT_EQ(view->monitor().notification_count(), notifications + 1);
    EXPECT_FALSE(view->monitor().gate().local_copy());
    EXPECT_TRUE(view->monitor().in_chain());
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "copy me");
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));

    EXPECT_TRUE(run(ID_EDIT_CUT));
    EXPECT_EQ(view->monitor().notification_count(), notifications + 2);
    EXPECT_TRUE(view->monitor().in_chain());
    EXPECT_EQ(text(), " please");
}

// Greek, CJK and emoji (surrogate pairs in the control, so its positions are not the text's
// bytes): both cleans give the engine's result, and Cut, Copy and Paste carry the text through
// the clipboard as UTF-16 unchanged.
TEST_F(Editor, UnicodeTextCleansAndTravelsThroughTheClipboard)
{
    const std::string head = "\U0001F600 \u4e2d\u6587   \u0395\u03bb\u03bb\u03ac\u03b4\u03b1.\r\n";
    const std::string quoted = "> \u03a9mega   \u65e5\u672c\u8a9e  text\r\n> \U0001F44D   more\r\n";
    const std::string source = head + quoted + "> 1) \u7b2c\u4e00\r\n> 2) \u0436\r\n";
    set_text(source);
    ASSERT_EQ(text(), source);
    EXPECT_TRUE(run(ID_EDIT_CLEAN_EVERYTHING));
    EXPECT_EQ(text(), cleaned(source));
    ASSERT_NE(text(), source);

    set_text(source);
    const int start = static_cast<int>(utf8_to_utf16(head).size());
    select(start, start + static_cast<int>(utf8_to_utf16(quoted).size()));
    EXPECT_TRUE(run(ID_EDIT_CLEAN_SELECTED));
    const std::string replacement = cleaned(quoted.substr(0, quoted.size() - 2)) + "\r\n";
    EXPECT_EQ(text(), head + replacement + source.substr(head.size() + quoted.size()));

    set_text(source);
    select(0, -1);
    EXPECT_TRUE(run(ID_EDIT_COPY));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::u16string copied(static_cast<const char16_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, utf8_to_utf16(source));
    EXPECT_TRUE(run(ID_EDIT_CUT));
    EXPECT_EQ(text(), "");
    EXPECT_TRUE(enabled(ID_EDIT_PASTE));
    EXPECT_TRUE(run(ID_EDIT_PASTE));
    EXPECT_TRUE(run(ID_EDIT_PASTE));
    EXPECT_EQ(text(), source + source);
}

TEST_F(Editor, AutoCleanSwitchShowsItsCheckAndPaneAndIsStoredOnlyWhenTheViewGoes)
{
    // No stored value: on.
    EXPECT_TRUE(view->autoclean());
    EXPECT_TRUE(frame->query_command(ID_OPT_AUTOCLEAN).checked);
    // The pane follows the switch at the idle refresh, as the toolbar does.
    app->on_idle();
    EXPECT_EQ(frame->status_bar.text(1), "AUTO");
    EXPECT_TRUE(run(ID_OPT_AUTOCLEAN));
    EXPECT_FALSE(frame->query_command(ID_OPT_AUTOCLEAN).checked);
    EXPECT_EQ(frame->status_bar.text(1), "AUTO") << "a state query paints nothing";
    app->on_idle();
    EXPECT_EQ(frame->status_bar.text(1), "");
    EXPECT_FALSE(registry_has(program_key("Settings"), "AutoClean"));
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "AutoClean", 99), 0u);
    EXPECT_EQ(registry_int(program_key("Settings"), "Font Size", 99), 10u);
}

TEST_F(Editor, StoredAutoCleanOtherThanZeroOrOneReadsAsOn)
{
    close();
    put_setting("AutoClean", 7);
    build();
    EXPECT_TRUE(view->autoclean());
    close();
    put_setting("AutoClean", 0);
    build();
    EXPECT_FALSE(view->autoclean());
}

TEST_F(Editor, FontIsCourierNewAtTheRequestedPointSize)
{
    view->set_font(24);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(view->hwnd(), WM_GETFONT, 0, 0));
    ASSERT_EQ(font, view->font());
    LOGFONTA description{};
    GetObjectA(font, sizeof description, &description);
    EXPECT_STREQ(description.lfFaceName, "Courier New");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(description.lfHeight, -MulDiv(24, GetDeviceCaps(screen, LOGPIXELSX), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(view->font_size(), 24);
}

// Where the character after a leading tab is drawn, for a given "spac-tab stops".
int x_after_tab(Cleaning_prefs& store, CSorvaneEditView& view, int width)
{
    Cleaning_settings values = store.current_settings();
    values.spac_tab_stops = width;
    store.set_current_settings(values);
    view.set_tab_stops_from_settings();
    view.set_text("\tx");
    LRESULT at_tab = SendMessageA(view.hwnd(), EM_POSFROMCHAR, 0, 0);
    LRESULT after = SendMessageA(view.hwnd(), EM_POSFROMCHAR, 1, 0);
    return static_cast<short>(LOWORD(after)) - static_cast<short>(LOWORD(at_tab));
}

TEST_F(Editor, TabStopsSpanTheSettingsNumberOfCharactersAndZeroCountsAsOne)
{
    const int one = x_after_tab(*store, *view, 1);
    EXPECT_GT(one, 0);
    EXPECT_EQ(x_after_tab(*store, *view, 0), one);
    const int eight = x_after_tab(*store, *view, 8);
    EXPECT_NEAR(eight, 8 * one, 8);
}

TEST_F(Editor, AbbreviationsComeFromTheProgramDirectory)
{
    EXPECT_EQ(view->abbreviations(), (Abbreviations{"Mr.", "e.g.", "Dr."}));
}

// A missing "abbr.dat" ends the program: the critical box, then the fatal exit with code 0.
TEST(AbbreviationFile, MissingFileIsFatalWithTheReinstallMessage)
{
    const std::string dir = temp_directory("sorvane_no_abbr");
    DeleteFileA((dir + "\\abbr.dat").c_str());
    const Child_result child = run_child_test("AbbreviationFileChild", dir + "\\sv_log.txt",
                                              {{"SORVANE_CHILD_DIR", dir}});
    expect_fatal_exit(child);
    const std::string expected_end = "CRITICAL: Unable to open file \"" + dir +
                                     "\\abbr.dat\".  You may need to reinstall the program.\r\n"
                                     "<<< EXITING DUE TO FATAL ERROR >>>\r\n";
    ASSERT_GE(child.log.size(), expected_end.size()) << child.log;
    EXPECT_EQ(child.log.substr(child.log.size() - expected_end.size()), expected_end);
}

TEST(AbbreviationFileChild, DISABLED_Run)
{
    char dir[MAX_PATH];
    if (!GetEnvironmentVariableA("SORVANE_CHILD_DIR", dir, MAX_PATH)) GTEST_SKIP();
    set_box_recorder([](const Box&) {});
    Start_options options;
    options.company = test_company;
    options.program_directory = dir;
    options.splash = options.show_window = options.start_dialogs = false;
    CSorvaneApp app(options);
    app.start();
    ADD_FAILURE() << "still running";
}

}  // namespace
