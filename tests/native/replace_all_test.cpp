#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/cleaning.h"

namespace {

// The rule as first written: replace the first occurrence, restart from the start. Used on
// pairs for which it ends, to check the fast version against it.
std::string restart_rule(std::string text, const std::string& find, const std::string& with,
                         bool case_sensitive)
{
    const std::string key = case_sensitive ? find : lower_ascii(find);
    for (;;) {
        std::string copy = case_sensitive ? text : lower_ascii(text);
        std::size_t at = copy.find(key);
        if (at == std::string::npos) return text;
        text = text.substr(0, at) + with + text.substr(at + find.size());
    }
}

TEST(ReplaceAll, MatchesTheRestartRuleWhereverThatRuleEnds)
{
    struct Case { const char* text; const char* find; const char* with; bool cs; };
    const Case cases[] = {
        {"a    b  c", "  ", " ", true},    {"abb", "ab", "xa", true},
        {"aaab", "ab", "b", true},         {"xaxbb", "ab", "", true},
        {"ABab aB", "ab", "Q", false},     {"aaaa", "aa", "a", true},
        {"bbbaaa", "ba", "ab", true},      {"abcabc", "cab", "c", true},
        {"The Cat cat", "CAT", "dog", false}, {"", "x", "y", true},
        {"no match here", "zzz", "y", true}, {"abab", "aba", "b", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replace_all(c.text, c.find, c.with, c.cs),
                  restart_rule(c.text, c.find, c.with, c.cs))
            << c.text << " / " << c.find << " -> " << c.with;
}

TEST(ReplaceAll, CaseFoldingFindsAnyCaseAndInsertsTheReplacementAsWritten)
{
    EXPECT_EQ(replace_all("Cat CAT cat", "cat", "dog", false), "dog dog dog");
    EXPECT_EQ(replace_all("Cat CAT cat", "cat", "dog", true), "Cat CAT dog");
    EXPECT_EQ(replace_all("x", "X", "AbC", false), "AbC");
    // Bytes above 127 are never folded.
    EXPECT_EQ(replace_all("\xC9t\xE9", "\xE9", "e", false), "\xC9te");
}

TEST(ReplaceAll, PairsWhoseReplacementHoldsTheFindTextEnd)
{
    EXPECT_EQ(replace_all("aXa", "a", "aa", true), "aaXaa");
    EXPECT_EQ(replace_all("aa", "a", "ba", true), "baba");
    EXPECT_EQ(replace_all("Cat", "cat", "CATS", false), "CATS");
    EXPECT_EQ(replace_all("abab", "ab", "abab", true), "abababab");
    std::string big(100000, 'a');
    EXPECT_EQ(replace_all(big, "a", "aa", true).size(), 200000u);
}

TEST(ReplaceAll, RunsOfSpacesCollapseOnAMebibyteLine)
{
    std::string spaces(1 << 20, ' ');
    EXPECT_EQ(replace_all(spaces, "  ", " ", true), " ");
    std::string mixed;
    for (int i = 0; i < 100000; ++i) mixed += "word      ";
    std::string expected;
    for (int i = 0; i < 100000; ++i) expected += "word ";
    EXPECT_EQ(replace_all(mixed, "  ", " ", true), expected);
}

TEST(ReplaceAll, PairsThatKeepFormingOccurrencesFollowTheRuleThenStopGrowing)
{
    // "ab" -> "bba" turns a^n b into b^(2^n) a^n: exact while small, bounded when huge.
    EXPECT_EQ(replace_all("aaaaab", "ab", "bba", true), std::string(32, 'b') + "aaaaa");
    std::string text = std::string(2000, 'a') + "b";
    std::string out = replace_all(text, "ab", "bba", true);
    EXPECT_LT(out.size(), 100 * text.size());
    EXPECT_EQ(out.front(), 'b');
    // Every replacement keeps one "a", whichever way the search goes on.
    EXPECT_EQ(std::count(out.begin(), out.end(), 'a'), 2000);
}

TEST(ReplaceAll, EmptyFindChangesNothingAndEmptyReplacementDeletes)
{
    EXPECT_EQ(replace_all("abc", "", "x", true), "abc");
    EXPECT_EQ(replace_all("a--b--c", "--", "", true), "abc");
}

}  // namespace
