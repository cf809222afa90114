// The line list itself: views, rewrites in place and in new room, and the split at its edges.
#include <gtest/gtest.h>

#include <memory>
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

// A long line that moves gets a block of its own, freed as it moves on; once every line has left
// the text as it was read, that text is let go. Each step checks every line, so a block freed
// too early (or written past) shows as wrong bytes or, under a sanitizer, as the fault itself.
TEST(LineListStore, LongLinesMoveIntoBlocksOfTheirOwnAndTheTextIsLetGo)
{
    const std::size_t long_size = Line_list::long_line + 1000;
    const std::string a(long_size, 'a'), b(long_size, 'b');
    auto text = std::make_shared<std::string>("first\n" + a + "\n\n" + b + "\nlast");
    const std::weak_ptr<std::string> read(text);
    Line_list lines = Line_list::split(&(*text)[0], text->size(), text);
    text.reset();
    std::vector<std::string> want = {"first", a, "", b, "last"};
    auto check = [&](const char* step) { EXPECT_EQ(strings(lines), want) << step; };
    lines.release_unused();
    EXPECT_FALSE(read.expired());

    // Taken without a copy where the line must move; a short one is copied and stays.
    std::string grown = a + " and more";
    const char* bytes = grown.data();
    lines.adopt(1, std::move(grown));
    want[1] = a + " and more";
    EXPECT_EQ(lines[1].data(), bytes);
    EXPECT_TRUE(grown.empty());
    check("adopted");
    std::string shorter = "f";
    lines.adopt(0, std::move(shorter));
    want[0] = "f";
    EXPECT_EQ(shorter, "f");
    check("short adopted");

    // Grown piece by piece in its own block, then joined with the adopted line after it.
    lines.set(3, b + "B");
    for (int i = 0; i < 2000; ++i) lines.append(3, " ", "piece");
    want[3] = b + "B";
    for (int i = 0; i < 2000; ++i) want[3] += " piece";
    check("grown");
    const Line_view adopted = lines[1];
    lines.take_over(3, 1);
    lines.append(3, "  ", adopted);
    want[3] += "  " + a + " and more";
    want[1] = "";
    check("joined");
    lines.adopt(3, std::string(long_size * 2, 'c'));
    want[3] = std::string(long_size * 2, 'c');
    check("adopted over its own block");

    // The text goes once its long lines have left it; the short ones left move out.
    lines.release_unused();
    EXPECT_TRUE(read.expired());
    check("let go");
    lines.set(2, "was empty");
    lines.append(4, " line", "");
    want[2] = "was empty";
    want[4] = "last line";
    check("written after");
}

}  // namespace
