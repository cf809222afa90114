#include <gtest/gtest.h>

#include "engine/lists.h"

namespace {

List_ids all_ids()
{
    List_ids ids;
    ids.numbers = ids.letters = ids.roman = ids.dash = ids.star = ids.letter_o = true;
    return ids;
}

List_ids only_roman()
{
    List_ids ids;
    ids.roman = true;
    return ids;
}

TEST(ListIdLength, NumbersTakeUpToFourDigitsOrThreeAfterABracket)
{
    const List_ids ids = all_ids();
    EXPECT_EQ(list_id_length("1. Apples", ids), 2u);
    EXPECT_EQ(list_id_length("12) x", ids), 3u);
    EXPECT_EQ(list_id_length("(12) x", ids), 4u);
    EXPECT_EQ(list_id_length("(3. x", ids), 3u);
    EXPECT_EQ(list_id_length("1234. x", ids), 5u);
    EXPECT_EQ(list_id_length("(123) x", ids), 5u);
    EXPECT_EQ(list_id_length("   \t7) indented", ids), 2u);
    List_ids numbers;
    numbers.numbers = true;
    EXPECT_EQ(list_id_length("12345. x", numbers), 0u);
    EXPECT_EQ(list_id_length("(1234) x", numbers), 0u);
    EXPECT_EQ(list_id_length("12 apples", numbers), 0u);
    EXPECT_EQ(list_id_length("123", numbers), 0u);  // no closing character at all
    EXPECT_EQ(list_id_length("1. x", List_ids{}), 0u);
}

TEST(ListIdLength, LettersNeedAClosingCharacterOrBothBrackets)
{
    List_ids letters;
    letters.letters = true;
    EXPECT_EQ(list_id_length("a) x", letters), 2u);
    EXPECT_EQ(list_id_length("B. x", letters), 2u);
    EXPECT_EQ(list_id_length("(b) x", letters), 3u);
    EXPECT_EQ(list_id_length("(b)", letters), 0u);
    EXPECT_EQ(list_id_length("(bc) x", letters), 0u);
    EXPECT_EQ(list_id_length("ab. x", letters), 0u);
    EXPECT_EQ(list_id_length("\xe9) x", letters), 0u);  // 8-bit bytes are no letters
}

TEST(ListIdLength, RomanNumeralsHaveOneCaseAndAreNoExclusionWord)
{
    const List_ids ids = only_roman();
    EXPECT_EQ(list_id_length("iv. x", ids), 3u);
    EXPECT_EQ(list_id_length("(xii) x", ids), 5u);
    EXPECT_EQ(list_id_length("IV) x", ids), 3u);
    EXPECT_EQ(list_id_length("Iv. x", ids), 0u);
    EXPECT_EQ(list_id_length("Mix. x", ids), 0u);
    EXPECT_EQ(list_id_length("MIX. x", ids), 0u);
    EXPECT_EQ(list_id_length("xiiiiiiiii. x", ids), 11u);
    EXPECT_EQ(list_id_length("xiiiiiiiiii. x", ids), 0u);
    EXPECT_EQ(list_id_length("(iiiiiiiii) x", ids), 11u);
    EXPECT_EQ(list_id_length("(iiiiiiiiii) x", ids), 0u);
    EXPECT_EQ(list_id_length("IIII. x", ids), 5u);
    EXPECT_EQ(list_id_length("civil. war", ids), 6u);
    for (const char* word : {"id.", "mid.", "mix)", "mic.", "dim.", "dix.", "did.", "lid.",
                             "mild.", "midi.", "divx.", "(mid) x", "DID. x"})
        EXPECT_EQ(list_id_length(word, ids), 0u) << word;
    EXPECT_EQ(list_id_length("mixi. x", ids), 5u);  // only whole exclusion words
}

TEST(ListIdLength, TheFirstRuleThatMatchesDecides)
{
    EXPECT_EQ(list_id_length("i. x", all_ids()), 2u);
    EXPECT_EQ(list_id_length("i. x", only_roman()), 2u);
    List_ids ids = all_ids();
    ids.custom = "--";
    EXPECT_EQ(list_id_length("-- x", ids), 2u);  // before the dash rule
    ids.custom = "long custom";
    EXPECT_EQ(list_id_length("long", ids), 0u);
}

// Every kind needs a blank or the line's end after it; a kind that fails so leaves the line to
// the kinds after it.
TEST(ListIdLength, ABlankOrTheLineEndMustFollowTheIdentifier)
{
    List_ids ids = all_ids();
    ids.custom = "=>";
    const struct {
        const char* line;
        std::size_t length;
    } cases[] = {
        {"1. Apples", 2}, {"(b) x", 3},   {"iv) x", 3},       {"- item", 1},
        {"*\titem", 1},   {"=> x", 2},    {"12.", 3},         {"  iv.", 3},
        {"(3.\tx", 3},    {"3.14 is pi", 0}, {"e.g. foo", 0}, {"A.B. Smith", 0},
        {"i.e. so", 0},   {"-z compresses", 0}, {"--", 0},    {"-- usually", 0},
        {"*first* word", 0}, {"=>x", 0},  {"1.11.0 is out", 0}, {"1.1. Contributor", 0},
        {"-item", 0},     {"-----", 0},   {"3)Ship", 0},      {"1.\vx", 0},
        {"iv.x", 0},      {"(12)x", 0},   {"\t-  ", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(list_id_length(c.line, ids), c.length) << c.line;
    // The custom kind fails on "1." and the number kind after it takes the line.
    ids.custom = "1";
    EXPECT_EQ(list_id_length("1. x", ids), 2u);
    // A custom identifier that ends in a blank has its blank already.
    ids.custom = "=> ";
    EXPECT_EQ(list_id_length("=> x", ids), 3u);
}

TEST(ListIdLength, SymbolBulletsAndShortLines)
{
    const List_ids ids = all_ids();
    EXPECT_EQ(list_id_length("o item", ids), 1u);
    EXPECT_EQ(list_id_length("o\titem", ids), 1u);
    EXPECT_EQ(list_id_length("oval", ids), 0u);
    EXPECT_EQ(list_id_length("O item", ids), 0u);
    EXPECT_EQ(list_id_length("1.", ids), 0u);
    EXPECT_EQ(list_id_length("   a)", ids), 0u);
    EXPECT_EQ(list_id_length("", ids), 0u);
    List_ids no_dash = ids;
    no_dash.dash = false;
    EXPECT_EQ(list_id_length("- item", no_dash), 0u);
}

TEST(SpaceListIdentifiers, LeavesExactlyOneSpaceAfterEachIdentifier)
{
    List_ids ids = all_ids();
    ids.custom = "=>";
    Line_list lines = {"   1.    Apples", "\t*\titem", "-\t 5 degrees", "-----", "=>x",
                       "(b)\t\tpears", "1. ", "iv.", "--", "plain  text", "12345. not a list",
                       "-5 degrees", "3.14 is pi"};
    space_list_identifiers(lines, ids);
    EXPECT_EQ(lines, Line_list({"   1. Apples", "\t* item", "- 5 degrees", "-----", "=>x",
                                "(b) pears", "1. ", "iv. ", "--", "plain  text",
                                "12345. not a list", "-5 degrees", "3.14 is pi"}));
}

TEST(SpaceListIdentifiers, AVerticalTabBeforeTheIdentifierDoesNotSplitIt)
{
    Line_list lines = {"\v1.\t\tx"};
    space_list_identifiers(lines, all_ids());
    EXPECT_EQ(lines, Line_list({"\v1. x"}));
}

}  // namespace
