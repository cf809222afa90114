// The settings store on the real registry of the test prefix. Every test starts from an empty
// HKCU\Software\Meradon that it builds with the registry API, and removes it afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "base/diagnostics.h"
#include "engine/cleaning.h"
#include "engine/text_encoding.h"
#include "settings/Cleaning_prefs.h"
#include "settings/catalogue.h"
#include "tests/win32/test_files.h"

namespace {

const char* const root_path = "Software\\Meradon";
const std::string presets_path = "Software\\Meradon\\Sorvane\\Presets";
const std::string current_path = "Software\\Meradon\\Sorvane\\Current Cleaning Settings";

struct Value {
    bool present = false;
    DWORD type = REG_NONE;
    std::string data;
};

HKEY create_key(const std::string& path)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    return key;
}

void put(const std::string& path, const std::string& name, DWORD type, const std::string& data)
{
    HKEY key = create_key(path);
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// Bytes as they are, whatever the type (the 8-bit call would convert string types).
void put_raw(const std::string& path, const std::string& name, DWORD type, const std::string& data)
{
    HKEY key = create_key(path);
    const std::u16string wide_name = utf8_to_utf16(name);
    EXPECT_EQ(RegSetValueExW(key, reinterpret_cast<const wchar_t*>(wide_name.c_str()), 0, type,
                             reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::string dword_bytes(std::int32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }

// The record's value of a setting as the registry holds it: the 4 bytes, or the text in UTF-16
// and its NUL.
std::string stored_bytes(const Setting_field& field, const Cleaning_settings& record)
{
    if (!field.is_text()) return dword_bytes(field.integer.of(record));
    const std::u16string units = utf8_to_utf16(field.text.of(record)) + u'\0';
    return std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2);
}
std::int32_t int_of(const Cleaning_settings& record, std::string_view name)
{
    return find_setting(name)->integer.of(record);
}
const std::string& text_of(const Cleaning_settings& record, std::string_view name)
{
    return find_setting(name)->text.of(record);
}

// Stores the values of record the way the program does, leaving out the names in skip.
void store(const std::string& path, const Cleaning_settings& record,
           const std::set<std::string>& skip = {})
{
    RegCloseKey(create_key(path));
    for (const Setting_field& field : setting_fields)
        if (!skip.count(field.name()))
            put_raw(path, field.name(), field.is_text() ? REG_SZ : REG_DWORD, stored_bytes(field, record));
}

Value read_value(const std::string& path, const std::string& name)
{
    Value value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    const std::u16string units = utf8_to_utf16(name);
    const auto* wide_name = reinterpret_cast<const wchar_t*>(units.c_str());
    if (RegQueryValueExW(key, wide_name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.present = RegQueryValueExW(key, wide_name, nullptr, &value.type,
                                         reinterpret_cast<BYTE*>(&value.data[0]), &size) ==
                        ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

bool key_exists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

DWORD count_of(const std::string& path, bool subkeys)
{
    HKEY key = nullptr;
    DWORD keys = 0, values = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return subkeys ? keys : values;
}

// The values exactly as the program stores them: REG_DWORD of 4 bytes, REG_SZ with one NUL.
void expect_stored(const std::string& path, const Cleaning_settings& record)
{
    for (const Setting_field& field : setting_fields) {
        Value v = read_value(path, field.name());
        EXPECT_EQ(v.type, DWORD(field.is_text() ? REG_SZ : REG_DWORD)) << field.name();
        EXPECT_EQ(v.data, stored_bytes(field, record)) << field.name();
    }
}

Cleaning_settings settings_of(Builtin_preset preset) { return builtin_preset(preset); }

// Every setting different from "Full Cleaning"; the texts hold characters from beyond the 8-bit
// code page (Greek, CJK, an emoji outside the BMP).
Cleaning_settings unusual_settings()
{
    Cleaning_settings record = settings_of(Builtin_preset::full);
    int n = 100;
    for (const Setting_field& field : setting_fields) {
        if (field.is_text())
            field.text.of(record) = std::string("t\u00e9\u03a9\u4e2d\U0001F600 ") + field.name();
        else
            field.integer.of(record) = n++;
    }
    return record;
}

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

class Prefs : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, root_path);
        boxes.clear();
        set_box_recorder([this](const Box& box) { boxes.push_back(box); });
    }
    void TearDown() override
    {
        prefs.reset();
        set_box_recorder(nullptr);
        close_log();
        RegDeleteTreeA(HKEY_CURRENT_USER, root_path);
        EXPECT_FALSE(key_exists(root_path));
    }
    Cleaning_prefs& open_store()
    {
        prefs = std::make_unique<Cleaning_prefs>("Software\\Meradon\\Sorvane");
        return *prefs;
    }
    std::vector<std::string> warnings() const
    {
        std::vector<std::string> texts;
        for (const Box& box : boxes) {
            EXPECT_EQ(box.kind, Box_kind::warning) << box.text;
            texts.push_back(box.text);
        }
        return texts;
    }

    std::unique_ptr<Cleaning_prefs> prefs;
    std::vector<Box> boxes;
};

using Texts = std::vector<std::string>;

TEST_F(Prefs, FirstStartStoresFullCleaningAndReadsItBack)
{
    const std::string log = temp_path("sv_log_prefs.txt");
    ASSERT_TRUE(open_log(log));
    Cleaning_prefs& p = open_store();
    close_log();

    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(key_exists(presets_path));
    EXPECT_EQ(count_of(presets_path, true), 0u);
    EXPECT_EQ(count_of(current_path, false), 44u);
    expect_stored(current_path, settings_of(Builtin_preset::full));
    EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::full));
    EXPECT_EQ(sorted(p.list_presets(true, true)), (Texts{"Full Cleaning", "Light Cleaning"}));
    EXPECT_EQ(read_file(log),
              "Cleaning_prefs::Cleaning_prefs()\r\n"
              "Cleaning_prefs::write_prefs_to_reg()\r\n"
              "exit Cleaning_prefs::write_prefs_to_reg()\r\n"
              "Cleaning_prefs::read_prefs_from_reg()\r\n"
              "Cleaning_prefs::remove_settings_from_mem()\r\n"
              "exit Cleaning_prefs::remove_settings_from_mem()\r\n"
              "exit Cleaning_prefs::read_prefs_from_reg()\r\n"
              "Exit Cleaning_prefs::Cleaning_prefs()\r\n");
}

TEST_F(Prefs, CurrentSettingsLackingValuesNameTheFirstAndBecomeFullCleaning)
{
    struct Case {
        std::set<std::string> missing;
        const char* named;
    };
    for (const Case& c : {Case{{"misc-replace 4"}, "misc-replace 4"},
                          Case{{"misc-find 2", "list-id custom", "spac-tab stops"}, "spac-tab stops"}}) {
        SCOPED_TRACE(c.named);
        SetUp();
        store(current_path, unusual_settings(), c.missing);
        put(current_path, "left by someone", REG_SZ, std::string("x\0", 2));
        Cleaning_prefs& p = open_store();
        const std::string expected = std::string("Unable to read preference '") + c.named + "'.";
        EXPECT_EQ(warnings(), Texts{with_system_text(expected, ERROR_FILE_NOT_FOUND)});
        EXPECT_GT(boxes.at(0).text.size(), expected.size() + 2);  // the system's text follows
        EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::full));
        // Deleted and recreated: only the 44 values of "Full Cleaning" are left.
        EXPECT_EQ(count_of(current_path, false), 44u);
        expect_stored(current_path, settings_of(Builtin_preset::full));
        TearDown();
    }
}

// The names of the settings added after registries were first written.
std::set<std::string> added_names()
{
    std::set<std::string> names;
    for (const Setting_field& field : setting_fields)
        if (field.may_be_absent) names.insert(field.name());
    return names;
}

// A registry written before the character flags existed holds 39 values in the current settings
// and in each preset: that is no damage. The flags read as 0, nothing is rewritten or deleted at
// start, and whatever is saved afterwards holds all 44.
TEST_F(Prefs, ARegistryOfThe39FirstValuesStartsQuietlyAndKeepsEveryPreset)
{
    ASSERT_EQ(added_names().size(), 5u);
    const Cleaning_settings old_light = settings_of(Builtin_preset::light);
    Cleaning_settings old_current = unusual_settings(), old_preset = unusual_settings();
    for (const std::string& name : added_names()) {
        find_setting(name)->integer.of(old_current) = 0;
        find_setting(name)->integer.of(old_preset) = 0;
    }
    old_current.spac_tab_stops = 7;
    store(current_path, old_current, added_names());
    store(presets_path + "\\Mine", old_preset, added_names());
    store(presets_path + "\\Light copy", old_light, added_names());
    Cleaning_prefs& p = open_store();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(p.current_settings() == old_current);
    EXPECT_EQ(sorted(p.list_presets(true, false)), (Texts{"Light copy", "Mine"}));
    EXPECT_TRUE(p.get_preset("Mine") == old_preset);
    EXPECT_TRUE(p.get_preset("Light copy") == old_light);
    for (const std::string& path : {current_path, presets_path + "\\Mine", presets_path + "\\Light copy"})
        EXPECT_EQ(count_of(path, false), 39u) << path;

    Cleaning_settings edited = p.get_preset("Mine");
    edited.char_plain_spaces = 1;
    ASSERT_TRUE(p.copy_temp_to_preset("Mine", edited));
    ASSERT_TRUE(p.copy_temp_to_preset("New", p.get_preset("Light copy")));
    ASSERT_TRUE(p.set_current_settings(edited));
    EXPECT_TRUE(boxes.empty());
    for (const char* name : {"Mine", "New"})
        EXPECT_EQ(count_of(presets_path + "\\" + name, false), 44u) << name;
    expect_stored(presets_path + "\\Mine", edited);
    expect_stored(current_path, edited);
    EXPECT_EQ(count_of(presets_path + "\\Light copy", false), 39u);

    // Only a missing value is taken as 0: one that is there but broken is damage as before.
    prefs.reset();
    put(presets_path + "\\Mine", "char-plain spaces", REG_BINARY, "12");
    Cleaning_prefs& again = open_store();
    EXPECT_EQ(warnings(), Texts{with_system_text("Unable to read preference 'char-plain spaces'.",
                                                 ERROR_INVALID_DATA)});
    EXPECT_EQ(sorted(again.list_presets(true, false)), (Texts{"Light copy", "New"}));
    EXPECT_EQ(again.current_settings().char_plain_spaces, 1);
}

// An integer is read as its raw 4 bytes whatever the value's type; any other size makes the
// record corrupt (fewer bytes too: they cannot be an integer that the program stored).
TEST_F(Prefs, IntegersAreTheRawFourBytesOfAnyType)
{
    struct Case {
        DWORD type;
        std::string data;
        DWORD error;
        std::int32_t value;
    };
    const std::string name = "spac-tab stops";
    for (const Case& c : {Case{REG_SZ, std::string("abc\0", 4), 0, 0x00636261},
                          Case{REG_BINARY, dword_bytes(-7), 0, -7},
                          Case{REG_BINARY, "12345", ERROR_MORE_DATA, 0},
                          Case{REG_BINARY, "12", ERROR_INVALID_DATA, 0},
                          Case{REG_DWORD, "", ERROR_INVALID_DATA, 0}}) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.data.size() << " bytes");
        SetUp();
        store(current_path, settings_of(Builtin_preset::light), {name});
        put(current_path, name, c.type, c.data);
        put(current_path, "extra", REG_DWORD, dword_bytes(9));
        Cleaning_prefs& p = open_store();
        if (c.error == 0) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(int_of(p.current_settings(), name), c.value);
            EXPECT_EQ(int_of(p.current_settings(), "list-id numbers"), 0);  // as stored, not Full
            EXPECT_EQ(read_value(current_path, name).type, c.type);      // not rewritten
            EXPECT_TRUE(read_value(current_path, "extra").present);
        } else {
            EXPECT_EQ(warnings(),
                      Texts{with_system_text("Unable to read preference 'spac-tab stops'.", c.error)});
            EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::full));
        }
        TearDown();
    }
}

TEST_F(Prefs, TextsEndAtTheirFirstNulOrTheEndOfTheirData)
{
    const std::set<std::string> odd = {"list-id custom", "misc-find 0", "misc-find 1", "misc-find 2",
                                       "misc-replace 0"};
    store(current_path, settings_of(Builtin_preset::full), odd);
    put(current_path, "list-id custom", REG_SZ, "");  // not even the NUL
    put(current_path, "misc-find 0", REG_BINARY, "abc");
    put(current_path, "misc-find 1", REG_SZ, std::string("ab\0cd\0", 6));
    put(current_path, "misc-find 2", REG_SZ, "xyz");  // no terminator
    put(current_path, "misc-replace 0", REG_SZ, std::string("\xe9\xa0\xff!\0", 5));
    Cleaning_prefs& p = open_store();
    EXPECT_TRUE(boxes.empty());
    const Cleaning_settings& s = p.current_settings();
    EXPECT_EQ(text_of(s, "list-id custom"), "");
    EXPECT_EQ(text_of(s, "misc-find 0"), "abc");
    EXPECT_EQ(text_of(s, "misc-find 1"), "ab");
    EXPECT_EQ(text_of(s, "misc-find 2"), "xyz");
    // Written by the 8-bit call, as the program once stored its texts: the same characters.
    EXPECT_EQ(text_of(s, "misc-replace 0"), "\u00e9\u00a0\u00ff!");
}

TEST_F(Prefs, ACorruptPresetBetweenTwoGoodOnesIsDroppedAndDeleted)
{
    const Cleaning_settings values = unusual_settings();
    store(presets_path + "\\Alpha", values);
    store(presets_path + "\\Beta", values, {"list-id roman"});
    store(presets_path + "\\Gamma", settings_of(Builtin_preset::light));
    Cleaning_prefs& p = open_store();
    EXPECT_EQ(warnings(), Texts{with_system_text("Unable to read preference 'list-id roman'.",
                                                 ERROR_FILE_NOT_FOUND)});
    EXPECT_EQ(sorted(p.list_presets(true, false)), (Texts{"Alpha", "Gamma"}));
    EXPECT_FALSE(key_exists(presets_path + "\\Beta"));
    EXPECT_TRUE(key_exists(presets_path + "\\Alpha"));
    EXPECT_TRUE(key_exists(presets_path + "\\Gamma"));
    EXPECT_TRUE(p.get_preset("Alpha") == values);
    EXPECT_EQ(int_of(p.get_preset("Gamma"), "list-id numbers"), 0);
}

// What a preset name with a backslash would leave behind: a subkey "a" without values that
// holds "b", so it can be neither read nor deleted, at every start.
TEST_F(Prefs, ACorruptPresetThatCannotBeDeletedIsOnlyDroppedFromMemory)
{
    store(presets_path + "\\a\\b", settings_of(Builtin_preset::light));
    Cleaning_prefs& p = open_store();
    EXPECT_EQ(warnings(), (Texts{with_system_text("Unable to read preference 'para-remove line breaks'.",
                                                  ERROR_FILE_NOT_FOUND),
                                 with_system_text("Unable to remove corrupt preset 'a'.",
                                                  ERROR_ACCESS_DENIED)}));
    EXPECT_TRUE(p.list_presets(true, false).empty());
    EXPECT_TRUE(key_exists(presets_path + "\\a\\b"));
}

TEST_F(Prefs, ASubkeyNameLongerThan80CharactersEndsTheEnumeration)
{
    const std::string name80(80, 'm'), name81(81, 'm');
    for (const std::string& name : {std::string("Alpha"), name80, name81, std::string("zeta")})
        store(presets_path + "\\" + name, settings_of(Builtin_preset::light));
    Cleaning_prefs& p = open_store();
    EXPECT_EQ(warnings(), Texts{with_system_text("Unable to read all presets.", ERROR_MORE_DATA)});
    EXPECT_EQ(sorted(p.list_presets(true, false)), (Texts{"Alpha", name80}));
    EXPECT_TRUE(key_exists(presets_path + "\\" + name81));
    EXPECT_TRUE(key_exists(presets_path + "\\zeta"));
    EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::full));  // start-up went on
}

TEST_F(Prefs, SavingOverAPresetRewritesAll44ValuesAndKeepsItsType)
{
    store(presets_path + "\\Mine", settings_of(Builtin_preset::light));
    put(presets_path + "\\Mine", "note", REG_SZ, std::string("kept\0", 5));
    Cleaning_prefs& p = open_store();
    const Cleaning_settings values = unusual_settings();
    ASSERT_TRUE(p.copy_temp_to_preset("Mine", values));
    EXPECT_TRUE(boxes.empty());
    expect_stored(presets_path + "\\Mine", values);
    EXPECT_EQ(count_of(presets_path + "\\Mine", false), 45u);  // "note" is left in place
    EXPECT_TRUE(p.get_preset("Mine") == values);
    EXPECT_EQ(p.list_presets(true, false), Texts{"Mine"});  // still a user preset
    EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::full));
}

TEST_F(Prefs, APresetSavedByOneInstanceIsLoadedWithAll44ValuesByTheNext)
{
    const Cleaning_settings values = unusual_settings();
    const std::string longest(80, 'L');
    Cleaning_prefs& first = open_store();
    ASSERT_TRUE(first.copy_temp_to_preset("Letters", values));
    ASSERT_TRUE(first.copy_temp_to_preset(longest, values));
    prefs.reset();

    Cleaning_prefs& second = open_store();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(sorted(second.list_presets(true, false)), (Texts{longest, "Letters"}));
    EXPECT_TRUE(second.get_preset("Letters") == values);
    EXPECT_TRUE(second.get_preset(longest) == values);
}

// A backslash would nest keys and a longer name would stop the enumeration at the next start;
// a predefined preset saved as a user preset would replace the built-in one.
TEST_F(Prefs, NamesThatCouldNotComeBackAsTheSamePresetAreRefused)
{
    Cleaning_prefs& p = open_store();
    const Cleaning_settings light = p.get_preset("Light Cleaning");
    const Cleaning_settings full = p.get_preset("Full Cleaning");
    const std::string too_long(81, 'x');
    for (const std::string& name : {std::string("a\\b"), too_long, std::string(), std::string("Full Cleaning")})
        EXPECT_FALSE(p.copy_temp_to_preset(name, light)) << name;
    EXPECT_EQ(warnings(),
              (Texts{"Unable to save preset 'a\\b'.  A preset name cannot contain a backslash (\\).",
                     "Unable to save preset '" + too_long +
                         "'.  A preset name can have at most 80 characters.",
                     "Unable to save a preset without a name.",
                     "Unable to save preset 'Full Cleaning'.  A predefined preset cannot be overwritten."}));
    EXPECT_EQ(count_of(presets_path, true), 0u);
    EXPECT_EQ(count_of(presets_path, false), 0u);
    EXPECT_EQ(sorted(p.list_presets(true, true)), (Texts{"Full Cleaning", "Light Cleaning"}));
    EXPECT_TRUE(p.get_preset("Full Cleaning") == full);
}

TEST_F(Prefs, RemovingAPresetDeletesItsSubkeyAndReportsOneAlreadyGone)
{
    for (const char* name : {"Keep", "Drop", "Gone"})
        store(presets_path + "\\" + name, settings_of(Builtin_preset::light));
    Cleaning_prefs& p = open_store();
    p.remove_preset("Drop");
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(key_exists(presets_path + "\\Drop"));
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, (presets_path + "\\Gone").c_str()), ERROR_SUCCESS);
    p.remove_preset("Gone");
    EXPECT_EQ(warnings(), Texts{with_system_text("Unable to completely remove preset \"Gone\".",
                                                 ERROR_FILE_NOT_FOUND)});
    EXPECT_EQ(sorted(p.list_presets(true, false)), Texts{"Keep"});
    EXPECT_TRUE(key_exists(presets_path + "\\Keep"));
}

// A preset's kind is not among its values: saving values over a preset keeps it the user's, and
// copying values around makes no preset.
TEST_F(Prefs, CopyingValuesKeepsEveryPresetsKind)
{
    store(presets_path + "\\Mine", unusual_settings());
    Cleaning_prefs& p = open_store();
    Cleaning_settings copy;
    p.copy_prefs(p.get_preset("Light Cleaning"), copy);
    EXPECT_TRUE(copy == settings_of(Builtin_preset::light));

    ASSERT_TRUE(p.copy_temp_to_preset("Mine", copy));
    EXPECT_TRUE(p.get_preset("Mine") == settings_of(Builtin_preset::light));
    EXPECT_EQ(p.list_presets(true, false), Texts{"Mine"});
    EXPECT_EQ(sorted(p.list_presets(false, true)), (Texts{"Full Cleaning", "Light Cleaning"}));

    p.make_preset_current("Mine");
    EXPECT_TRUE(p.current_settings() == settings_of(Builtin_preset::light));
    expect_stored(current_path, settings_of(Builtin_preset::light));
    p.copy_prefs(copy, copy);
    EXPECT_TRUE(copy == settings_of(Builtin_preset::light));
}

TEST_F(Prefs, ListPresetsHonoursEachFlagCombination)
{
    store(presets_path + "\\mine 1", settings_of(Builtin_preset::light));
    store(presets_path + "\\mine 2", settings_of(Builtin_preset::full));
    Cleaning_prefs& p = open_store();
    EXPECT_EQ(sorted(p.list_presets(true, true)),
              (Texts{"Full Cleaning", "Light Cleaning", "mine 1", "mine 2"}));
    EXPECT_EQ(sorted(p.list_presets(true, false)), (Texts{"mine 1", "mine 2"}));
    EXPECT_EQ(sorted(p.list_presets(false, true)), (Texts{"Full Cleaning", "Light Cleaning"}));
    EXPECT_TRUE(p.list_presets(false, false).empty());
}

// A run reads the current settings; what the options sheet edits is its own until OK.
TEST_F(Prefs, ACleaningRunReadsTheWorkingCopyRefreshedFromTheCurrentSettings)
{
    Cleaning_settings current = settings_of(Builtin_preset::light);
    current.misc_find[0] = "cat";
    current.misc_replace[0] = "dog";
    store(current_path, current);
    Cleaning_prefs& p = open_store();
    Cleaning_settings edited = p.current_settings();
    edited.misc_replace[0] = "bird";  // edited in the options, never committed
    edited.misc_remove_reply_marks = 0;
    const Abbreviations none;
    Cleaner cleaner(p.refresh_working_copy(), none);
    Line_list lines{"> the cat sat"};
    cleaner.clean_lines(lines);
    EXPECT_EQ(lines, Line_list{"the dog sat"});
    EXPECT_TRUE(p.refresh_working_copy() == current);
    EXPECT_TRUE(p.current_settings() == current);
}

TEST_F(Prefs, RegistryFailuresAreWarningsNamingTheSettingOrKey)
{
    Cleaning_prefs& p = open_store();
    HKEY read_only = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, current_path.c_str(), 0, KEY_READ, &read_only),
              ERROR_SUCCESS);
    EXPECT_FALSE(p.write_prefs_to_reg(p.get_preset("Light Cleaning"), read_only, nullptr));
    RegCloseKey(read_only);
    expect_stored(current_path, settings_of(Builtin_preset::full));

    const std::string bad(300, 'k');  // no key name can be that long
    Cleaning_settings record = settings_of(Builtin_preset::light);
    EXPECT_FALSE(p.read_prefs_from_reg(HKEY_CURRENT_USER, bad.c_str(), record));
    EXPECT_TRUE(record == Cleaning_settings());
    const Texts texts = warnings();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], with_system_text("Unable to store setting 'para-remove line breaks'.",
                                         ERROR_ACCESS_DENIED));
    const std::string key_message = "Unable to create or access registry key '" + bad + "'.";
    EXPECT_EQ(texts[1].substr(0, key_message.size()), key_message);
}

// Builds a store in a fresh process of this test program, which must end it by fatal_exit.
Child_result run_child(const std::string& company)
{
    return run_child_test("PrefsChild", temp_path("sv_log_prefs_child.txt"),
                          {{"SORVANE_CHILD_LOG", temp_path("sv_log_prefs_child.txt")},
                           {"SORVANE_CHILD_COMPANY", company}});
}

void expect_fatal(const Child_result& child, const std::string& critical)
{
    EXPECT_NE(child.log.find("CRITICAL: " + critical + "  "), std::string::npos) << child.log;
    expect_fatal_exit(child);
}

TEST_F(Prefs, CorruptCurrentSettingsThatCannotBeRemovedEndTheProgram)
{
    store(current_path, settings_of(Builtin_preset::light), {"list-format"});
    RegCloseKey(create_key(current_path + "\\stray"));  // a key with subkeys cannot be deleted
    const Child_result child = run_child("Meradon");
    expect_fatal(child, "Unable to remove corrupt current settings.");
    EXPECT_NE(child.log.find("WARNING: Unable to read preference 'list-format'."), std::string::npos);
    EXPECT_EQ(count_of(current_path, false), 43u);
    EXPECT_TRUE(key_exists(current_path + "\\stray"));
}

TEST_F(Prefs, APresetAreaThatCannotBeOpenedEndsTheProgram)
{
    expect_fatal(run_child(std::string(300, 'c')), "Unable to access preset area.");
}

TEST(PrefsChild, DISABLED_BuildStore)
{
    char log[MAX_PATH];
    char company[400];
    if (!GetEnvironmentVariableA("SORVANE_CHILD_LOG", log, sizeof log) ||
        !GetEnvironmentVariableA("SORVANE_CHILD_COMPANY", company, sizeof company))
        GTEST_SKIP();
    set_box_recorder([](const Box&) {});
    ASSERT_TRUE(open_log(log));
    Cleaning_prefs built(std::string("Software\\") + company + "\\Sorvane");
    ADD_FAILURE() << "the store was built";
}

}  // namespace
