// "Cleaning Options" and "Preset Commands" run modally from their real templates over the real
// registry, started through the program's own command; a script acts on the windows as a person
// would, one step a timer tick, each step waiting for the window whose caption it names.
#include "tests/win32/program_test_support.h"

#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>

#include "dialogs/D_opt_lists.h"
#include "dialogs/D_opt_misc.h"
#include "dialogs/option_page.h"
#include "framework/controls.h"
#include "resources/help/help_contexts.h"
#include "resources/resource.h"
#include "dialogs/D_preset_comms.h"
#include "settings/catalogue.h"

namespace {

const char* const sheet_caption = "Cleaning Options";
const char* const comms_caption = "Preset Commands";

class Script {
public:
    using Action = std::function<void(HWND)>;
    Script& on(const std::string& caption, Action action)
    {
        steps_.push_back({caption, std::move(action)});
        return *this;
    }
    void run(const std::function<void()>& call)
    {
        active_ = this;
        UINT_PTR timer = SetTimer(nullptr, 0, 15, tick);
        call();
        KillTimer(nullptr, timer);
        active_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << "left undone: " << steps_.size() << " step(s), next for \""
                                    << (steps_.empty() ? "" : steps_.front().caption) << "\"";
    }

private:
    struct Step {
        std::string caption;
        Action action;
    };
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!active_) return;
        Script& s = *active_;
        if (s.steps_.empty()) return;
        HWND window = find(s.steps_.front().caption);
        if (!window) {
            // A window that never comes up must not hang the run.
            if (++s.waited_ > 400) {
                ADD_FAILURE() << "no window \"" << s.steps_.front().caption << "\"";
                s.steps_.clear();
                cancel_all();
            }
            return;
        }
        s.waited_ = 0;
        Step step = std::move(s.steps_.front());
        s.steps_.pop_front();
        step.action(window);
    }
    static HWND find(const std::string& caption)
    {
        std::pair<const std::string*, HWND> wanted{&caption, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), match, reinterpret_cast<LPARAM>(&wanted));
        return wanted.second;
    }
    static BOOL CALLBACK match(HWND w, LPARAM lp)
    {
        auto* wanted = reinterpret_cast<std::pair<const std::string*, HWND>*>(lp);
        if (IsWindowVisible(w) && window_text(w) == *wanted->first) {
            wanted->second = w;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK cancel(HWND w, LPARAM)
    {
        if (IsWindowVisible(w) && window_class(w) == "#32770")
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    static void cancel_all() { EnumThreadWindows(GetCurrentThreadId(), cancel, 0); }

    static Script* active_;
    std::deque<Step> steps_;
    int waited_ = 0;
};
Script* Script::active_ = nullptr;

// --- hands on the sheet ----------------------------------------------------------------------
HWND page_of(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}
// As a click on the tab: the page being left may refuse.
void go_to(HWND sheet, int index) { SendMessageA(sheet, PSM_SETCURSEL, index, 0); }
void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
void type(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// Keys as the keyboard gives them to the field with the focus: the control's own rules apply.
void keys(HWND dialog, int id, const std::string& typed)
{
    HWND field = GetDlgItem(dialog, id);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    for (char c : typed) SendMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
}
void choose(HWND dialog, int id, const std::string& entry)
{
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}
std::string text(HWND dialog, int id) { return window_text(GetDlgItem(dialog, id)); }
std::string selected(HWND dialog, int id)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return "<none>";
    char buffer[256] = "";
    SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}
bool checked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
int focus_id() { return GetDlgCtrlID(GetFocus()); }
void press_ok(HWND sheet) { click(sheet, IDOK); }
void press_cancel(HWND sheet) { click(sheet, IDCANCEL); }
bool is_open(HWND window) { return IsWindow(window) && IsWindowVisible(window); }

class Options : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        build();
    }
    // The sheet through the program's command, the script acting while it is up.
    void run_sheet(Script& script)
    {
        script.run([this] { app->on_command(ID_OPT_CLEANING); });
    }
    // The sheet's settings as its pages have stored them so far.
    static const Cleaning_settings& edited(HWND sheet)
    {
        return dynamic_cast<Option_page&>(*Dialog_window::bound_to(page_of(sheet))).edited();
    }
    std::string current_path() { return program_key("Current Cleaning Settings"); }
    int stored(Int_setting s) { return static_cast<int>(registry_int(current_path(), s.name, 9999)); }
    Cleaning_settings preset(const char* name) { return store->get_preset(name); }
    std::vector<std::string> messages()
    {
        std::vector<std::string> texts;
        for (const Box& b : boxes) texts.push_back(b.caption + ": " + b.text);
        return texts;
    }
};

// --- the sheet -------------------------------------------------------------------------------

TEST_F(Options, SheetHidesApplyMovesOkAndCancelAndPausesMonitoring)
{
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        EXPECT_EQ(context().monitoring_enabled, 0);
        HWND apply = GetDlgItem(sheet, 0x3021);
        EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply));
        RECT ok{}, cancel{}, client{};
        GetWindowRect(GetDlgItem(sheet, IDOK), &ok);
        GetWindowRect(GetDlgItem(sheet, IDCANCEL), &cancel);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&ok), 2);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&cancel), 2);
        GetClientRect(sheet, &client);
        const int step = cancel.left - ok.left;
        EXPECT_GT(step, 0);
        EXPECT_EQ(ok.left, client.right - 3 * step);
        EXPECT_EQ(cancel.left, client.right - 2 * step);
        EXPECT_EQ(ok.top, cancel.top);
        HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        std::vector<std::string> captions;
        for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
            char buffer[64] = "";
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = buffer;
            item.cchTextMax = sizeof buffer;
            SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            captions.push_back(buffer);
        }
        EXPECT_EQ(captions, (std::vector<std::string>{"Paragraph", "Spacing", "Lists", "Replace",
                                                      "Characters"}));
        EXPECT_EQ(GetDlgCtrlID(GetDlgItem(page_of(sheet), IDC_PARA_REMOVE_BREAKS)),
                  IDC_PARA_REMOVE_BREAKS);
        press_cancel(sheet);
    });
    context().monitoring_enabled = 1;
    run_sheet(script);
    EXPECT_EQ(context().monitoring_enabled, 1);
}

// F1 through the real input queue to the sheet's own controls, page by page.
TEST_F(Options, F1OnTheTabsAndButtonsOpensTheCurrentPagesTopic)
{
    std::vector<int> helps;
    app->set_help([&](int context) { helps.push_back(context); });
    const int topics[] = {help_paragraph_options, help_spacing_options, help_list_options,
                          help_replace_options, help_character_options};
    const int targets[] = {0, IDOK, IDCANCEL, IDHELP};  // 0: the tabs
    std::vector<int> expected;
    Script script;
    for (int page = 0; page < 5; ++page) {
        for (int target : targets) {
            script.on(sheet_caption, [page, target](HWND sheet) {
                go_to(sheet, page);
                HWND control = target ? GetDlgItem(sheet, target)
                                      : reinterpret_cast<HWND>(
                                            SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
                SetFocus(control);
                INPUT f1[2] = {};
                f1[0].type = f1[1].type = INPUT_KEYBOARD;
                f1[0].ki.wVk = f1[1].ki.wVk = VK_F1;
                f1[1].ki.dwFlags = KEYEVENTF_KEYUP;
                EXPECT_EQ(SendInput(2, f1, sizeof(INPUT)), 2u);
            });
            expected.push_back(topics[page]);
        }
    }
    script.on(sheet_caption, [](HWND sheet) { press_cancel(sheet); });
    run_sheet(script);
    EXPECT_EQ(helps, expected);
}

// Ctrl+Tab and Ctrl+Page Down go forward a page, with Shift or Page Up back, round the ends.
TEST_F(Options, CtrlTabAndCtrlPageKeysChangePages)
{
    const struct {
        std::vector<WORD> chord;
        int page;
    } steps[] = {{{VK_CONTROL, VK_TAB}, 1},           {{VK_CONTROL, VK_NEXT}, 2},
                 {{VK_CONTROL, VK_SHIFT, VK_TAB}, 1}, {{VK_CONTROL, VK_PRIOR}, 0},
                 {{VK_CONTROL, VK_PRIOR}, 4},         {{VK_CONTROL, VK_TAB}, 0}};
    std::vector<int> pages;
    Script script;
    for (const auto& step : steps) {
        script.on(sheet_caption, [&step](HWND sheet) {
            SetFocus(GetDlgItem(sheet, IDOK));
            // Keys down in order, up in reverse.
            const std::size_t n = step.chord.size();
            std::vector<INPUT> input(2 * n);
            for (std::size_t k = 0; k < n; ++k) {
                input[k].type = input[2 * n - 1 - k].type = INPUT_KEYBOARD;
                input[k].ki.wVk = input[2 * n - 1 - k].ki.wVk = step.chord[k];
                input[2 * n - 1 - k].ki.dwFlags = KEYEVENTF_KEYUP;
            }
            EXPECT_EQ(SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)),
                      input.size());
        });
        script.on(sheet_caption, [&pages](HWND sheet) {
            pages.push_back(static_cast<int>(SendMessageA(
                sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page_of(sheet)), 0)));
        });
    }
    script.on(sheet_caption, [](HWND sheet) { press_cancel(sheet); });
    run_sheet(script);
    std::vector<int> expected;
    for (const auto& step : steps) expected.push_back(step.page);
    EXPECT_EQ(pages, expected);
}

TEST_F(Options, CancelAfterLeavingEditedPagesChangesNothing)
{
    const Cleaning_settings before = store->current_settings();
    const std::string name = context().presets.current_preset_name;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        click(page_of(sheet), IDC_PARA_REMOVE_BREAKS);
        go_to(sheet, 1);
        EXPECT_EQ(selected(page_of(sheet), IDC_PRESET_COMBO), "(none)");
        type(page_of(sheet), IDC_SPAC_TAB_STOPS, "7");
        go_to(sheet, 3);
        // Escape, as a person leaves the sheet.
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    run_sheet(script);
    EXPECT_TRUE(store->current_settings() == before);
    EXPECT_EQ(stored(setting::spac_tab_stops), before.spac_tab_stops);
    EXPECT_EQ(stored(setting::para_remove_line_breaks),
              before.para_remove_line_breaks);
    EXPECT_EQ(context().presets.current_preset_name, name);
    EXPECT_EQ(frame->toolbar.combo().get_selected_name(), name);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Options, OkWithoutChangesStoresTheCurrentSettingsUnchanged)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, current_path().c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegDeleteValueA(key, setting::spac_tab_stops.name);
    RegCloseKey(key);
    const Cleaning_settings before = store->current_settings();
    const std::string name = context().presets.current_preset_name;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) { press_ok(sheet); });
    run_sheet(script);
    EXPECT_TRUE(store->current_settings() == before);
    EXPECT_EQ(stored(setting::spac_tab_stops), before.spac_tab_stops);
    EXPECT_EQ(context().presets.current_preset_name, name);
}

TEST_F(Options, AnEditThenOkStoresTheSettingsUnderNoPreset)
{
    const int tab_stops = store->current_settings().spac_tab_stops;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 1);
        type(page_of(sheet), IDC_SPAC_TAB_STOPS, int_to_string(tab_stops + 3));
        EXPECT_EQ(context().presets.pending_preset_name, "(none)");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(store->current_settings().spac_tab_stops, tab_stops + 3);
    EXPECT_EQ(stored(setting::spac_tab_stops), tab_stops + 3);
    EXPECT_EQ(context().presets.current_preset_name, "(none)");
    EXPECT_EQ(frame->toolbar.combo().get_selected_name(), "(none)");
}

TEST_F(Options, APresetChosenOnTheListsPageReplacesWhatThePargraphPageStored)
{
    // Start from Full Cleaning; choose Light Cleaning after editing the Paragraph page.
    const Cleaning_settings light = preset(light_cleaning_name);
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        HWND para = page_of(sheet);
        type(para, IDC_PARA_INDENT_SPACES, "9");
        // Left, the page stored 9 in the sheet's settings, from which it shows them again.
        go_to(sheet, 2);
        go_to(sheet, 0);
        EXPECT_EQ(text(page_of(sheet), IDC_PARA_INDENT_SPACES), "9");
        go_to(sheet, 2);
        choose(page_of(sheet), IDC_PRESET_COMBO, light_cleaning_name);
        go_to(sheet, 0);
        para = page_of(sheet);
        EXPECT_EQ(selected(para, IDC_PRESET_COMBO), light_cleaning_name);
        EXPECT_EQ(text(para, IDC_PARA_INDENT_SPACES),
                  int_to_string(light.para_num_indent_spaces_for_new_para));
        EXPECT_EQ(checked(para, IDC_PARA_REMOVE_BREAKS),
                  light.para_remove_line_breaks == 1);
        // "(none)" only unties the settings: the fields keep what they show.
        type(para, IDC_PARA_INDENT_SPACES, "4");
        choose(para, IDC_PRESET_COMBO, light_cleaning_name);
        choose(para, IDC_PRESET_COMBO, "(none)");
        EXPECT_EQ(context().presets.pending_preset_name, "(none)");
        choose(para, IDC_PRESET_COMBO, light_cleaning_name);
        press_ok(sheet);
    });
    run_sheet(script);
    Cleaning_settings expected;
    store->copy_prefs(light, expected);
    EXPECT_TRUE(store->current_settings() == expected);
    EXPECT_EQ(context().presets.current_preset_name, light_cleaning_name);
    EXPECT_EQ(frame->toolbar.combo().get_selected_name(), light_cleaning_name);
}

TEST_F(Options, OkAsksOnlyTheVisiblePage)
{
    // A Lists page that would refuse: it is never opened, so never asked.
    Cleaning_settings refused = store->current_settings();
    refused.list_format = 1;
    refused.list_max_line_length = 0;
    store->set_current_settings(refused);
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 1);
        HWND spacing = page_of(sheet);
        type(spacing, IDC_SPAC_TAB_STOPS, "");
        press_ok(sheet);
        EXPECT_TRUE(is_open(sheet));
        EXPECT_EQ(page_of(sheet), spacing);
        EXPECT_EQ(focus_id(), IDC_SPAC_TAB_STOPS);
        type(spacing, IDC_SPAC_TAB_STOPS, "6");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), std::vector<std::string>{"OOPS!: Please enter a value for the tab stops."});
    EXPECT_EQ(store->current_settings().spac_tab_stops, 6);
    EXPECT_EQ(store->current_settings().list_max_line_length, 0);
}

// --- Paragraph page --------------------------------------------------------------------------

TEST_F(Options, ParagraphEnablingFollowsItsCheckBoxes)
{
    struct Row {
        int remove, punct, indented, unlimited;
        bool e1003, e1032, e1015, e1012, e1010;
    };
    const Row rows[] = {
        {1, 0, 1, 0, true, true, true, true, true},
        {1, 1, 1, 0, true, false, true, true, true},
        {1, 0, 0, 1, true, true, false, false, true},
        // The width wraps whether or not lines are joined.
        {0, 0, 1, 0, false, false, false, true, false},
        {0, 0, 1, 1, false, false, false, false, false},
    };
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        HWND p = page_of(sheet);
        for (const Row& r : rows) {
            const std::pair<int, int> boxes[] = {{IDC_PARA_REMOVE_BREAKS, r.remove},
                                                 {IDC_PARA_PUNCT_ENDS, r.punct},
                                                 {IDC_PARA_INDENTED, r.indented},
                                                 {IDC_PARA_UNLIMITED, r.unlimited}};
            // Set in an order that keeps each box enabled while it is clicked.
            if (!checked(p, IDC_PARA_REMOVE_BREAKS)) click(p, IDC_PARA_REMOVE_BREAKS);
            for (const auto& [id, on] : boxes)
                if (id != IDC_PARA_REMOVE_BREAKS && checked(p, id) != (on == 1)) click(p, id);
            if (checked(p, IDC_PARA_REMOVE_BREAKS) != (r.remove == 1)) click(p, IDC_PARA_REMOVE_BREAKS);
            SCOPED_TRACE(testing::Message() << r.remove << r.punct << r.indented << r.unlimited);
            EXPECT_EQ(enabled(p, IDC_PARA_PUNCT_ENDS), r.e1003);
            EXPECT_EQ(enabled(p, IDC_PARA_SENT_SPACES), r.e1032);
            EXPECT_EQ(enabled(p, IDC_PARA_LEAVE_TEXT), r.e1032);
            EXPECT_EQ(enabled(p, IDC_PARA_INDENT_SPACES), r.e1015);
            EXPECT_EQ(enabled(p, IDC_PARA_MAX_CHARS), r.e1012);
            EXPECT_EQ(enabled(p, IDC_PARA_BLANK_LINES), r.e1010);
            EXPECT_EQ(enabled(p, IDC_PARA_INDENT_TEXT2), r.e1010);
            for (int id : {IDC_PARA_REMOVE_BREAKS, IDC_PRESET_COMBO, IDC_PARA_UNLIMITED,
                           IDC_PARA_MAX_TEXT})
                EXPECT_TRUE(enabled(p, id)) << id;
        }
        press_cancel(sheet);
    });
    run_sheet(script);
}

TEST_F(Options, ParagraphChecksAndStoresEveryControl)
{
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        HWND p = page_of(sheet);
        EXPECT_EQ(SendMessageA(GetDlgItem(p, IDC_PARA_SENT_SPACES), CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(GetDlgItem(p, IDC_PARA_MAX_CHARS), EM_GETLIMITTEXT, 0, 0), 6);
        EXPECT_EQ(SendMessageA(GetDlgItem(p, IDC_PARA_INDENT_SPACES), EM_GETLIMITTEXT, 0, 0), 3);
        if (!checked(p, IDC_PARA_REMOVE_BREAKS)) click(p, IDC_PARA_REMOVE_BREAKS);
        if (!checked(p, IDC_PARA_INDENTED)) click(p, IDC_PARA_INDENTED);
        if (checked(p, IDC_PARA_UNLIMITED)) click(p, IDC_PARA_UNLIMITED);
        if (checked(p, IDC_PARA_PUNCT_ENDS)) click(p, IDC_PARA_PUNCT_ENDS);
        type(p, IDC_PARA_INDENT_SPACES, "");
        go_to(sheet, 1);
        EXPECT_EQ(page_of(sheet), p);
        EXPECT_EQ(focus_id(), IDC_PARA_INDENT_SPACES);
        type(p, IDC_PARA_INDENT_SPACES, "12");
        type(p, IDC_PARA_MAX_CHARS, "");
        go_to(sheet, 1);
        EXPECT_EQ(focus_id(), IDC_PARA_MAX_CHARS);
        type(p, IDC_PARA_MAX_CHARS, "72");
        if (checked(p, IDC_PARA_BLANK_LINES)) click(p, IDC_PARA_BLANK_LINES);
        choose(p, IDC_PARA_SENT_SPACES, "1");
        go_to(sheet, 1);
        EXPECT_EQ(edited(sheet).para_num_indent_spaces_for_new_para, 12);
        EXPECT_EQ(edited(sheet).para_max_chars_on_para_line, 72);
        EXPECT_EQ(edited(sheet).para_indented_makes_new_para, 1);
        EXPECT_EQ(edited(sheet).para_blank_lines_separate_paras, 0);
        EXPECT_EQ(edited(sheet).para_punct_mark_ends_para, 0);
        EXPECT_EQ(edited(sheet).para_spaces_between_sents, 1);
        // Unlimited over 72 stores 0; the page then shows "0", Unlimited checked, field disabled.
        go_to(sheet, 0);
        p = page_of(sheet);
        EXPECT_EQ(text(p, IDC_PARA_MAX_CHARS), "72");
        click(p, IDC_PARA_UNLIMITED);
        // Unchecking the main box: a disabled empty field stores 0 without a message.
        type(p, IDC_PARA_INDENT_SPACES, "");
        click(p, IDC_PARA_REMOVE_BREAKS);
        go_to(sheet, 1);
        EXPECT_EQ(edited(sheet).para_max_chars_on_para_line, 0);
        EXPECT_EQ(edited(sheet).para_num_indent_spaces_for_new_para, 0);
        EXPECT_EQ(edited(sheet).para_remove_line_breaks, 0);
        go_to(sheet, 0);
        p = page_of(sheet);
        EXPECT_EQ(text(p, IDC_PARA_MAX_CHARS), "0");
        EXPECT_TRUE(checked(p, IDC_PARA_UNLIMITED));
        press_cancel(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "OOPS!: Please enter the number of spaces needed to assume a line is the "
                  "beginning of a new paragraph.",
                  "OOPS!: Please enter the maximum number of characters on a paragraph line."}));
}

// --- Spacing page ----------------------------------------------------------------------------

TEST_F(Options, SpacingEnablesAndChecksItsFields)
{
    struct Case {
        int adjust_indent, adjust_spacing;
        const char *indent, *lines, *tabs;
        const char* message;  // nullptr: valid
        int focus;
    };
    const Case cases[] = {
        {1, 1, "", "", "", "Please enter a value for the tab stops.", IDC_SPAC_TAB_STOPS},
        {1, 1, "", "2", "4", "Please enter the paragraph indentation.", IDC_SPAC_INDENT},
        {1, 1, "0", "", "4", "Please enter the number of lines to place in between paragraphs.",
         IDC_SPAC_LINES},
        {0, 0, "", "", "4", nullptr, 0},
        {1, 1, "0", "1", "0", nullptr, 0},
    };
    std::vector<std::string> expected;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 1);
        HWND p = page_of(sheet);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.indent << "/" << c.lines << "/" << c.tabs);
            if (checked(p, IDC_SPAC_ADJUST_INDENT) != (c.adjust_indent == 1))
                click(p, IDC_SPAC_ADJUST_INDENT);
            if (checked(p, IDC_SPAC_ADJUST_SPACING) != (c.adjust_spacing == 1))
                click(p, IDC_SPAC_ADJUST_SPACING);
            EXPECT_EQ(enabled(p, IDC_SPAC_INDENT), c.adjust_indent == 1);
            EXPECT_EQ(enabled(p, IDC_SPAC_ARROW), c.adjust_indent == 1);
            EXPECT_EQ(enabled(p, IDC_SPAC_LINES), c.adjust_spacing == 1);
            type(p, IDC_SPAC_INDENT, c.indent);
            type(p, IDC_SPAC_LINES, c.lines);
            type(p, IDC_SPAC_TAB_STOPS, c.tabs);
            go_to(sheet, 3);
            if (c.message) {
                expected.push_back(std::string("OOPS!: ") + c.message);
                EXPECT_EQ(page_of(sheet), p);
                EXPECT_EQ(focus_id(), c.focus);
            } else {
                EXPECT_NE(page_of(sheet), p);
                EXPECT_EQ(edited(sheet).spac_num_spaces_to_indent, string_to_int(c.indent));
                EXPECT_EQ(edited(sheet).spac_lines_between_paras, string_to_int(c.lines));
                EXPECT_EQ(edited(sheet).spac_tab_stops, string_to_int(c.tabs));
                go_to(sheet, 1);
                p = page_of(sheet);
            }
        }
        // The sentence-spacing choice stays stored while its box disables the list.
        if (!checked(p, IDC_SPAC_SENT_SPACING)) click(p, IDC_SPAC_SENT_SPACING);
        choose(p, IDC_SPAC_SENT_SPACES, "1");
        click(p, IDC_SPAC_SENT_SPACING);
        EXPECT_FALSE(enabled(p, IDC_SPAC_SENT_SPACES));
        EXPECT_FALSE(enabled(p, IDC_SPAC_SENT_NOTE));
        EXPECT_TRUE(enabled(p, IDC_SPAC_TAB_STOPS));
        if (!checked(p, IDC_SPAC_EXTRA_SPACES)) click(p, IDC_SPAC_EXTRA_SPACES);
        type(p, IDC_SPAC_TAB_STOPS, "5");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), expected);
    EXPECT_EQ(stored(setting::spac_num_spaces_between_sents), 1);
    EXPECT_EQ(stored(setting::spac_clean_up_sent_spacing), 0);
    EXPECT_EQ(stored(setting::spac_rem_extra_spaces_between_words), 1);
    EXPECT_EQ(stored(setting::spac_tab_stops), 5);
}

// --- Lists page ------------------------------------------------------------------------------

TEST_F(Options, ListsSelectAllClearAllAndTheCustomSymbol)
{
    const int identifiers[] = {IDC_LIST_NUMBERS, IDC_LIST_ROMAN, IDC_LIST_LETTERS,
                               IDC_LIST_DASH,    IDC_LIST_STAR,  IDC_LIST_O};
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 2);
        HWND p = page_of(sheet);
        click(p, IDC_LIST_CLEAR_ALL);
        EXPECT_EQ(selected(p, IDC_PRESET_COMBO), "(none)");
        for (int id : identifiers) EXPECT_FALSE(checked(p, id)) << id;
        EXPECT_FALSE(checked(p, IDC_LIST_CUSTOM));
        for (int id : {IDC_LIST_FORMAT_PARAGRAPH, IDC_LIST_FORMAT_INDENTED, IDC_LIST_ADJUST_INDENT,
                       IDC_LIST_INDENT, IDC_LIST_MAX_LENGTH, IDC_LIST_NOTE, IDC_LIST_CUSTOM_TEXT})
            EXPECT_FALSE(enabled(p, id)) << id;
        EXPECT_TRUE(enabled(p, IDC_LIST_SELECT_ALL));
        type(p, IDC_LIST_INDENT, "");
        type(p, IDC_LIST_MAX_LENGTH, "");
        go_to(sheet, 3);
        EXPECT_NE(page_of(sheet), p);
        EXPECT_EQ(edited(sheet).list_num_indent_spaces, 0);
        EXPECT_EQ(edited(sheet).list_max_line_length, 0);
        EXPECT_EQ(edited(sheet).list_id_custom, "");

        go_to(sheet, 2);
        p = page_of(sheet);
        click(p, IDC_LIST_CUSTOM);
        EXPECT_TRUE(enabled(p, IDC_LIST_CUSTOM_TEXT));
        type(p, IDC_LIST_CUSTOM_TEXT, " => ");
        click(p, IDC_LIST_SELECT_ALL);
        for (int id : identifiers) EXPECT_TRUE(checked(p, id)) << id;
        EXPECT_TRUE(checked(p, IDC_LIST_CUSTOM));
        go_to(sheet, 3);
        EXPECT_EQ(edited(sheet).list_id_custom, " => ");
        EXPECT_EQ(edited(sheet).list_id_o, 1);
        // Unchecked, the symbol stays in the disabled field but is stored empty.
        go_to(sheet, 2);
        p = page_of(sheet);
        click(p, IDC_LIST_CUSTOM);
        EXPECT_FALSE(enabled(p, IDC_LIST_CUSTOM_TEXT));
        EXPECT_EQ(text(p, IDC_LIST_CUSTOM_TEXT), " => ");
        go_to(sheet, 3);
        EXPECT_EQ(edited(sheet).list_id_custom, "");
        go_to(sheet, 2);
        EXPECT_EQ(text(page_of(sheet), IDC_LIST_CUSTOM_TEXT), "");
        press_cancel(sheet);
    });
    run_sheet(script);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Options, ListsChecksTheFixedWidthFields)
{
    struct Case {
        const char *indent, *max_length, *message;
        int focus;
    };
    const Case cases[] = {
        {"4", "", "Please enter the maximum length of a list item line.", IDC_LIST_MAX_LENGTH},
        {"", "60", "Please enter the list indentation.", IDC_LIST_INDENT},
        {"4", "0", "The maximum length of a list item line must be greater than zero.",
         IDC_LIST_MAX_LENGTH},
        {"8", "8", "The list indentation must be less then the maximum length of a list item line.",
         IDC_LIST_INDENT},
        {"99999999999", "60", "The list indentation is too large.  Please enter a smaller number.",
         IDC_LIST_INDENT},
        {"7", "8", nullptr, 0},
    };
    std::vector<std::string> expected;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 2);
        HWND p = page_of(sheet);
        if (!checked(p, IDC_LIST_NUMBERS)) click(p, IDC_LIST_NUMBERS);
        click(p, IDC_LIST_FORMAT_INDENTED);
        EXPECT_TRUE(checked(p, IDC_LIST_FORMAT_INDENTED));
        EXPECT_FALSE(checked(p, IDC_LIST_FORMAT_PARAGRAPH));
        EXPECT_EQ(selected(p, IDC_PRESET_COMBO), "(none)");
        if (!checked(p, IDC_LIST_ADJUST_INDENT)) click(p, IDC_LIST_ADJUST_INDENT);
        EXPECT_TRUE(enabled(p, IDC_LIST_INDENT));
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.indent << "/" << c.max_length);
            type(p, IDC_LIST_INDENT, c.indent);
            type(p, IDC_LIST_MAX_LENGTH, c.max_length);
            go_to(sheet, 3);
            if (c.message) {
                expected.push_back(std::string("OOPS!: ") + c.message);
                EXPECT_EQ(page_of(sheet), p);
                EXPECT_EQ(focus_id(), c.focus);
            }
        }
        EXPECT_EQ(edited(sheet).list_num_indent_spaces, 7);
        EXPECT_EQ(edited(sheet).list_max_line_length, 8);
        EXPECT_EQ(edited(sheet).list_format, 1);
        // Like a paragraph: the fields are neither checked nor needed.
        go_to(sheet, 2);
        p = page_of(sheet);
        click(p, IDC_LIST_FORMAT_PARAGRAPH);
        EXPECT_FALSE(enabled(p, IDC_LIST_MAX_LENGTH));
        type(p, IDC_LIST_INDENT, "30");
        type(p, IDC_LIST_MAX_LENGTH, "0");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), expected);
    EXPECT_EQ(stored(setting::list_format), 0);
    EXPECT_EQ(stored(setting::list_num_indent_spaces), 30);
    EXPECT_EQ(stored(setting::list_max_line_length), 0);
}

// --- Replace page ----------------------------------------------------------------------------

TEST_F(Options, ReplaceRefusesAReplacementWithoutFindAndStoresTextsAsTyped)
{
    const char* const ordinals[] = {"first", "second", "third", "fourth", "fifth"};
    std::vector<std::string> expected;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 3);
        HWND p = page_of(sheet);
        for (int k = 0; k < 5; ++k) {
            for (int j = 0; j < 5; ++j) {
                type(p, D_opt_misc::find_ids[j], j < k ? "x" : "");
                type(p, D_opt_misc::replace_ids[j], j <= k ? "y" : "");
            }
            go_to(sheet, 0);
            EXPECT_EQ(page_of(sheet), p);
            EXPECT_EQ(focus_id(), D_opt_misc::find_ids[k]);
            const std::string n = ordinals[k];
            expected.push_back("OOPS!: The " + n + " \"find\" entry is blank, but the " + n +
                               " \"replace\" entry has something in it.  Please enter some text "
                               "to find, or delete the text to replace.");
        }
        EXPECT_EQ(selected(p, IDC_PRESET_COMBO), "(none)");
        const char* finds[] = {" ", "  two  ", "gone", "", "five"};
        const char* replaces[] = {"_", " 2 ", "", "", "5 "};
        for (int j = 0; j < 5; ++j) {
            type(p, D_opt_misc::find_ids[j], finds[j]);
            type(p, D_opt_misc::replace_ids[j], replaces[j]);
        }
        choose(p, IDC_MISC_TAB_REPLACE, "No replacement");
        if (checked(p, IDC_MISC_CASE)) click(p, IDC_MISC_CASE);
        if (!checked(p, IDC_MISC_REPLY_MARKS)) click(p, IDC_MISC_REPLY_MARKS);
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), expected);
    const Cleaning_settings& now = store->current_settings();
    const char* finds[] = {" ", "  two  ", "gone", "", "five"};
    const char* replaces[] = {"_", " 2 ", "", "", "5 "};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(now.misc_find[j], finds[j]);
        EXPECT_EQ(now.misc_replace[j], replaces[j]);
    }
    EXPECT_EQ(stored(setting::misc_tab_replace), 4);
    EXPECT_EQ(stored(setting::misc_case_sensitive), 0);
    EXPECT_EQ(stored(setting::misc_remove_reply_marks), 1);
}

// --- Number fields of every page ------------------------------------------------------------

// Each number field, its page, the largest number of its range and the message that names both.
struct Number_field {
    int page, id;
    long long max;
    const char* message;
    std::size_t digits() const { return std::to_string(max).size(); }
};
const Number_field number_fields[] = {
    {0, IDC_PARA_INDENT_SPACES, 999,
     "The number of spaces that begins a new paragraph must be a number from 0 to 999."},
    {0, IDC_PARA_MAX_CHARS, 999999,
     "The maximum number of characters on a paragraph line must be a number from 0 to 999999."},
    {1, IDC_SPAC_INDENT, 999, "The paragraph indentation must be a number from 0 to 999."},
    {1, IDC_SPAC_LINES, 999,
     "The number of lines in between paragraphs must be a number from 0 to 999."},
    {1, IDC_SPAC_TAB_STOPS, 999, "The tab stops must be a number from 0 to 999."},
    {2, IDC_LIST_INDENT, INT32_MAX, "The list indentation must be a number of 0 or more."},
    {2, IDC_LIST_MAX_LENGTH, 999999,
     "The maximum length of a list item line must be a number from 1 to 999999."},
};

// Opens page index with every number field on it enabled.
HWND open_with_numbers_enabled(HWND sheet, int index)
{
    // Chosen again, the page shown would be asked to let go.
    if (SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page_of(sheet)), 0) != index)
        go_to(sheet, index);
    HWND p = page_of(sheet);
    const std::pair<int, bool> boxes[][3] = {
        {{IDC_PARA_REMOVE_BREAKS, true}, {IDC_PARA_INDENTED, true}, {IDC_PARA_UNLIMITED, false}},
        {{IDC_SPAC_ADJUST_INDENT, true}, {IDC_SPAC_ADJUST_SPACING, true}, {IDC_SPAC_ADJUST_INDENT, true}},
        {{IDC_LIST_NUMBERS, true}, {IDC_LIST_FORMAT_INDENTED, true}, {IDC_LIST_ADJUST_INDENT, true}},
    };
    for (const auto& [id, on] : boxes[index])
        if (checked(p, id) != on) click(p, id);
    return p;
}

TEST_F(Options, NumberFieldsTakeAsManyDigitsAsTheirRangeNeedsFromTheKeyboard)
{
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        HWND p = nullptr;
        for (const Number_field& f : number_fields) {
            SCOPED_TRACE(f.message);
            p = open_with_numbers_enabled(sheet, f.page);
            ASSERT_TRUE(enabled(p, f.id));
            EXPECT_NE(GetWindowLongPtrA(GetDlgItem(p, f.id), GWL_STYLE) & ES_AUTOHSCROLL, 0);
            keys(p, f.id, "abc99999999999");
            EXPECT_EQ(text(p, f.id), std::string(f.digits(), '9'));
            keys(p, f.id, "1x0-0");
            EXPECT_EQ(text(p, f.id), "100");
        }
        // The list indentation must stay below the maximum length.
        keys(p, IDC_LIST_MAX_LENGTH, "200");
        // Typed with the line breaks left alone, the width still counts.
        p = open_with_numbers_enabled(sheet, 0);
        click(p, IDC_PARA_REMOVE_BREAKS);
        keys(p, IDC_PARA_MAX_CHARS, "72");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), std::vector<std::string>{});
    EXPECT_EQ(stored(setting::para_remove_line_breaks), 0);
    EXPECT_EQ(stored(setting::para_max_chars_on_para_line), 72);
    EXPECT_EQ(stored(setting::spac_tab_stops), 100);
    EXPECT_EQ(stored(setting::list_num_indent_spaces), 100);
    EXPECT_EQ(stored(setting::list_max_line_length), 200);
}

TEST_F(Options, ANumberOutsideItsRangeOrNotANumberIsRefusedWithTheFieldAndItsRange)
{
    // What a paste or another program can put where the keyboard cannot.
    const char* const bad[] = {"1000", "99999999999", "abc", "7 ", "-1", "0"};
    std::vector<std::string> expected;
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        for (const Number_field& f : number_fields) {
            HWND p = open_with_numbers_enabled(sheet, f.page);
            // Room for any indentation the range allows.
            if (f.id == IDC_LIST_INDENT) type(p, IDC_LIST_MAX_LENGTH, "999999");
            for (const std::string text : bad) {
                SCOPED_TRACE(testing::Message() << f.message << " <- " << text);
                const bool digits = text.find_first_not_of("0123456789") == std::string::npos;
                const bool fits = digits && std::stoll(text) <= f.max;
                // The maximum length keeps its own words for 0.
                const char* own = f.id == IDC_LIST_MAX_LENGTH && text == "0"
                    ? "The maximum length of a list item line must be greater than zero."
                    // Beyond what a setting holds, the list indentation keeps its own words.
                    : f.id == IDC_LIST_INDENT && digits && !fits
                    ? "The list indentation is too large.  Please enter a smaller number."
                    : nullptr;
                type(p, f.id, text);
                go_to(sheet, 3);
                if (fits && !own) {
                    EXPECT_NE(page_of(sheet), p);
                    p = open_with_numbers_enabled(sheet, f.page);
                    continue;
                }
                expected.push_back(std::string("OOPS!: ") + (own ? own : f.message));
                EXPECT_EQ(page_of(sheet), p);
                EXPECT_EQ(focus_id(), f.id);
            }
            type(p, f.id, f.id == IDC_LIST_MAX_LENGTH ? "60" : "8");
        }
        go_to(sheet, 0);
        type(page_of(sheet), IDC_PARA_MAX_CHARS, "999999");
        press_ok(sheet);
    });
    run_sheet(script);
    EXPECT_EQ(messages(), expected);
    EXPECT_EQ(stored(setting::para_max_chars_on_para_line), 999999);
    EXPECT_EQ(stored(setting::spac_lines_between_paras), 8);
    EXPECT_EQ(stored(setting::list_num_indent_spaces), 8);
    EXPECT_EQ(stored(setting::list_max_line_length), 60);
}

// --- Characters page -------------------------------------------------------------------------

// The five flags load from the sheet's settings and from a chosen preset, a click or the space
// bar on a box unties the settings from the preset, and OK stores each box in its own value.
TEST_F(Options, CharactersPageShowsAndStoresItsFiveFlags)
{
    const std::pair<int, Int_setting> flags[] = {{IDC_CHAR_QUOTES, setting::char_straight_quotes},
                                                 {IDC_CHAR_DASHES, setting::char_plain_dashes},
                                                 {IDC_CHAR_ELLIPSIS, setting::char_plain_ellipsis},
                                                 {IDC_CHAR_SPACES, setting::char_plain_spaces},
                                                 {IDC_CHAR_INVISIBLE, setting::char_remove_invisible}};
    Cleaning_settings start = store->current_settings();
    start.char_plain_dashes = 1;
    start.char_remove_invisible = 1;
    store->set_current_settings(start);
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 4);
        HWND p = page_of(sheet);
        for (const auto& [id, s] : flags) EXPECT_EQ(checked(p, id), s.of(start) == 1) << s.name;
        choose(p, IDC_PRESET_COMBO, full_cleaning_name);
        for (const auto& [id, s] : flags) EXPECT_FALSE(checked(p, id)) << s.name;
        click(p, IDC_CHAR_QUOTES);
        click(p, IDC_CHAR_INVISIBLE);
        // The space bar through the real input queue, as on a box that has the focus.
        SetFocus(GetDlgItem(p, IDC_CHAR_SPACES));
        INPUT space[2] = {};
        space[0].type = space[1].type = INPUT_KEYBOARD;
        space[0].ki.wVk = space[1].ki.wVk = VK_SPACE;
        space[1].ki.dwFlags = KEYEVENTF_KEYUP;
        EXPECT_EQ(SendInput(2, space, sizeof(INPUT)), 2u);
    });
    script.on(sheet_caption, [&](HWND sheet) {
        HWND p = page_of(sheet);
        EXPECT_TRUE(checked(p, IDC_CHAR_SPACES));
        EXPECT_EQ(selected(p, IDC_PRESET_COMBO), "(none)");
        go_to(sheet, 0);
        EXPECT_EQ(edited(sheet).char_plain_spaces, 1);
        press_ok(sheet);
    });
    run_sheet(script);
    const int expected[] = {1, 0, 0, 1, 1};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(stored(flags[k].second), expected[k]) << flags[k].second.name;
        EXPECT_EQ(flags[k].second.of(store->current_settings()), expected[k]) << flags[k].second.name;
    }
    EXPECT_EQ(context().presets.current_preset_name, "(none)");
    EXPECT_TRUE(boxes.empty());
}

// --- Preset Commands -------------------------------------------------------------------------

// Questions recorded and answered instead of shown.
class Answering_comms : public D_preset_comms {
public:
    using D_preset_comms::D_preset_comms;
    std::deque<int> answers;
    std::vector<std::string> asked;

protected:
    int ask(const std::string& text, const std::string& caption, UINT style) override
    {
        asked.push_back(caption + ": " + text + " [" + std::to_string(style) + "]");
        int answer = answers.empty() ? IDNO : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
};

class PresetCommands : public Options {
protected:
    // Runs the dialog with the steps, each acting on the open dialog.
    INT_PTR run(Answering_comms& dialog, const std::vector<Script::Action>& steps)
    {
        Script script;
        for (const auto& step : steps) script.on(comms_caption, step);
        INT_PTR result = -2;
        script.run([&] { result = dialog.run_modal(nullptr); });
        return result;
    }
    void save_user_preset(const std::string& name)
    {
        ASSERT_TRUE(store->copy_temp_to_preset(name, sheet_values));
    }
    bool in_registry(const std::string& name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, program_key("Presets\\" + name).c_str(), 0, KEY_READ,
                          &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    Preset_state& presets() { return context().presets; }
    void SetUp() override
    {
        Options::SetUp();
        sheet_values = store->current_settings();
    }
    // What the options sheet would hand the dialog to save.
    Cleaning_settings sheet_values;
    static Script::Action ok() { return [](HWND d) { click(d, IDOK); }; }
};

const UINT question_no_default = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
const UINT question_yes_default = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1;

TEST_F(PresetCommands, WithoutUserPresetsOnlyANewPresetCanBeSaved)
{
    Answering_comms dialog(presets(), sheet_values);
    INT_PTR result = run(dialog, {[&](HWND d) {
        for (int id : {IDC_COMMS_OVERWRITE_LIST, IDC_COMMS_REMOVE_LIST}) {
            EXPECT_EQ(selected(d, id), "(No user-defined presets exist.)");
            EXPECT_EQ(SendMessageA(GetDlgItem(d, id), CB_GETCOUNT, 0, 0), 1);
        }
        for (int id : {IDC_COMMS_OVERWRITE, IDC_COMMS_OVERWRITE_LIST, IDC_COMMS_REMOVE,
                       IDC_COMMS_REMOVE_LIST})
            EXPECT_FALSE(enabled(d, id)) << id;
        EXPECT_TRUE(enabled(d, IDC_COMMS_NEW_NAME));
        for (int id : {IDC_COMMS_NEW, IDC_COMMS_OVERWRITE, IDC_COMMS_REMOVE})
            EXPECT_FALSE(checked(d, id));
        EXPECT_EQ(SendMessageA(GetDlgItem(d, IDC_COMMS_NEW_NAME), EM_GETLIMITTEXT, 0, 0), 80);
        click(d, IDOK);
        click(d, IDC_COMMS_NEW);
        click(d, IDOK);
        EXPECT_EQ(focus_id(), IDC_COMMS_NEW_NAME);
        type(d, IDC_COMMS_NEW_NAME, " \t  ");
        click(d, IDOK);
        type(d, IDC_COMMS_NEW_NAME, "Full Cleaning");
        click(d, IDOK);
        // Blanks at the ends and case make no name of their own.
        type(d, IDC_COMMS_NEW_NAME, "full cleaning ");
        click(d, IDOK);
        EXPECT_EQ(focus_id(), IDC_COMMS_NEW_NAME);
        type(d, IDC_COMMS_NEW_NAME, "a\\b");
        click(d, IDOK);
        EXPECT_TRUE(is_open(d));
        EXPECT_EQ(text(d, IDC_COMMS_NEW_NAME), "a\\b");
        type(d, IDC_COMMS_NEW_NAME, "  My  mail ");
        click(d, IDOK);
    }});
    EXPECT_EQ(result, IDOK);
    const std::string predefined = "\") matches the name of a predefined preset.  Please choose a "
                                   "different name.";
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].text, "Please select a command.  (Click on one of the circles on the left.)");
    EXPECT_EQ(boxes[1].text, "No name was given for the new preset.\n");
    EXPECT_EQ(boxes[2].text, boxes[1].text);
    EXPECT_EQ(boxes[3].text, "The name of the new preset (\"Full Cleaning" + predefined);
    EXPECT_EQ(boxes[4].text, "The name of the new preset (\"full cleaning" + predefined);
    EXPECT_EQ(boxes[0].caption, "OOPS!");
    EXPECT_EQ(boxes[5].kind, Box_kind::warning);
    EXPECT_NE(boxes[5].text.find("a\\b"), std::string::npos);
    EXPECT_FALSE(store->preset_exists("a\\b"));
    EXPECT_EQ(store->list_presets(true, false), std::vector<std::string>{"My  mail"});
    EXPECT_TRUE(in_registry("My  mail"));
    EXPECT_EQ(presets().pending_preset_name, "My  mail");
    EXPECT_TRUE(dialog.asked.empty());
}

TEST_F(PresetCommands, ANameDifferingInCaseOrEndBlanksAsksToOverwriteThatPresetAndKeepsItsName)
{
    save_user_preset("letters");
    sheet_values.spac_tab_stops = 11;
    Answering_comms dialog(presets(), sheet_values);
    dialog.answers = {IDNO, IDYES};
    INT_PTR result = run(dialog, {[&](HWND d) {
        SetFocus(GetDlgItem(d, IDC_COMMS_NEW_NAME));
        EXPECT_TRUE(checked(d, IDC_COMMS_NEW));
        EXPECT_FALSE(enabled(d, IDC_COMMS_OVERWRITE_LIST));
        EXPECT_FALSE(enabled(d, IDC_COMMS_REMOVE_LIST));
        type(d, IDC_COMMS_NEW_NAME, " Letters ");
        click(d, IDOK);
        EXPECT_TRUE(is_open(d));
        EXPECT_EQ(store->get_preset("letters").spac_tab_stops,
                  store->current_settings().spac_tab_stops);
        click(d, IDOK);
    }});
    EXPECT_EQ(result, IDOK);
    const std::string question = "Replace existing preset?: Would you like to overwrite the "
                                 "existing preset named \"letters\"? [" +
                                 std::to_string(question_no_default) + "]";
    EXPECT_EQ(dialog.asked, (std::vector<std::string>{question, question}));
    EXPECT_EQ(store->get_preset("letters").spac_tab_stops, 11);
    EXPECT_EQ(registry_int(program_key("Presets\\letters"), setting::spac_tab_stops.name, 0), 11u);
    EXPECT_EQ(store->list_presets(true, false), std::vector<std::string>{"letters"});
    EXPECT_EQ(presets().pending_preset_name, "letters");
}

TEST_F(PresetCommands, OverwriteAndRemoveFollowTheFocusAndTheirLists)
{
    save_user_preset("Alpha");
    save_user_preset("Beta");
    presets().pending_preset_name = "Beta";
    sheet_values.spac_tab_stops = 13;
    {
        Answering_comms dialog(presets(), sheet_values);
        INT_PTR result = run(dialog, {[&](HWND d) {
            EXPECT_EQ(selected(d, IDC_COMMS_OVERWRITE_LIST), "Beta");
            // Only an enabled input can take the focus: each step makes the next one reachable.
            SetFocus(GetDlgItem(d, IDC_COMMS_OVERWRITE_LIST));
            EXPECT_TRUE(checked(d, IDC_COMMS_OVERWRITE));
            EXPECT_FALSE(enabled(d, IDC_COMMS_NEW_NAME));
            EXPECT_FALSE(enabled(d, IDC_COMMS_REMOVE_LIST));
            click(d, IDC_COMMS_REMOVE);
            SetFocus(GetDlgItem(d, IDC_COMMS_REMOVE_LIST));
            EXPECT_TRUE(checked(d, IDC_COMMS_REMOVE));
            EXPECT_FALSE(checked(d, IDC_COMMS_OVERWRITE));
            EXPECT_FALSE(enabled(d, IDC_COMMS_OVERWRITE_LIST));
            click(d, IDC_COMMS_OVERWRITE);
            EXPECT_FALSE(enabled(d, IDC_COMMS_REMOVE_LIST));
            choose(d, IDC_COMMS_OVERWRITE_LIST, "Alpha");
            click(d, IDOK);
        }});
        EXPECT_EQ(result, IDOK);
        EXPECT_TRUE(dialog.asked.empty());
        EXPECT_EQ(registry_int(program_key("Presets\\Alpha"), setting::spac_tab_stops.name, 0), 13u);
        EXPECT_EQ(presets().pending_preset_name, "Alpha");
    }
    {
        Answering_comms dialog(presets(), sheet_values);
        dialog.answers = {IDNO, IDYES};
        INT_PTR result = run(dialog, {[&](HWND d) {
            click(d, IDC_COMMS_REMOVE);
            EXPECT_TRUE(enabled(d, IDC_COMMS_REMOVE_LIST));
            EXPECT_FALSE(enabled(d, IDC_COMMS_OVERWRITE_LIST));
            EXPECT_EQ(selected(d, IDC_COMMS_REMOVE_LIST), "Alpha");
            click(d, IDOK);
            EXPECT_TRUE(is_open(d));
            EXPECT_TRUE(store->preset_exists("Alpha"));
            click(d, IDOK);
        }});
        EXPECT_EQ(result, IDOK);
        const std::string question = "Are you sure?: Are you sure you want to delete the preset "
                                     "named \"Alpha\"?  Once deleted, it cannot be recovered. [" +
                                     std::to_string(question_yes_default) + "]";
        EXPECT_EQ(dialog.asked, (std::vector<std::string>{question, question}));
        EXPECT_FALSE(store->preset_exists("Alpha"));
        EXPECT_FALSE(in_registry("Alpha"));
        EXPECT_EQ(presets().pending_preset_name, "(none)");
    }
}

TEST_F(Options, APresetSavedDuringACancelledSheetStaysAndIsListed)
{
    Script script;
    script.on(sheet_caption, [&](HWND sheet) {
        go_to(sheet, 1);
        type(page_of(sheet), IDC_SPAC_TAB_STOPS, "3");
        click(page_of(sheet), IDC_PRESETS_BUTTON);
    });
    script.on(comms_caption, [&](HWND d) {
        type(d, IDC_COMMS_NEW_NAME, "Mine");
        click(d, IDC_COMMS_NEW);
        click(d, IDOK);
    });
    script.on(sheet_caption, [&](HWND sheet) {
        EXPECT_EQ(selected(page_of(sheet), IDC_PRESET_COMBO), "Mine");
        press_cancel(sheet);
    });
    run_sheet(script);
    EXPECT_TRUE(store->preset_exists("Mine"));
    EXPECT_EQ(registry_int(program_key("Presets\\Mine"), setting::spac_tab_stops.name, 0), 3u);
    EXPECT_NE(store->current_settings().spac_tab_stops, 3);
    D_preset_combo_box& toolbar = frame->toolbar.combo();
    bool listed = false;
    for (int i = 0; i < toolbar.count(); ++i) listed = listed || toolbar.item_text(i) == "Mine";
    EXPECT_TRUE(listed);
    EXPECT_EQ(toolbar.get_selected_name(), context().presets.current_preset_name);
}

}  // namespace
