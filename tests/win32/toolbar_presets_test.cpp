// The toolbar's preset selector against the real registry: its list, and what choosing an
// entry does to the current settings.
#include "tests/win32/program_test_support.h"

#include <vector>

#include "framework/controls.h"
#include "resources/resource.h"
#include "dialogs/D_preset_combo_box.h"
#include "settings/catalogue.h"

namespace {

class ToolbarSelector : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        build();
        combo = &frame->toolbar.combo();
    }
    std::vector<std::string> entries()
    {
        std::vector<std::string> names;
        for (int i = 0; i < combo->count(); ++i) names.push_back(combo->item_text(i));
        return names;
    }
    // As a person does it: the focus on the list, then an arrow key.
    void press(WPARAM key)
    {
        SetFocus(combo->hwnd());
        SendMessageA(combo->hwnd(), WM_KEYDOWN, key, 0);
    }
    std::string current_values_path() { return program_key("Current Cleaning Settings"); }
    // A key as the keyboard gives it to the window with the focus; then what it posted.
    static void key_to_focus(WPARAM key)
    {
        SendMessageA(GetFocus(), WM_KEYDOWN, key, 0);
        if (key >= 'A' && key <= 'Z') SendMessageA(GetFocus(), WM_CHAR, key, 0);
        SendMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    D_preset_combo_box* combo = nullptr;
};

TEST_F(ToolbarSelector, ListsNoneFirstThenThePresetsSorted)
{
    EXPECT_EQ(entries(),
              (std::vector<std::string>{"(none)", "Full Cleaning", "Light Cleaning"}));
    // Start-up selects the current preset, "Full Cleaning" on a first start.
    EXPECT_EQ(combo->get_selected_name(), "Full Cleaning");
}

TEST_F(ToolbarSelector, ChoosingLightCleaningWritesTheRegistryAtOnce)
{
    combo->select_string("Full Cleaning");
    press(VK_DOWN);
    ASSERT_EQ(combo->get_selected_name(), "Light Cleaning");
    EXPECT_EQ(context().presets.current_preset_name, "Light Cleaning");

    const Cleaning_settings light = builtin_preset(Builtin_preset::light);
    Cleaning_settings stored;
    ASSERT_TRUE(store->read_prefs_from_reg(HKEY_CURRENT_USER,
                                                    current_values_path().c_str(), stored));
    EXPECT_TRUE(stored == light);
    EXPECT_TRUE(store->current_settings() == light);
}

TEST_F(ToolbarSelector, AChoiceOrEscapeHandsTheKeyboardBackToTheEditor)
{
    struct Case {
        const char* how;
        std::vector<WPARAM> keys;
        const char* chosen;
    };
    const Case cases[] = {
        {"Enter in the open list", {VK_F4, VK_DOWN, VK_RETURN}, "Light Cleaning"},
        {"Escape in the open list", {VK_F4, VK_ESCAPE}, "Light Cleaning"},
        {"Escape on the closed box", {VK_ESCAPE}, "Light Cleaning"},
        {"Enter on the closed box", {VK_RETURN}, "Light Cleaning"},
        {"an arrow on the closed box", {VK_UP}, "Full Cleaning"},
    };
    HWND editor = view->hwnd();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        SetFocus(combo->hwnd());
        ASSERT_EQ(GetFocus(), combo->hwnd());
        for (WPARAM key : c.keys) key_to_focus(key);
        EXPECT_EQ(GetFocus(), editor);
        EXPECT_EQ(combo->get_selected_name(), c.chosen);
        // What a person types next goes into the text, not into the choice.
        for (WPARAM key : {'L', 'O', 'O', 'K', 'S'}) key_to_focus(key);
        EXPECT_EQ(window_text(editor), "LOOKS");
        EXPECT_EQ(combo->get_selected_name(), c.chosen);
        EXPECT_EQ(context().presets.current_preset_name, c.chosen);
        SetWindowTextA(editor, "");
    }
    // A click elsewhere while the list is open keeps the focus where it went.
    SetFocus(combo->hwnd());
    key_to_focus(VK_F4);
    HWND elsewhere = frame->status_bar.hwnd();
    SetFocus(elsewhere);
    key_to_focus(VK_SHIFT);
    EXPECT_EQ(GetFocus(), elsewhere);
}

TEST_F(ToolbarSelector, ChoosingNoneWritesNothing)
{
    // A value only the registry holds: a write of the current settings would replace it.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, current_values_path().c_str(), 0, KEY_SET_VALUE,
                            &key),
              ERROR_SUCCESS);
    DWORD marker = 7;
    RegSetValueExA(key, "spac-tab stops", 0, REG_DWORD, reinterpret_cast<BYTE*>(&marker),
                   sizeof marker);
    RegCloseKey(key);

    combo->select_string("Full Cleaning");
    press(VK_HOME);
    ASSERT_EQ(combo->get_selected_name(), "(none)");
    EXPECT_EQ(context().presets.current_preset_name, "(none)");
    EXPECT_EQ(registry_int(current_values_path(), "spac-tab stops", 0), 7u);
}

TEST_F(ToolbarSelector, SelectingANameMatchesPrefixesIgnoringCase)
{
    EXPECT_GE(combo->select_string("light"), 0);
    EXPECT_EQ(combo->get_selected_name(), "Light Cleaning");
    EXPECT_GE(combo->select_string("FULL"), 0);
    EXPECT_EQ(combo->get_selected_name(), "Full Cleaning");
    context().presets.pending_preset_name = "Light";
    combo->init(true, true, true, nullptr);
    EXPECT_EQ(combo->get_selected_name(), "Light Cleaning");
    context().presets.pending_preset_name = "No such preset";
    combo->init(true, true, true, nullptr);
    EXPECT_EQ(combo->selection(), -1);
}

TEST_F(ToolbarSelector, UserPresetsJoinTheListInOrder)
{
    store->copy_temp_to_preset("Aardvark", store->current_settings());
    store->copy_temp_to_preset("Mail", store->current_settings());
    combo->init(true, true, true, nullptr);
    EXPECT_EQ(entries(), (std::vector<std::string>{"(none)", "Aardvark", "Full Cleaning",
                                                   "Light Cleaning", "Mail"}));
    combo->init(true, false, false, nullptr);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Aardvark", "Mail"}));
}

}  // namespace
