#include <gtest/gtest.h>

#include "engine/paragraphs.h"

namespace {

const Abbreviations abbreviations = {"Mr.", "etc."};

List_ids numbered()
{
    List_ids ids;
    ids.numbers = ids.dash = true;
    return ids;
}

Line_list join(Line_list lines, const Join_options& options)
{
    join_paragraph_lines(lines, options, numbered(), abbreviations);
    return lines;
}

Join_options with_punct(bool punct, int spaces)
{
    Join_options o;
    o.punct_ends_paragraph = punct;
    o.sentence_spaces = spaces;
    return o;
}

Join_options without_blank_separation()
{
    Join_options o;
    o.blank_lines_separate = false;
    return o;
}

TEST(JoinParagraphLines, LinesOfAParagraphBecomeOneLine)
{
    EXPECT_EQ(join({"The cat sat", "on the mat."}, {}), Line_list({"The cat sat on the mat."}));
    EXPECT_EQ(join({"  First keeps  ", "\tsecond loses   ", "   third"}, {}),
              Line_list({"  First keeps second loses third"}));
    EXPECT_EQ(join({"single line   "}, {}), Line_list({"single line   "}));
    EXPECT_EQ(join({""}, {}), Line_list({""}));
    EXPECT_EQ(join(Line_list{}, {}), Line_list{});
}

TEST(JoinParagraphLines, SentenceEndsCanEndAParagraphOrWidenTheJoin)
{
    EXPECT_EQ(join({"It ended.", "Next line"}, with_punct(true, 2)),
              Line_list({"It ended.", "Next line"}));
    EXPECT_EQ(join({"It ended.", "Next line"}, with_punct(false, 2)),
              Line_list({"It ended.  Next line"}));
    EXPECT_EQ(join({"It ended.", "Next line"}, with_punct(false, 1)),
              Line_list({"It ended. Next line"}));
    EXPECT_EQ(join({"Ask Mr.", "Smith? He", "knows"}, with_punct(true, 2)),
              Line_list({"Ask Mr. Smith? He knows"}));
    EXPECT_EQ(join({"Why?", "Because", "I said so!\"", "Fine"}, with_punct(true, 2)),
              Line_list({"Why?", "Because I said so!\"", "Fine"}));
    // Only spaces separate the last word: after a tab, "etc." is no word of its own.
    EXPECT_EQ(join({"and so on\tetc.", "more"}, with_punct(true, 2)),
              Line_list({"and so on\tetc.", "more"}));
}

TEST(JoinParagraphLines, BlankLinesSeparateParagraphsOrAreJoinedOver)
{
    EXPECT_EQ(join({"A", "", "B"}, {}), Line_list({"A", "", "B"}));
    EXPECT_EQ(join({"A", "", "  ", "B", "C"}, without_blank_separation()), Line_list({"A B C"}));
    EXPECT_EQ(join({"A", "", " "}, without_blank_separation()), Line_list({"A", "", " "}));
    Join_options two = without_blank_separation();
    two.sentence_spaces = 2;
    EXPECT_EQ(join({"End.", "", "Next"}, two), Line_list({"End.  Next"}));
    // A paragraph start after blank lines keeps the blank lines.
    EXPECT_EQ(join({"Intro", "", "", "1. item", "more"}, without_blank_separation()),
              Line_list({"Intro", "", "", "1. item more"}));
}

TEST(JoinParagraphLines, IndentedLinesStartParagraphsMeasuredWithTabStops)
{
    Join_options o;
    o.indent_makes_new = true;
    o.indent_for_new = 4;
    EXPECT_EQ(join({"one", "    four", "   three"}, o), Line_list({"one", "    four three"}));
    o.tab_stops = 8;
    o.indent_for_new = 16;
    EXPECT_EQ(join({"a", "\tb", "\t\tc", " \td"}, o), Line_list({"a b", "\t\tc d"}));
    o.tab_stops = 0;  // used as 1
    o.indent_for_new = 2;
    EXPECT_EQ(join({"a", "\tb", "\t\tc"}, o), Line_list({"a b", "\t\tc"}));
    o.indent_makes_new = false;
    EXPECT_EQ(join({"a", "\t\tc"}, o), Line_list({"a c"}));
}

TEST(JoinParagraphLines, ListItemsStartParagraphsAndTakeContinuations)
{
    EXPECT_EQ(join({"Intro:", "1. First"}, {}), Line_list({"Intro:", "1. First"}));
    EXPECT_EQ(join({"1. First item", "goes on here", "- dash", "  2) two", "tail"}, {}),
              Line_list({"1. First item goes on here", "- dash", "  2) two tail"}));
}

std::string wrap(std::string_view text, std::int64_t max, int tab_stops = 4)
{
    return wrap_text(std::string(text), std::nullopt, 0, max, tab_stops);
}

TEST(WrapText, AChunkThatWouldEndAtColumnMaxOrBeyondMoves)
{
    EXPECT_EQ(wrap("aaa bbb ccc ddd", 10), "aaa bbb\r\nccc ddd");
    EXPECT_EQ(wrap("aaa bbb cc", 10), "aaa bbb cc");
    EXPECT_EQ(wrap("aaa bbb   ccc", 10), "aaa bbb\r\nccc");
    EXPECT_EQ(wrap("x abcdefghijklmno y", 10), "x\r\nabcdefghijklmno\r\ny");
    EXPECT_EQ(wrap("abcdefghijklmno y", 10), "abcdefghijklmno\r\ny");
    EXPECT_EQ(wrap("   indented start of a paragraph", 12),
              "   indented\r\nstart of a\r\nparagraph");
    EXPECT_EQ(wrap("a b c", -1), "a\r\nb\r\nc");
    EXPECT_EQ(wrap("", 5), "");
}

TEST(WrapText, TabsAdvanceTheColumnToTheNextStop)
{
    EXPECT_EQ(wrap("a\tbb cc", 10, 8), "a\tbb\r\ncc");
    EXPECT_EQ(wrap("a\tbb cc", 10, 1), "a\tbb cc");
    EXPECT_EQ(wrap("a\tbb cc", 10, 0), "a\tbb cc");
    EXPECT_EQ(wrap("aa\tb", 3, 4), "aa\r\nb");  // the blanks before a moved word go, tab included
}

TEST(WrapText, IndentationOfFirstAndContinuationLines)
{
    EXPECT_EQ(wrap_text(" \t1. aaa bbb ccc", 2, 5, 10, 4), "  1. aaa\r\n     bbb\r\n     ccc");
    EXPECT_EQ(wrap_text("  x y", -3, -3, 10, 4), "x y");
    EXPECT_EQ(wrap_text("aaaa bbbb", std::nullopt, 3, 5, 4), "aaaa\r\n   bbbb");
}

TEST(WrapText, TrailingBlanksNeverMakeALineOfIndentationOnly)
{
    EXPECT_EQ(wrap_text("aaa bbb   ", std::nullopt, 4, 5, 4), "aaa\r\n    bbb");
    EXPECT_EQ(wrap_text("1. ", 2, 5, 3, 4), "  1.");
    EXPECT_EQ(wrap("ab   ", 10), "ab   ");  // blanks that fit stay
    EXPECT_EQ(wrap("     ", 2), "     ");
    // A word of whitespace other than blanks is no trailing blank: what follows it stays.
    EXPECT_EQ(wrap("a \v c", 1), "a\r\n\r\nc");
}

Wrap_options list_wrap(bool adjust)
{
    Wrap_options o;
    o.list_format = 1;
    o.list_adjust_indent = adjust;
    o.list_indent = 2;
    o.list_max = 10;
    return o;
}

TEST(WrapLines, ListItemsGetAHangingIndentParagraphsTheirOwnMaximum)
{
    Line_list lines = {"1. aaa bbb ccc", "plain words that are not wrapped at all", ""};
    wrap_lines(lines, list_wrap(true), numbered());
    EXPECT_EQ(lines, Line_list({"  1. aaa\r\n     bbb\r\n     ccc",
                                "plain words that are not wrapped at all", ""}));

    Line_list own = {"\t- one two three"};
    wrap_lines(own, list_wrap(false), numbered());
    EXPECT_EQ(own, Line_list({"\t- one\r\n      two\r\n      three"}));

    Wrap_options paragraphs;
    paragraphs.paragraph_max = 12;
    Line_list mixed = {"1. aaa bbb ccc ddd", "plain words wrapped here"};
    wrap_lines(mixed, paragraphs, numbered());
    EXPECT_EQ(mixed, Line_list({"1. aaa bbb\r\nccc ddd", "plain words\r\nwrapped here"}));
}

}  // namespace
