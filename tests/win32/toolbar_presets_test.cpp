// The toolbar's preset selector against the real registry: its list, and what choosing an
// entry does to the current settings.
#include "tests/win32/program_test_support.h"

#include <vector>

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
