// The small dialogs run modally from their real templates, driven through their real controls
// by a timer while they are open, as a person would click and type; their callers in the main
// frame and the editor; boxes recorded through the diagnostics seam.
#include "tests/win32/program_test_support.h"

#include <functional>
#include <map>
#include <set>

#include "app/Sorvane.h"
#include "dialogs/D_auto_clean_warning.h"
#include "dialogs/D_font_size.h"
#include "dialogs/D_welcome.h"
#include "framework/application.h"
#include "framework/controls.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"

namespace {

// Answers the dialogs that come up on this thread while a call runs: each one, once shown, gets
// the script for its caption, or is cancelled when it has none.
class Dialog_answers {
public:
    using Script = std::function<void(HWND)>;
    void on(const std::string& caption, Script script) { scripts_[caption] = std::move(script); }

    void run(const std::function<void()>& call)
    {
        active_ = this;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, tick);
        call();
        KillTimer(nullptr, timer);
        active_ = nullptr;
    }

    // The captions of the dialogs that came up, in order.
    std::vector<std::string> seen;

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (active_ && !active_->busy_) active_->answer();
    }

    void answer()
    {
        std::vector<HWND> shown;
        EnumThreadWindows(GetCurrentThreadId(), collect_dialog, reinterpret_cast<LPARAM>(&shown));
        busy_ = true;
        for (HWND dialog : shown) {
            if (!answered_.insert(dialog).second) continue;
            const std::string caption = window_text(dialog);
            seen.push_back(caption);
            auto script = scripts_.find(caption);
            if (script != scripts_.end() && script->second)
                script->second(dialog);
            else
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        busy_ = false;
    }

    // A lambda is not a CALLBACK function on 32-bit Windows.
    static BOOL CALLBACK collect_dialog(HWND w, LPARAM lp)
    {
        if (IsWindowVisible(w) && window_class(w) == "#32770")
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return TRUE;
    }

    static Dialog_answers* active_;
    std::map<std::string, Script> scripts_;
    std::set<HWND> answered_;
    bool busy_ = false;
};
Dialog_answers* Dialog_answers::active_ = nullptr;

void set_field(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
std::string field(HWND dialog, int id) { return window_text(GetDlgItem(dialog, id)); }
void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool checked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
// EndDialog hides the dialog; one that stays open is still shown.
bool still_open(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

class SmallDialogs : public Program_recording_help {
protected:
    // Runs dialog modally with script acting on it; returns the dialog's result.
    INT_PTR run(Dialog& dialog, const std::string& caption, Dialog_answers::Script script)
    {
        Dialog_answers answers;
        answers.on(caption, std::move(script));
        INT_PTR result = -2;
        answers.run([&] { result = dialog.run_modal(nullptr); });
        EXPECT_EQ(answers.seen, std::vector<std::string>{caption});
        return result;
    }
    DWORD setting(const char* name) { return registry_int(program_key("Settings"), name, 99); }
    // What the program's callers do with the check boxes' answers.
    std::function<void(bool)> store_auto_clean_box()
    {
        return [this](bool dont_show) { save_show_auto_clean_warning(profile(), dont_show ? 0 : 1); };
    }
    std::function<void(bool)> store_welcome_box()
    {
        return [this](bool dont_ask) { save_show_welcome_screen(profile(), dont_ask ? 0 : 1); };
    }
    void expect_oops(std::size_t index, const std::string& text)
    {
        ASSERT_LT(index, boxes.size());
        EXPECT_EQ(boxes[index].kind, Box_kind::error);
        EXPECT_EQ(boxes[index].caption, "OOPS!");
        EXPECT_EQ(boxes[index].text, text);
    }

};

const char* const bounds_message = "The font size must be between 1 and 500.";

TEST(IntegerExchange, ParsesWholeNumbersAndNothingElse)
{
    const std::pair<const char*, int> good[] = {{"12", 12},       {"-5", -5},  {"+7", 7},
                                                {" 8\t", 8},      {"007", 7},  {"0", 0},
                                                {"2147483647", 2147483647},
                                                {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, expected] : good) {
        int value = 99;
        EXPECT_TRUE(parse_integer(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* text : {"", "  ", "-", "1a", "a1", "1 2", "2147483648", "-2147483649",
                             "99999999999999999999", "1.5", "\x95"}) {
        int value = 99;
        EXPECT_FALSE(parse_integer(text, value)) << text;
        EXPECT_EQ(value, 99) << text;
    }
}

TEST_F(SmallDialogs, FontSizeShowsTheCallersSizeAndAcceptsBothBounds)
{
    for (const char* entered : {"500", "1"}) {
        int size = 12;
        D_font_size dialog(&size);
        INT_PTR result = run(dialog, "Custom Font Size", [&](HWND d) {
            EXPECT_EQ(field(d, IDC_FONT_SIZE), "12");
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_FONT_SIZE)) << "ready to type the size";
            set_field(d, IDC_FONT_SIZE, entered);
            click(d, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(size, std::stoi(entered));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SmallDialogs, FontSizeOutsideTheBoundsKeepsTheDialogOpenWithTheFocusInTheField)
{
    int size = 12;
    D_font_size dialog(&size);
    INT_PTR result = run(dialog, "Custom Font Size", [&](HWND d) {
        HWND size_field = GetDlgItem(d, IDC_FONT_SIZE);
        for (const char* entered : {"0", "501"}) {
            set_field(d, IDC_FONT_SIZE, entered);
            click(d, IDOK);
            EXPECT_TRUE(still_open(d)) << entered;
            EXPECT_EQ(GetFocus(), size_field) << entered;
            DWORD start = 1, end = 0;
            SendMessageA(size_field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, std::string(entered).size()) << "the wrong size is selected";
        }
        EXPECT_EQ(size, 12) << "nothing reaches the caller before a valid OK";
        click(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(size, 12);
    ASSERT_EQ(boxes.size(), 2u);
    expect_oops(0, bounds_message);
    expect_oops(1, bounds_message);
}

TEST_F(SmallDialogs, FontSizeFieldWithoutANumberAsksForAnInteger)
{
    int size = 12;
    D_font_size dialog(&size);
    INT_PTR result = run(dialog, "Custom Font Size", [&](HWND d) {
        // Typing is limited to digits; these arrive by pasting.
        for (const char* entered : {"", "abc", "1 2"}) {
            set_field(d, IDC_FONT_SIZE, entered);
            click(d, IDOK);
            EXPECT_TRUE(still_open(d)) << entered;
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_FONT_SIZE)) << entered;
        }
        set_field(d, IDC_FONT_SIZE, "48");
        click(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(size, 48);
    ASSERT_EQ(boxes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) expect_oops(i, "Please enter an integer.");
}

TEST_F(SmallDialogs, FontSizeCancelAfterTypingKeepsTheCallersSize)
{
    int size = 12;
    D_font_size dialog(&size);
    INT_PTR result = run(dialog, "Custom Font Size", [&](HWND d) {
        set_field(d, IDC_FONT_SIZE, "30");
        click(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(size, 12);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SmallDialogs, FontSizeHelpButtonOpensTheTopicOnSettings)
{
    int size = 12;
    D_font_size dialog(&size);
    run(dialog, "Custom Font Size", [&](HWND d) {
        click(d, ID_HELP);
        EXPECT_TRUE(still_open(d));
        click(d, IDCANCEL);
    });
    EXPECT_EQ(helps, std::vector<int>{help_files_and_settings});
}

TEST_F(SmallDialogs, AutoCleanCheckBoxIsStoredAtEveryClick)
{
    D_auto_clean_warning dialog(store_auto_clean_box());
    INT_PTR result = run(dialog, "Auto Clean is Enabled", [&](HWND d) {
        EXPECT_FALSE(checked(d, IDC_AUTO_CLEAN_DONT_SHOW));
        EXPECT_EQ(setting("Show Auto Clean Warning"), 99u) << "nothing stored before a click";
        click(d, IDC_AUTO_CLEAN_DONT_SHOW);
        EXPECT_EQ(setting("Show Auto Clean Warning"), 0u);
        click(d, IDC_AUTO_CLEAN_DONT_SHOW);
        EXPECT_EQ(setting("Show Auto Clean Warning"), 1u);
        click(d, ID_HELP);
        EXPECT_TRUE(still_open(d));
        click(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(setting("Show Auto Clean Warning"), 1u);
    EXPECT_EQ(helps, std::vector<int>{help_auto_clean});
}

TEST_F(SmallDialogs, AutoCleanCheckBoxCountsEvenWhenTheDialogIsClosedOtherwise)
{
    D_auto_clean_warning dialog(store_auto_clean_box());
    run(dialog, "Auto Clean is Enabled", [&](HWND d) {
        click(d, IDC_AUTO_CLEAN_DONT_SHOW);
        SendMessageA(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(setting("Show Auto Clean Warning"), 0u);
}

TEST_F(SmallDialogs, WelcomeDontAskThenYesStoresZeroAndAnswersYes)
{
    D_welcome dialog(store_welcome_box());
    INT_PTR result = run(dialog, "Welcome!", [&](HWND d) {
        click(d, IDC_WELCOME_DONT_ASK);
        click(d, IDYES);
    });
    EXPECT_EQ(result, IDYES);
    EXPECT_EQ(setting("Show Welcome Screen"), 0u);
}

TEST_F(SmallDialogs, WelcomeNoAndEscapeLeaveTheSettingUntouched)
{
    D_welcome first(store_welcome_box());
    EXPECT_EQ(run(first, "Welcome!", [&](HWND d) { click(d, IDNO); }), IDNO);
    D_welcome second(store_welcome_box());
    EXPECT_EQ(run(second, "Welcome!", [&](HWND d) {
        click(d, IDC_WELCOME_DONT_ASK);
        click(d, IDC_WELCOME_DONT_ASK);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    }), IDCANCEL);
    EXPECT_EQ(setting("Show Welcome Screen"), 1u);
}

COLORREF brush_colour(INT_PTR brush)
{
    LOGBRUSH info{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
    return info.lbColor;
}

TEST_F(SmallDialogs, WelcomePageIsWhiteWithTransparentTextAndF1OpensGettingStarted)
{
    D_welcome dialog(store_welcome_box());
    run(dialog, "Welcome!", [&](HWND d) {
        HDC dc = GetDC(d);
        const INT_PTR page = SendMessageA(d, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(d));
        EXPECT_EQ(brush_colour(page), RGB(255, 255, 255));
        for (UINT msg : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
            SetBkMode(dc, OPAQUE);
            const INT_PTR brush = SendMessageA(d, msg, reinterpret_cast<WPARAM>(dc),
                reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_WELCOME_DONT_ASK)));
            EXPECT_EQ(brush_colour(brush), RGB(255, 255, 255)) << msg;
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << msg;
        }
        ReleaseDC(d, dc);
        HELPINFO info{sizeof info, HELPINFO_WINDOW, IDC_WELCOME_DONT_ASK,
                      GetDlgItem(d, IDC_WELCOME_DONT_ASK), 0, {0, 0}};
        SendMessageA(d, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        click(d, IDNO);
    });
    EXPECT_EQ(helps, std::vector<int>{help_getting_started});
}

class Callers : public SmallDialogs {
protected:
    void SetUp() override
    {
        SmallDialogs::SetUp();
        build();
    }
    // Runs command id, answering the dialog captioned caption with script.
    std::vector<std::string> command(int id, const std::string& caption,
                                     Dialog_answers::Script script)
    {
        Dialog_answers answers;
        answers.on(caption, std::move(script));
        answers.run([&] { EXPECT_TRUE(frame->execute_command(id)); });
        return answers.seen;
    }
};

TEST_F(Callers, OtherFontSizeIsAppliedAndChecksOtherAlone)
{
    int monitoring_while_open = -1;
    auto seen = command(ID_FONT_SIZE_OTHER, "Custom Font Size", [&](HWND d) {
        monitoring_while_open = context().monitoring_enabled;
        EXPECT_EQ(field(d, IDC_FONT_SIZE), "10");
        EXPECT_FALSE(IsWindowEnabled(frame->hwnd())) << "modal to the main window";
        set_field(d, IDC_FONT_SIZE, "12");
        click(d, IDOK);
    });
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(monitoring_while_open, 0);
    EXPECT_EQ(context().monitoring_enabled, 1);
    EXPECT_EQ(view->font_size(), 12);
    EXPECT_TRUE(frame->query_command(ID_FONT_SIZE_OTHER).checked);
    for (int id : {ID_FONT_SIZE_8, ID_FONT_SIZE_10, ID_FONT_SIZE_12, ID_FONT_SIZE_14,
                   ID_FONT_SIZE_18, ID_FONT_SIZE_24})
        EXPECT_FALSE(frame->query_command(id).checked) << id;
    close();
    EXPECT_EQ(registry_int(program_key("Settings"), "Font Size", 0), 12u);
}

TEST_F(Callers, OtherFontSizeCancelledChangesNothing)
{
    EXPECT_TRUE(frame->execute_command(ID_FONT_SIZE_18));
    command(ID_FONT_SIZE_OTHER, "Custom Font Size", [&](HWND d) {
        EXPECT_EQ(field(d, IDC_FONT_SIZE), "18");
        set_field(d, IDC_FONT_SIZE, "77");
        click(d, IDCANCEL);
    });
    EXPECT_EQ(view->font_size(), 18);
    EXPECT_TRUE(frame->query_command(ID_FONT_SIZE_18).checked);
    EXPECT_FALSE(frame->query_command(ID_FONT_SIZE_OTHER).checked);
    EXPECT_EQ(context().monitoring_enabled, 1);
}

TEST_F(Callers, SwitchingAutoCleanOnShowsTheNoticeUntilItsBoxIsChecked)
{
    EXPECT_TRUE(view->autoclean());
    // Off: never a notice.
    EXPECT_TRUE(command(ID_OPT_AUTOCLEAN, "Auto Clean is Enabled", nullptr).empty());
    int monitoring_while_open = -1;
    auto seen = command(ID_OPT_AUTOCLEAN, "Auto Clean is Enabled", [&](HWND d) {
        monitoring_while_open = context().monitoring_enabled;
        click(d, IDC_AUTO_CLEAN_DONT_SHOW);
        click(d, IDOK);
    });
    EXPECT_EQ(seen, std::vector<std::string>{"Auto Clean is Enabled"});
    EXPECT_EQ(monitoring_while_open, 0);
    EXPECT_EQ(context().monitoring_enabled, 1);
    EXPECT_TRUE(view->autoclean());
    // Off and on again: the box said not to show it any more.
    EXPECT_TRUE(command(ID_OPT_AUTOCLEAN, "Auto Clean is Enabled", nullptr).empty());
    EXPECT_TRUE(command(ID_OPT_AUTOCLEAN, "Auto Clean is Enabled", nullptr).empty());
    EXPECT_TRUE(view->autoclean());
}

}  // namespace
