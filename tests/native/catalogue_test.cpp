#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/catalogue.h"

namespace {

// The 39 first written keep their places; the five "char-" flags follow them.
TEST(Catalogue, TheTableHoldsThe44NamesOnceIntegersTextsThenTheCharacterFlags)
{
    EXPECT_STREQ(setting_fields.front().name(), "para-remove line breaks");
    EXPECT_STREQ(setting_fields[14].name(), "spac-tab stops");
    EXPECT_STREQ(setting_fields[27].name(), "misc-tab replace");
    EXPECT_STREQ(setting_fields[28].name(), "list-id custom");
    EXPECT_STREQ(setting_fields[38].name(), "misc-replace 4");
    const char* const added[] = {"char-straight quotes", "char-plain dashes", "char-plain ellipsis",
                                 "char-plain spaces", "char-remove invisible"};
    std::set<std::string> names;
    int texts = 0;
    for (std::size_t i = 0; i < setting_fields.size(); ++i) {
        const Setting_field& field = setting_fields[i];
        names.insert(field.name());
        // The registry stores the 28 integers as REG_DWORD, the 11 texts as REG_SZ, then the
        // five flags; only those may be missing from a key.
        EXPECT_EQ(field.is_text(), i >= 28 && i < 39) << field.name();
        EXPECT_EQ(field.may_be_absent, i >= 39) << field.name();
        if (i >= 39) {
            EXPECT_STREQ(field.name(), added[i - 39]);
            EXPECT_EQ(field.kind, Setting_kind::flag) << field.name();
            EXPECT_EQ(field.full, 0) << field.name();
            EXPECT_EQ(field.light, 0) << field.name();
        }
        texts += field.is_text();
    }
    EXPECT_EQ(names.size(), 44u);
    EXPECT_EQ(texts, 11);
}

// Each field reaches its own member: writing one changes exactly one value of a record.
TEST(Catalogue, EveryFieldReachesAMemberOfItsOwn)
{
    for (const Setting_field& field : setting_fields) {
        Cleaning_settings record = builtin_preset(Builtin_preset::full);
        const Cleaning_settings before = record;
        if (field.is_text())
            field.text.of(record) = "x";
        else
            field.integer.of(record) += 7;
        int changed = 0;
        for (const Setting_field& other : setting_fields)
            changed += other.is_text() ? other.text.of(record) != other.text.of(before)
                                       : other.integer.of(record) != other.integer.of(before);
        EXPECT_EQ(changed, 1) << field.name();
        EXPECT_FALSE(same_settings(record, before)) << field.name();
    }
}

TEST(Catalogue, PresetsDifferInExactlyTheEightDocumentedSettings)
{
    const Cleaning_settings full = builtin_preset(Builtin_preset::full);
    const Cleaning_settings light = builtin_preset(Builtin_preset::light);
    std::set<std::string> differing;
    for (const Setting_field& field : setting_fields) {
        if (field.is_text()) {
            EXPECT_EQ(field.text.of(full), "");
            EXPECT_EQ(field.text.of(light), "");
        } else if (field.integer.of(full) != field.integer.of(light)) {
            differing.insert(field.name());
            EXPECT_EQ(field.integer.of(full), 1) << field.name();
        }
    }
    const std::set<std::string> expected = {
        "para-remove line breaks", "spac-adjust para spacing", "list-id numbers",
        "list-id letters",         "list-id roman",            "list-id '- '",
        "list-id '* '",            "list-id 'o '"};
    EXPECT_EQ(differing, expected);
}

TEST(Catalogue, FullCleaningHasTheTableValuesWithinTheirRanges)
{
    const Cleaning_settings full = builtin_preset(Builtin_preset::full);
    const std::pair<const char*, int> values[] = {
        {"para-punct mark ends para", 0}, {"para-spaces between sents", 2},
        {"para-blank lines separate paras", 1}, {"para-max chars on para line", 0},
        {"spac-adjust para indent", 1}, {"spac-lines between paras", 1},
        {"spac-num spaces between sents", 2}, {"spac-tab stops", 4}, {"list-format", 0},
        {"list-num indent spaces", 2}, {"list-max line length", 65},
        {"misc-remove reply marks", 1}, {"misc-case sensitive", 0}, {"misc-tab replace", 4}};
    for (auto [name, value] : values) EXPECT_EQ(find_setting(name)->integer.of(full), value) << name;
    for (const Setting_field& field : setting_fields) {
        if (field.is_text()) continue;
        EXPECT_TRUE(field.in_range(field.full)) << field.name();
        EXPECT_TRUE(field.in_range(field.light)) << field.name();
        if (field.kind == Setting_kind::flag) {
            EXPECT_EQ(field.range_text().substr(0, 6), "0 or 1") << field.name();
        }
    }
}

// The ranges that --help prints and that the option pages and --set enforce.
TEST(Catalogue, RangesAreThoseThePagesAccept)
{
    const struct {
        const char* name;
        long long below, lowest, highest, above;
        const char* text;
    } cases[] = {
        {"para-spaces between sents", 0, 1, 2, 3, "1 or 2"},
        {"para-max chars on para line", -1, 0, 999999, 1000000, "0 to 999999, 0: unlimited"},
        {"spac-tab stops", -1, 0, 999, 1000, "0 to 999"},
        {"list-max line length", 0, 1, 999999, 1000000, "1 to 999999"},
        {"list-num indent spaces", -1, 0, 2147483647, 2147483648LL, "0 or more"},
        {"misc-tab replace", -1, 0, 4, 5,
         "0 tabs to spaces, 1 spaces to tabs, 2 tabs to commas, 3 commas to tabs, 4 none"},
        {"list-id 'o '", -1, 0, 1, 2, "0 or 1"},
    };
    for (const auto& c : cases) {
        const Setting_field* field = find_setting(c.name);
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_FALSE(field->in_range(c.below)) << c.name;
        EXPECT_TRUE(field->in_range(c.lowest)) << c.name;
        EXPECT_TRUE(field->in_range(c.highest)) << c.name;
        EXPECT_FALSE(field->in_range(c.above)) << c.name;
        EXPECT_EQ(field->range_text(), c.text);
    }
}

TEST(Catalogue, NamesMatchExactlyQuotesAndSpacesIncluded)
{
    EXPECT_NE(find_setting("list-id '- '"), nullptr);
    EXPECT_EQ(find_setting("list-id '- '")->integer.member, &Cleaning_settings::list_id_dash);
    EXPECT_EQ(find_setting("list-id '-'"), nullptr);
    EXPECT_EQ(find_setting("list-id \"- \""), nullptr);
    EXPECT_EQ(find_setting("List-id '- '"), nullptr);
    EXPECT_TRUE(find_setting("misc-find 3")->is_text());
    EXPECT_EQ(find_setting("preset type"), nullptr);
}

}  // namespace
