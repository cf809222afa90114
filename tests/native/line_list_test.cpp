// The line list itself: views, rewrites in place and in new room, and the split at its edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/line_list.h"

namespace {

std::vector<std::string> strings(const Line_list& lines)
{
    return std::vector<std::string>(lines.begin(), lines.end());
}

TEST(LineListStore, SplitsEdgeTexts)
{
    const std::string big(1048575, 'x');  // the editor's limit, one line without a break
    std::string big_lines;
    while (big_lines.size() + 4 <= 1048575) big_lines += "ab\r\n";
    big_lines.resize(1048575, 'z');
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"one line", {"one line"}},
        {"no final break\nlast", {"no final break", "last"}},
        {"final break\n", {"final break", ""}},
        {"\r\r\n\r", {"", ""}},
        // Without any LF, CR alone ends a line.
        {"one\rtwo\r\rthree\r", {"one", "two", "", "three", ""}},
        {"\r", {"", ""}},
        {"a\rb\nc\r", {"ab", "c"}},
        {big, {big}},
    };
    for (const Case& c : cases) {
        const Line_list lines = text_to_line_list(std::string(c.text));
        EXPECT_EQ(strings(lines), c.lines) << c.text.substr(0, 40);
        EXPECT_EQ(line_list_to_text(lines).size(), joined_size(lines));
    }
    const Line_list many = text_to_line_list(big_lines);
    ASSERT_EQ(many.size(), 1048575 / 4 + 1);
    EXPECT_EQ(many[0], "ab");
    EXPECT_EQ(many[many.size() - 1], std::string(1048575 % 4, 'z'));
    EXPECT_EQ(line_list_to_text(many), big_lines);
}

// Each step changes one line; every other line must read as before, through views taken first.
TEST(LineListStore, ViewsOfOtherLinesSurviveRewrites)
{
    struct Step {
        const char* what;
        void (*change)(Line_list&);
        std::string line1;
    };
    std::string pieces = "second";
    for (int i = 0; i < 300; ++i) pieces += " word";
    const Step steps[] = {
        {"shorter in place", [](Line_list& l) { l.set(1, "b"); }, "b"},
        {"grown past its room", [](Line_list& l) { l.set(1, std::string(5000, 'g')); }, std::string(5000, 'g')},
        {"grown piece by piece",
         [](Line_list& l) { for (int i = 0; i < 300; ++i) l.append(1, " ", "word"); }, pieces},
        {"bytes replaced", [](Line_list& l) { l.replace(1, 0, 1, 40, '-'); }, std::string(40, '-') + "econd"},
        {"prefix removed", [](Line_list& l) { l.replace(1, 0, 2, 0, ' '); }, "cond"},
        {"set from its own bytes", [](Line_list& l) { l.set(1, l[1].substr(3)); }, "ond"},
    };
    for (const Step& step : steps) {
        Line_list lines = text_to_line_list("first\nsecond\nthird");
        const Line_view first = lines[0], third = lines[2];
        step.change(lines);
        EXPECT_EQ(first, "first") << step.what;
        EXPECT_EQ(third, "third") << step.what;
        EXPECT_EQ(lines[1], step.line1) << step.what;
        EXPECT_EQ(lines[0], "first") << step.what;
        EXPECT_EQ(lines[2], "third") << step.what;
    }
}

TEST(LineListStore, LinesGrowPastTheirOldLengthAndJoinWhereTheyStand)
{
    Line_list lines = text_to_line_list("a\nbc\nd");
    lines.append(0, "  ", "xyz");  // past the room of "a\n"
    EXPECT_EQ(lines[0], "a  xyz");
    EXPECT_EQ(lines[1], "bc");
    // Joining the next lines: their room goes to the first, the text may overlap the gap.
    Line_list joined = text_to_line_list("one.\ntwo\nthree");
    const Line_view two = joined[1], three = joined[2];
    joined.take_over(0, 1);
    joined.append(0, "  ", two);
    joined.take_over(0, 2);
    joined.append(0, " ", three);
    joined.resize(1);
    EXPECT_EQ(strings(joined), std::vector<std::string>({"one.  two three"}));
    // Entries move without their bytes.
    Line_list moved = {"x", "", "y"};
    moved.move_line(1, 2);
    moved.resize(2);
    EXPECT_EQ(moved, Line_list({"x", "y"}));
    Line_list copy = moved;
    copy.set(0, "changed");
    EXPECT_EQ(moved, Line_list({"x", "y"}));
}

}  // namespace
