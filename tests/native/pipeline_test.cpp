#include <gtest/gtest.h>

#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/memory_prefs.h"

namespace {

Line_list lines(std::initializer_list<const char*> items) { return Line_list(items.begin(), items.end()); }

TEST(LineList, SplitsAtEveryLineFeedDropsCarriageReturnsAndKeepsTheLastPart)
{
    EXPECT_EQ(text_to_line_list(""), lines({""}));
    EXPECT_EQ(text_to_line_list("a\r\nb"), lines({"a", "b"}));
    EXPECT_EQ(text_to_line_list("a\r\n"), lines({"a", ""}));
    EXPECT_EQ(text_to_line_list("\n\n"), lines({"", "", ""}));
    EXPECT_EQ(text_to_line_list("x\ry\rz\n\r"), lines({"xyz", ""}));
    EXPECT_EQ(text_to_line_list(std::string("a\0b\nc", 5)), Line_list({std::string("a\0b", 3), "c"}));
}

TEST(LineList, JoinsWithCarriageReturnLineFeedBetweenEntriesOnly)
{
    EXPECT_EQ(line_list_to_text(lines({""})), "");
    EXPECT_EQ(line_list_to_text(lines({"a", "", "b"})), "a\r\n\r\nb");
    EXPECT_EQ(line_list_to_text(Line_list{}), "");
    const std::string text = "one\r\ntwo\r\n\r\n\xff\x80 three\r\n";
    EXPECT_EQ(line_list_to_text(text_to_line_list(text)), text);
}

TEST(ReplyMarks, MarksAndOneFollowingSpaceGo)
{
    Line_list l = lines({"  > > Hello", ">>  Hi", ">", "> >", "a > b", "Re: > x", ">\tx", "", "   "});
    remove_reply_marks(l);
    EXPECT_EQ(l, lines({"Hello", " Hi", "", "", "a > b", "Re: > x", "\tx", "", "   "}));
}

TEST(ReplyMarks, BlanksBetweenMarksAreSkippedButTextAfterAMarkStays)
{
    Line_list l = lines({"> \t> >text", ">  > x", ">x>y"});
    remove_reply_marks(l);
    EXPECT_EQ(l, lines({"text", "x", "x>y"}));
}

class Pipeline : public ::testing::Test {
protected:
    Line_list clean(Line_list l)
    {
        Cleaner(prefs, abbreviations).clean_lines(l);
        return l;
    }
    void set(const char* name, int value) { prefs.current().set_int(name, value); }
    void set(const char* name, const char* value) { prefs.current().set_string(name, value); }

    Memory_prefs prefs{Builtin_preset::light};
    Abbreviations abbreviations;
};

TEST_F(Pipeline, FindReplacePairsApplyInOrderAndSkipEmptyFinds)
{
    set("misc-find 0", "x");
    set("misc-replace 0", "y");
    set("misc-find 1", "y");
    set("misc-replace 1", "z");
    set("misc-replace 2", "never");
    EXPECT_EQ(clean(lines({"xyx", "no"})), lines({"zzz", "no"}));
}

TEST_F(Pipeline, CaseFlagDecidesHowPairsMatch)
{
    set("misc-find 3", "cat");
    set("misc-replace 3", "dog");
    EXPECT_EQ(clean(lines({"Cat CAT cat"})), lines({"dog dog dog"}));
    set("misc-case sensitive", 1);
    EXPECT_EQ(clean(lines({"Cat CAT cat"})), lines({"Cat CAT dog"}));
}

TEST_F(Pipeline, ReplyMarksGoBeforeThePairsAndOnlyWhenAsked)
{
    set("misc-find 0", ">");
    set("misc-replace 0", "]");
    EXPECT_EQ(clean(lines({"> a > b"})), lines({"a ] b"}));
    set("misc-remove reply marks", 0);
    EXPECT_EQ(clean(lines({"> a > b"})), lines({"] a ] b"}));
}

TEST_F(Pipeline, EachRunStartsFromTheCurrentSettings)
{
    set("misc-find 0", "a");
    set("misc-replace 0", "b");
    EXPECT_EQ(clean(lines({"aa"})), lines({"bb"}));
    set("misc-find 0", "");
    EXPECT_EQ(clean(lines({"aa"})), lines({"aa"}));
}

TEST_F(Pipeline, EmptyTextStaysOneEmptyLine)
{
    EXPECT_EQ(clean(lines({""})), lines({""}));
}

}  // namespace
