// The built-in help: the text format, the help embedded in the program (its topics and its
// examples against the engine), the help window on real windows, and the frame's help commands
// with Shift+F1 help mode.
#include "tests/win32/program_test_support.h"

#include <commctrl.h>

#include "app/help_text.h"
#include "app/help_window.h"
#include "engine/abbreviations.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "framework/application.h"
#include "framework/controls.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "settings/catalogue.h"

namespace {

using Kind = Help_block::Kind;

TEST(HelpText, TopicsParagraphsItemsAndExamples)
{
    const std::string source =
        "# comment\r\n"
        "text before any topic\r\n"
        "== 2 Getting Started\r\n"
        "First paragraph\r\n"
        "continues here.   \r\n"
        "\r\n"
        "To do:\r\n"
        "1. One\r\n"
        "2. Two\r\n"
        "goes on\r\n"
        "- Bullet\r\n"
        "\r\n"
        "  > quoted\r\n"
        "\r\n"
        "  after a blank line\r\n"
        "Then text.\r\n"
        "# a comment inside\r\n"
        "== 11 Auto Clean\n"
        "Only.\n"
        "== No number here\n"
        "==17 Tight";
    const std::vector<Help_topic> topics = parse_help(source);
    ASSERT_EQ(topics.size(), 4u);
    EXPECT_EQ(topics[1].context, 11);
    EXPECT_EQ(topics[1].title, "Auto Clean");
    EXPECT_EQ(topics[2].context, 0);
    EXPECT_EQ(topics[2].title, "No number here");
    EXPECT_EQ(topics[3].context, 17);
    EXPECT_EQ(topics[3].title, "Tight");
    EXPECT_TRUE(topics[3].blocks.empty());

    const Help_topic& topic = topics[0];
    EXPECT_EQ(topic.context, 2);
    EXPECT_EQ(topic.title, "Getting Started");
    ASSERT_EQ(topic.blocks.size(), 7u);
    const struct {
        Kind kind;
        const char* marker;
        const char* text;
    } expected[] = {{Kind::paragraph, "", "First paragraph continues here."},
                    {Kind::paragraph, "", "To do:"},
                    {Kind::item, "1.", "One"},
                    {Kind::item, "2.", "Two goes on"},
                    {Kind::item, help_bullet, "Bullet"},
                    {Kind::example, "", "> quoted\n\nafter a blank line"},
                    {Kind::paragraph, "", "Then text."}};
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(topic.blocks[i].kind, expected[i].kind) << i;
        EXPECT_EQ(topic.blocks[i].marker, expected[i].marker) << i;
        EXPECT_EQ(topic.blocks[i].text, expected[i].text) << i;
    }
    EXPECT_EQ(help_topic_text(topic),
              "Getting Started\r\n\r\nFirst paragraph continues here.\r\n\r\nTo do:\r\n\r\n"
              "1. One\r\n2. Two goes on\r\n\u2022 Bullet\r\n\r\n> quoted\r\n\r\nafter a blank "
              "line\r\n\r\nThen text.");
    EXPECT_EQ(find_help_topic(topics, 11), &topics[1]);
    EXPECT_EQ(find_help_topic(topics, 5), nullptr);
}

class Embedded_help : public ::testing::Test {
protected:
    const std::vector<Help_topic> topics = parse_help(embedded_help_text());
};

TEST_F(Embedded_help, EveryContextTheProgramAsksForHasItsTopic)
{
    ASSERT_GE(topics.size(), 10u);
    EXPECT_EQ(topics.front().context, HELP_CONTEXT_GETTING_STARTED);
    EXPECT_EQ(topics.front().title, "Getting Started");
    for (int context : {help_getting_started, help_cleaning_text, help_auto_clean, help_presets,
                        help_paragraph_options, help_spacing_options, help_list_options,
                        help_replace_options, help_files_and_settings, help_cleaning_options,
                        help_character_options, help_clean_and_paste, help_notification_icon}) {
        const Help_topic* topic = find_help_topic(topics, context);
        ASSERT_NE(topic, nullptr) << context;
        EXPECT_FALSE(topic->blocks.empty()) << context;
    }
    for (std::size_t i = 0; i < topics.size(); ++i) {
        EXPECT_NE(topics[i].context, 0) << topics[i].title;
        for (std::size_t j = i + 1; j < topics.size(); ++j)
            EXPECT_NE(topics[i].context, topics[j].context) << topics[j].title;
    }
}

TEST_F(Embedded_help, TheCleaningExampleIsWhatTheEngineMakesOfIt)
{
    const Help_topic* topic = find_help_topic(topics, help_cleaning_text);
    ASSERT_NE(topic, nullptr);
    std::vector<std::string> examples;
    for (const Help_block& block : topic->blocks)
        if (block.kind == Kind::example) examples.push_back(block.text);
    ASSERT_GE(examples.size(), 2u);
    const Abbreviations none;
    Line_list lines = text_to_line_list(examples[0]);
    Cleaner(builtin_preset(Builtin_preset::full), none).clean_lines(lines);
    EXPECT_EQ(line_list_to_text(lines), line_list_to_text(text_to_line_list(examples[1])));
}

class Help : public Program_recording_help {
protected:
    static void pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Application::current()->pre_translate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::string selected_entry(HWND list)
    {
        LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (index < 0) return "(none)";
        char text[256] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    void expect_showing(Help_window& help, int context, const std::string& title)
    {
        ASSERT_NE(help.current_topic(), nullptr);
        EXPECT_EQ(help.current_topic()->context, context);
        EXPECT_EQ(window_text(help.hwnd()), "Sorvane Help - " + title);
        EXPECT_EQ(selected_entry(help.topic_list()), title);
        EXPECT_EQ(window_text(help.page().hwnd()), help_topic_text(*help.current_topic()));
    }

};

TEST_F(Help, WindowOpensAtGettingStartedWithItsText)
{
    Help_window help(*app);
    ASSERT_TRUE(help.show(HELP_CONTEXT_GETTING_STARTED));
    EXPECT_TRUE(IsWindowVisible(help.hwnd()));
    EXPECT_EQ(GetWindow(help.hwnd(), GW_OWNER), nullptr) << "a window of its own";
    expect_showing(help, 2, "Getting Started");
    EXPECT_EQ(window_text(help.page().hwnd()).rfind("Getting Started\r\n\r\nSorvane cleans up "
                                                    "plain text", 0), 0u);
    EXPECT_EQ(static_cast<std::size_t>(SendMessageA(help.topic_list(), LB_GETCOUNT, 0, 0)),
              help.topics().size());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Help, TopicsChangeByContextByClickAndByKeyboard)
{
    Help_window help(*app);
    ASSERT_TRUE(help.show(help_auto_clean));
    expect_showing(help, help_auto_clean, "Auto Clean");
    for (int unknown : {0, 999}) {
        ASSERT_TRUE(help.show(unknown));
        expect_showing(help, 2, "Getting Started");
    }
    // A click on the fourth entry.
    HWND list = help.topic_list();
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    expect_showing(help, help.topics()[3].context, help.topics()[3].title);
    // The list has the focus: the arrow keys walk the topics.
    SetFocus(list);
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    expect_showing(help, help.topics()[4].context, help.topics()[4].title);
}

TEST_F(Help, EscapeClosesItAndItOpensAgainWhereItWasLeft)
{
    Help_window help(*app);
    ASSERT_TRUE(help.show(2));
    MoveWindow(help.hwnd(), 50, 60, 500, 400, TRUE);
    MSG escape{help.topic_list(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Application::current()->pre_translate(escape));
    pump();
    EXPECT_EQ(help.hwnd(), nullptr);
    EXPECT_EQ(help.current_topic(), nullptr);
    ASSERT_TRUE(help.show(help_presets));
    RECT r{};
    GetWindowRect(help.hwnd(), &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    expect_showing(help, help_presets, "Presets");
}

TEST_F(Help, PageWrapsToItsWidthAndScrollsWithinTheTopic)
{
    Help_window help(*app);
    ASSERT_TRUE(help.show(help_cleaning_text));
    Help_page& page = help.page();
    MoveWindow(help.hwnd(), 0, 0, 900, 700, TRUE);
    const int wide = page.content_height();
    MoveWindow(help.hwnd(), 0, 0, 420, 300, TRUE);
    const int narrow = page.content_height();
    EXPECT_GT(narrow, wide) << "narrower lines wrap into more of them";
    RECT client{};
    GetClientRect(page.hwnd(), &client);
    ASSERT_GT(narrow, client.bottom);

    SendMessageA(page.hwnd(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(page.scroll_position(), narrow - client.bottom);
    page.scroll_to(narrow * 2);
    EXPECT_EQ(page.scroll_position(), narrow - client.bottom);
    SendMessageA(page.hwnd(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(page.scroll_position(), 0);
    // The wheel turned over the list scrolls the text.
    SendMessageA(help.topic_list(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(page.scroll_position(), 0);
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(page.hwnd(), SB_VERT, &info);
    EXPECT_EQ(info.nPos, page.scroll_position());
    // Another topic starts at its top.
    help.show(2);
    EXPECT_EQ(page.scroll_position(), 0);
}

TEST(HelpPlacement, BesideTheDialogItWasOpenedFromOnTheSideWithTheMostRoom)
{
    const RECT work{0, 0, 1024, 768};
    const struct { RECT help, dialog, expected; } cases[] = {
        {{0, 0, 300, 300}, {400, 100, 700, 400}, {0, 0, 300, 300}},        // apart: stays
        {{172, 134, 852, 634}, {100, 100, 400, 400}, {400, 134, 1024, 634}},  // narrowed, right
        {{172, 134, 852, 634}, {700, 100, 1000, 400}, {20, 134, 700, 634}},   // left
        {{172, 134, 852, 634}, {343, 258, 681, 512}, {172, 0, 852, 258}},     // above, lowered
        {{172, 134, 852, 634}, {0, 0, 1024, 700}, {172, 568, 852, 768}},      // smallest height
    };
    for (const auto& c : cases) {
        const RECT r = help_rect_beside(c.help, c.dialog, work);
        EXPECT_TRUE(EqualRect(&r, &c.expected))
            << r.left << " " << r.top << " " << r.right << " " << r.bottom << " for dialog "
            << c.dialog.left << " " << c.dialog.top;
    }
}

TEST(HelpText, ExamplesWrapAtABlankOrInsideATooLongWordAndLoseNothingElse)
{
    const struct { const char* text; int columns; const char* wrapped; } cases[] = {
        {"Two things:  the dates", 12, "Two things:\nthe dates"},
        {"abcdefgh", 3, "abc\ndef\ngh"},
        {"short\n\n  indented  as is", 40, "short\n\n  indented  as is"},
        {"   abcdef", 4, "   a\nbcde\nf"},
        {"a b\ncc dd", 2, "a\nb\ncc\ndd"},
    };
    for (const auto& c : cases) EXPECT_EQ(wrap_example(c.text, c.columns), c.wrapped) << c.text;
}

TEST_F(Help, ExamplesWrapToThePageInsteadOfBeingCutAtItsRightEdge)
{
    Help_window help(*app);
    ASSERT_TRUE(help.show(help_cleaning_text));
    HDC dc = GetDC(help.page().hwnd());
    HFONT font = CreateFontA(point_size_to_height(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN, "Courier New");
    HGDIOBJ old = SelectObject(dc, font);
    for (int width : {420, 680, 900}) {
        MoveWindow(help.hwnd(), 0, 0, width, 400, TRUE);
        RECT client{};
        GetClientRect(help.page().hwnd(), &client);
        std::string words;
        for (const std::string& example : help.page().shown_examples()) {
            std::size_t start = 0;
            while (start <= example.size()) {
                std::size_t end = std::min(example.find('\n', start), example.size());
                SIZE size{};
                GetTextExtentPoint32A(dc, example.data() + start, static_cast<int>(end - start), &size);
                EXPECT_LE(size.cx, client.right - 2 * 14 - 3 * 5) << width << ": " << example.substr(start, end - start);
                start = end + 1;
            }
            for (char c : example) words += c == '\n' ? ' ' : c;
        }
        // Everything of the examples is still there, the colon of "Two things:" included.
        EXPECT_NE(words.find("Two things:"), std::string::npos) << width;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(help.page().hwnd(), dc);
}

class Frame_help : public Help {
protected:
    void SetUp() override
    {
        Help::SetUp();
        build();
    }
    void menu_command(int id)
    {
        SendMessageA(frame->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    void click(HWND window)
    {
        MSG down{window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5), 0, {0, 0}};
        EXPECT_TRUE(Application::current()->pre_translate(down));
    }
};

TEST_F(Frame_help, HelpCommandsAreEnabledOnlyWhileThereIsHelp)
{
    const int ids[] = {ID_HELP_FINDER, ID_HELP, ID_CONTEXT_HELP, ID_DEFAULT_HELP};
    Application::current()->set_help(nullptr);
    for (int id : ids) EXPECT_FALSE(frame->query_command(id).enabled) << id;
    Application::current()->set_help([this](int context) { helps.push_back(context); });
    for (int id : ids) EXPECT_TRUE(frame->query_command(id).enabled) << id;

    EXPECT_TRUE(frame->execute_command(ID_HELP_FINDER));
    SetFocus(view->hwnd());
    EXPECT_TRUE(frame->execute_command(ID_HELP));
    SetFocus(frame->toolbar.combo().hwnd());
    EXPECT_TRUE(frame->execute_command(ID_HELP));
    EXPECT_EQ(helps, (std::vector<int>{0, help_cleaning_text, help_presets}));
}

TEST_F(Frame_help, ShiftF1HelpModeAnswersTheNextCommandOrClickWithHelp)
{
    EXPECT_TRUE(frame->execute_command(ID_CONTEXT_HELP));
    EXPECT_TRUE(frame->in_help_mode());
    EXPECT_TRUE(frame->query_command(ID_CONTEXT_HELP).checked);
    SendMessageA(frame->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(view->hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HELP));

    // A menu command gives its help instead of running.
    menu_command(ID_OPT_AUTOCLEAN);
    EXPECT_TRUE(view->autoclean());
    EXPECT_FALSE(frame->in_help_mode());

    frame->execute_command(ID_CONTEXT_HELP);
    click(view->hwnd());
    frame->execute_command(ID_CONTEXT_HELP);
    click(frame->toolbar.combo().hwnd());
    frame->execute_command(ID_CONTEXT_HELP);
    menu_command(ID_FONT_SIZE_14);
    EXPECT_EQ(view->font_size(), 10);
    EXPECT_EQ(helps, (std::vector<int>{help_auto_clean, help_cleaning_text, help_presets,
                                       help_files_and_settings}));

    // Escape, or the same command again, ends the mode without help.
    frame->execute_command(ID_CONTEXT_HELP);
    MSG escape{view->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(Application::current()->pre_translate(escape));
    EXPECT_FALSE(frame->in_help_mode());
    frame->execute_command(ID_CONTEXT_HELP);
    menu_command(ID_CONTEXT_HELP);
    EXPECT_FALSE(frame->in_help_mode());
    EXPECT_EQ(helps.size(), 4u);
    // Out of help mode a click is just a click.
    MSG down{view->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0, 0, {0, 0}};
    EXPECT_FALSE(Application::current()->pre_translate(down));
}

TEST_F(Frame_help, HelpModeClickOnAToolbarButtonGivesItsCommandsTopicAndRunsNothing)
{
    Toolbar& bar = frame->toolbar;
    const int entries = bar.entry_count();
    auto index_of = [&](int command) {
        for (int i = 0; i < entries; ++i)
            if (bar.command_at(i) == command) return i;
        ADD_FAILURE() << "no button " << command;
        return 0;
    };
    auto click_entry = [&](int index, UINT message) {
        const RECT r = bar.entry_rect(index);
        MSG down{bar.hwnd(), message, MK_LBUTTON,
                 MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2), 0, {0, 0}};
        EXPECT_TRUE(Application::current()->pre_translate(down)) << index;
        MSG up = down;
        up.message = message == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
        // The release reaches the toolbar as it would, with no press to complete.
        if (!Application::current()->pre_translate(up)) DispatchMessageA(&up);
        pump();
    };
    view->set_text("> quoted   text");
    view->set_selection(0, 0);
    frame->on_idle();
    ASSERT_FALSE(frame->query_command(ID_EDIT_CLEAN_SELECTED).enabled);
    const struct { int command; int topic; } buttons[] = {
        {ID_EDIT_CLEAN_EVERYTHING, help_cleaning_text}, {ID_OPT_AUTOCLEAN, help_auto_clean},
        {ID_FILE_OPEN, help_files_and_settings}, {ID_EDIT_CLEAN_SELECTED, help_cleaning_text},
        {ID_HELP_FINDER, help_getting_started}};
    for (const auto& button : buttons) {
        frame->execute_command(ID_CONTEXT_HELP);
        frame->on_idle();
        click_entry(index_of(button.command), WM_LBUTTONDOWN);
        EXPECT_FALSE(frame->in_help_mode()) << button.command;
        frame->on_idle();
        EXPECT_FALSE(SendMessageA(bar.hwnd(), TB_ISBUTTONCHECKED, ID_CONTEXT_HELP, 0)) << button.command;
        EXPECT_FALSE(SendMessageA(bar.hwnd(), TB_ISBUTTONPRESSED, button.command, 0)) << button.command;
    }
    std::vector<int> expected;
    for (const auto& button : buttons) expected.push_back(button.topic);
    EXPECT_EQ(helps, expected);
    EXPECT_EQ(view->text(), "> quoted   text");
    EXPECT_TRUE(view->autoclean());
    EXPECT_TRUE(boxes.empty());

    // The "?" button itself ends the mode without help; a right click counts as a click.
    frame->execute_command(ID_CONTEXT_HELP);
    click_entry(index_of(ID_CONTEXT_HELP), WM_LBUTTONDOWN);
    EXPECT_FALSE(frame->in_help_mode());
    frame->execute_command(ID_CONTEXT_HELP);
    click_entry(index_of(ID_EDIT_CLEAN_EVERYTHING), WM_RBUTTONDOWN);
    EXPECT_EQ(helps.size(), expected.size() + 1);
    EXPECT_EQ(view->text(), "> quoted   text");
}

}  // namespace
