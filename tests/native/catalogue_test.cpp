#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/cleaning_settings.h"

namespace {

Cleaning_settings preset(Builtin_preset which)
{
    Cleaning_settings record;
    build_builtin_preset(record, which);
    return record;
}

TEST(Catalogue, TablesHoldTheNamesInOrderWithoutRepeats)
{
    EXPECT_STREQ(int_setting_names.front(), "para-remove line breaks");
    EXPECT_STREQ(int_setting_names[14], "spac-tab stops");
    EXPECT_STREQ(int_setting_names.back(), "misc-tab replace");
    EXPECT_STREQ(string_setting_names.front(), "list-id custom");
    EXPECT_STREQ(string_setting_names.back(), "misc-replace 4");
    std::set<std::string> all(int_setting_names.begin(), int_setting_names.end());
    all.insert(string_setting_names.begin(), string_setting_names.end());
    EXPECT_EQ(all.size(), 39u);
}

TEST(Catalogue, PresetsDifferInExactlyTheEightDocumentedSettings)
{
    Cleaning_settings full = preset(Builtin_preset::full), light = preset(Builtin_preset::light);
    std::set<std::string> differing;
    for (const char* name : int_setting_names)
        if (full.get_int(name) != light.get_int(name)) differing.insert(name);
    const std::set<std::string> expected = {
        "para-remove line breaks", "spac-adjust para spacing", "list-id numbers",
        "list-id letters",         "list-id roman",            "list-id '- '",
        "list-id '* '",            "list-id 'o '"};
    EXPECT_EQ(differing, expected);
    for (const std::string& name : expected) EXPECT_EQ(full.get_int(name), 1) << name;
    for (const char* name : string_setting_names) {
        EXPECT_EQ(full.get_string(name), "");
        EXPECT_EQ(light.get_string(name), "");
    }
}

TEST(Catalogue, FullCleaningHasTheTableValues)
{
    Cleaning_settings full = preset(Builtin_preset::full);
    const std::pair<const char*, int> values[] = {
        {"para-punct mark ends para", 0}, {"para-spaces between sents", 2},
        {"para-blank lines separate paras", 1}, {"para-max chars on para line", 0},
        {"spac-adjust para indent", 1}, {"spac-lines between paras", 1},
        {"spac-num spaces between sents", 2}, {"spac-tab stops", 4}, {"list-format", 0},
        {"list-num indent spaces", 2}, {"list-max line length", 65},
        {"misc-remove reply marks", 1}, {"misc-case sensitive", 0}, {"misc-tab replace", 4},
        {"preset type", PRESET_PREDEFINED}};
    for (auto [name, value] : values) EXPECT_EQ(full.get_int(name), value) << name;
    EXPECT_EQ(full.size(), 40u);  // 39 settings and "preset type"
}

TEST(Catalogue, KindsFollowFromTheTablesAndQuotesAndSpacesMatter)
{
    EXPECT_EQ(setting_kind("list-id '- '"), Setting_kind::integer);
    EXPECT_EQ(setting_kind("list-id '-'"), Setting_kind::none);
    EXPECT_EQ(setting_kind("list-id \"- \""), Setting_kind::none);
    EXPECT_EQ(setting_kind("List-id '- '"), Setting_kind::none);
    EXPECT_EQ(setting_kind("misc-find 3"), Setting_kind::text);
    EXPECT_EQ(setting_kind("preset type"), Setting_kind::none);
}

TEST(Catalogue, WritesChangeValuesInPlaceAndClearEmpties)
{
    Cleaning_settings record = preset(Builtin_preset::light);
    record.set_int("spac-tab stops", 8);
    record.set_string("misc-find 0", "teh");
    EXPECT_EQ(record.get_int("spac-tab stops"), 8);
    EXPECT_EQ(record.get_string("misc-find 0"), "teh");
    record.clear();
    EXPECT_TRUE(record.empty());
}

using CatalogueDeath = ::testing::Test;

TEST(CatalogueDeath, MissingNameIsAnInternalErrorThatEndsWithCodeZero)
{
    Cleaning_settings record = preset(Builtin_preset::full);
    EXPECT_EXIT(record.get_int("list-id '-'"), ::testing::ExitedWithCode(0),
                "An internal error has occured.  \\(Error Codes: cleaning_settings.cpp, [0-9]+\\)");
    EXPECT_EXIT(record.set_string("misc-find 5", "x"), ::testing::ExitedWithCode(0),
                "CRITICAL ERROR");
    Cleaning_settings current;
    for (const char* name : int_setting_names) current.put_int(name, 0);
    EXPECT_EXIT(current.get_int("preset type"), ::testing::ExitedWithCode(0), "internal error");
}

}  // namespace
