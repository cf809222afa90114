#include <gtest/gtest.h>

#include "engine/cleaning.h"
#include "engine/spacing.h"

namespace {

const Abbreviations abbreviations = {"Mr.", "etc.", "Dr. Who."};

TEST(EndsSentence, PunctuationClosersAndAbbreviations)
{
    // "Who." is no entry: the entry "Dr. Who." holds a blank and can never match a word.
    for (const char* word : {"end.", "Why?", "Wow!", "mr.", "below.)", "end.\"", "end?)", "it!'",
                             "Mr.?", "x.'", "Who.", "\xe9."})
        EXPECT_TRUE(ends_sentence(word, abbreviations)) << word;
    for (const char* word : {"", "Mr.", "etc.", "e.g.", "U.S.A.", "...", "3.5", "end:", "end;",
                             "end.\"'", "Mr.)", "(", ")", "end..)", "END"})
        EXPECT_FALSE(ends_sentence(word, abbreviations)) << word;
}

TEST(IsAbbreviation, AnInnerPeriodOrAnExactCaseSensitiveEntry)
{
    EXPECT_TRUE(is_abbreviation("i.e.", abbreviations));
    EXPECT_TRUE(is_abbreviation("..", abbreviations));
    EXPECT_TRUE(is_abbreviation("etc.", abbreviations));
    EXPECT_FALSE(is_abbreviation("Etc.", abbreviations));
    EXPECT_FALSE(is_abbreviation(".", abbreviations));
    EXPECT_FALSE(is_abbreviation("Mrs.", abbreviations));
}

Line_list tabs(Line_list lines, int mode, int tab_stops)
{
    replace_tabs(lines, {mode, tab_stops});
    return lines;
}

TEST(ReplaceTabs, TabsBecomeSpacesUpToTheNextStop)
{
    EXPECT_EQ(tabs({"a\tb", "\tx", "12345678\ty", "ab\t\tc"}, tabs_to_spaces, 8),
              Line_list({"a       b", "        x", "12345678        y", "ab              c"}));
    EXPECT_EQ(tabs({"a\tb\t"}, tabs_to_spaces, 1), Line_list({"a b "}));
    for (int width : {0, -3})  // a width below 1 is used as 1
        EXPECT_EQ(tabs({"ab\tc"}, tabs_to_spaces, width), Line_list({"ab c"}));
}

TEST(ReplaceTabs, RunsOfSpacesBecomeTabsFromTheLeftWithoutRegardToStops)
{
    EXPECT_EQ(tabs({"a         b", "x    ", "   "}, spaces_to_tabs, 4),
              Line_list({"a\t\t b", "x\t", "   "}));
    EXPECT_EQ(tabs({"a  b"}, spaces_to_tabs, 0), Line_list({"a\t\tb"}));
    // The same as the general replacement of a run of T spaces by a tab.
    const std::string sample = "  a     b\t   c          d ";
    for (int width = 1; width <= 6; ++width)
        EXPECT_EQ(tabs({sample}, spaces_to_tabs, width),
                  Line_list({replace_all(sample, std::string(width, ' '), "\t", true)}))
            << width;
}

TEST(ReplaceTabs, CommasAndOtherModes)
{
    EXPECT_EQ(tabs({"a\tb,c"}, tabs_to_commas, 4), Line_list({"a,b,c"}));
    EXPECT_EQ(tabs({"a,b\tc"}, commas_to_tabs, 4), Line_list({"a\tb\tc"}));
    for (int mode : {4, 5, -1})
        EXPECT_EQ(tabs({"a\t    ,b"}, mode, 4), Line_list({"a\t    ,b"})) << mode;
}

TEST(AdjustParagraphIndent, EveryLineGetsTheSameIndentationExceptFixedListItems)
{
    List_ids ids;
    ids.numbers = true;
    Line_list lines = {"  para", "\tpara", "para", "   ", "", "  1. item"};
    Line_list copy = lines;
    adjust_paragraph_indent(lines, {3, 0}, ids);
    EXPECT_EQ(lines, Line_list({"   para", "   para", "   para", "", "", "   1. item"}));
    adjust_paragraph_indent(copy, {0, 1}, ids);
    EXPECT_EQ(copy, Line_list({"para", "para", "para", "", "", "  1. item"}));
    Line_list negative = {"  x"};
    adjust_paragraph_indent(negative, {-2, 0}, ids);
    EXPECT_EQ(negative, Line_list({"x"}));
}

TEST(AdjustParagraphSpacing, BlankLinesGoAndExactlyCEmptyLinesSeparateTheRest)
{
    Line_list lines = {"", "A", "", "  \t", "B", "C", " "};
    Line_list none = lines, negative = lines;
    adjust_paragraph_spacing(lines, 1);
    EXPECT_EQ(lines, Line_list({"A", "", "B", "", "C"}));
    adjust_paragraph_spacing(none, 0);
    EXPECT_EQ(none, Line_list({"A", "B", "C"}));
    adjust_paragraph_spacing(negative, -1);
    EXPECT_EQ(negative, Line_list({"A", "B", "C"}));
    Line_list two = {"A", "B"};
    adjust_paragraph_spacing(two, 2);
    EXPECT_EQ(two, Line_list({"A", "", "", "B"}));
    Line_list blank = {"", "  ", ""};
    adjust_paragraph_spacing(blank, 3);
    EXPECT_EQ(blank, Line_list{});
}

Line_list words(Line_list lines, bool remove_extra, bool clean_sentences, int sentence_spaces)
{
    clean_word_spacing(lines, {remove_extra, clean_sentences, sentence_spaces}, abbreviations);
    return lines;
}

TEST(CleanWordSpacing, EachFlagGovernsItsOwnGaps)
{
    const Line_list text = {"This  is   a test.   Next"};
    EXPECT_EQ(words(text, true, false, 2), Line_list({"This is a test.   Next"}));
    EXPECT_EQ(words(text, true, true, 2), Line_list({"This is a test.  Next"}));
    EXPECT_EQ(words(text, true, true, 1), Line_list({"This is a test. Next"}));
    EXPECT_EQ(words(text, false, true, 1), Line_list({"This  is   a test. Next"}));
    EXPECT_EQ(words({"Ask Mr.   Smith? Yes.No"}, true, true, 2),
              Line_list({"Ask Mr. Smith?  Yes.No"}));
}

TEST(CleanWordSpacing, IndentationStaysTrailingWhitespaceGoesBlankLinesAreUntouched)
{
    EXPECT_EQ(words({"   Hello   world", "\t a\tb  ", "end.  ", "  \t ", ""}, true, true, 2),
              Line_list({"   Hello world", "\t a b", "end.", "  \t ", ""}));
    EXPECT_EQ(words({" \va  b"}, true, false, 2), Line_list({" a b"}));
}

}  // namespace
