#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/diagnostics.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "settings/catalogue.h"

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
    void set(const char* name, int value) { find_setting(name)->integer.of(prefs) = value; }
    void set(const char* name, const char* value) { find_setting(name)->text.of(prefs) = value; }

    Cleaning_settings prefs = builtin_preset(Builtin_preset::light);
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
    EXPECT_EQ(clean(lines({"", " ", ""})), lines({"", "", ""}));
}

TEST_F(Pipeline, ParagraphSpacingEmptiesATextOfBlankLines)
{
    set("spac-adjust para spacing", 1);
    EXPECT_EQ(clean(lines({""})), Line_list{});
    EXPECT_EQ(clean(lines({"", "\t", "  "})), Line_list{});
}

// The second run skips a pair whose replacement holds its find text (folded when the pairs are
// not case-sensitive); the first run still applies it. Other pairs run twice (a phrase that the
// join forms is replaced: Full_pipeline below).
TEST_F(Pipeline, APairThatWouldReplaceItsOwnOutputRunsOnce)
{
    const struct {
        const char* find;
        const char* replace;
        int case_sensitive;
        const char* line;
        const char* cleaned;
    } cases[] = {
        {"Mr", "Mr.", 0, "ask Mr", "ask Mr."},
        {"cat", "cats", 0, "a cat", "a cats"},
        {"cat", "CATS", 0, "a Cat", "a CATS"},
        {"a", "aa", 1, "banana", "baanaanaa"},
    };
    for (const auto& c : cases) {
        set("misc-find 0", c.find);
        set("misc-replace 0", c.replace);
        set("misc-case sensitive", c.case_sensitive);
        EXPECT_EQ(clean(lines({c.line})), lines({c.cleaned})) << c.find << " to " << c.replace;
    }
}

// The characters of each "char-" flag on a line of their own, then a line of characters that no
// flag changes (guillemets, primes, the ideographic space, the joiners, the direction marks) and
// bytes that are not UTF-8 around the lead bytes the pass looks for. Each flag alone changes its
// own line only; all five change every line but the last.
struct Character_text {
    std::vector<std::string> lines, plain;
};
const Character_text utf8_characters = {
    {"\u2018a\u2019 \u201Ab\u201B \u201Cc\u201D \u201Ed\u201F",
     "1\u20102\u20113\u20124\u20135 \u22126 a\u2014b\u2015c",
     "wait\u2026 \u2026\u2026",
     "a\u00A0b\u2000c\u2005d\u200Ae\u202Ff\u205Fg",
     "in\u200Bvis\u2060i\uFEFFble\u00AD!",
     "\u00AB\u00BB \u2039\u203A \u2032\u2033 \u3000 a\u200Cb\u200Dc\u200Ed\u200F \xC2x \xE2\x80"},
    {"'a' 'b' \"c\" \"d\"", "1-2-3-4-5 -6 a--b--c", "wait... ......", "a b c d e f g",
     "invisible!",
     "\u00AB\u00BB \u2039\u203A \u2032\u2033 \u3000 a\u200Cb\u200Dc\u200Ed\u200F \xC2x \xE2\x80"}};
// The same in Windows-1252, which holds fewer of them: 0x82, 0x84, 0x91 to 0x94 quotes, 0x96 and
// 0x97 dashes, 0x85 the ellipsis, 0xA0 the no-break space, 0xAD the soft hyphen.
const Character_text cp1252_characters = {
    {"\x91" "a\x92 \x82" "b\x92 \x93" "c\x94 \x84" "d\x94", "1\x96" "2 a\x97" "b", "wait\x85",
     "a\xA0" "b", "soft\xAD" "hyphen!", "\xAB\xBB \x8B\x9B caf\xE9"},
    {"'a' 'b' \"c\" \"d\"", "1-2 a--b", "wait...", "a b", "softhyphen!",
     "\xAB\xBB \x8B\x9B caf\xE9"}};

class Characters : public Pipeline {
protected:
    Characters()
    {
        // Nothing else that would touch these lines.
        for (Int_setting s : {setting::spac_adjust_para_indent, setting::spac_rem_extra_spaces_between_words,
                              setting::spac_clean_up_sent_spacing})
            s.of(prefs) = 0;
    }
    // The text cleaned as the editor and the command-line tool clean it: 8-bit text decoded to
    // the engine's UTF-8 and encoded back.
    std::string clean_text(const std::vector<std::string>& lines, bool cp1252)
    {
        const std::string text = joined(lines);
        std::string utf8 = text, error;
        if (cp1252) {
            EXPECT_TRUE(decode_text(text, Text_encoding::ansi, utf8, error)) << error;
        }
        Line_list l = text_to_line_list(utf8);
        Cleaner(prefs, abbreviations).clean_lines(l);
        std::string out;
        Unencodable bad;
        if (!cp1252) return line_list_to_text(l);
        EXPECT_TRUE(encode_text(line_list_to_text(l), Text_encoding::ansi, out, bad)) << bad.code;
        return out;
    }
    static std::string joined(const std::vector<std::string>& lines)
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
        return text;
    }
};

TEST_F(Characters, EachFlagMakesItsOwnCharactersPlainInUtf8AndInWindows1252)
{
    const Int_setting flags[] = {setting::char_straight_quotes, setting::char_plain_dashes,
                                 setting::char_plain_ellipsis, setting::char_plain_spaces,
                                 setting::char_remove_invisible};
    for (bool cp1252 : {false, true}) {
        const Character_text& t = cp1252 ? cp1252_characters : utf8_characters;
        EXPECT_EQ(clean_text(t.lines, cp1252), joined(t.lines)) << "all off, cp1252 " << cp1252;
        for (std::size_t k = 0; k < 5; ++k) {
            for (Int_setting f : flags) f.of(prefs) = f.member == flags[k].member;
            std::vector<std::string> expected = t.lines;
            expected[k] = t.plain[k];
            EXPECT_EQ(clean_text(t.lines, cp1252), joined(expected)) << flags[k].name << ", cp1252 " << cp1252;
        }
        for (Int_setting f : flags) f.of(prefs) = 1;
        EXPECT_EQ(clean_text(t.lines, cp1252), joined(t.plain)) << "all five, cp1252 " << cp1252;
        for (Int_setting f : flags) f.of(prefs) = 0;
    }
}

// The pass runs first: every later pass sees plain characters.
TEST_F(Pipeline, PlainCharactersComeBeforeEveryOtherPass)
{
    const struct {
        const char* flag;
        Builtin_preset preset;
        Line_list in, off, on;
    } cases[] = {
        // A reply mark behind a no-break space indentation, and such an indentation.
        {"char-plain spaces", Builtin_preset::light, {"\u00A0\u00A0> Hello", "\u00A0\u00A0\u00A0text"},
         {"\u00A0\u00A0> Hello", "\u00A0\u00A0\u00A0text"}, {"Hello", "text"}},
        // A line of invisible characters is then a blank line between paragraphs.
        {"char-remove invisible", Builtin_preset::full, {"One", "\u200B\uFEFF", "two"},
         {"One \u200B\uFEFF two"}, {"One", "", "two"}},
    };
    for (const auto& c : cases) {
        prefs = builtin_preset(c.preset);
        EXPECT_EQ(clean(c.in), c.off) << c.flag;
        set(c.flag, 1);
        EXPECT_EQ(clean(c.in), c.on) << c.flag;
    }
}

class Full_pipeline : public Pipeline {
protected:
    Full_pipeline() { prefs = builtin_preset(Builtin_preset::full); }
};

TEST_F(Full_pipeline, ThePairsRunAgainAfterJoiningSoAPhraseBrokenAcrossLinesIsFound)
{
    set("misc-find 0", "big cat");
    set("misc-replace 0", "tiger");
    EXPECT_EQ(clean(lines({"> a big", "> cat here, a big cat there"})),
              lines({"a tiger here, a tiger there"}));
}

TEST_F(Full_pipeline, TabsAreReplacedBeforeIndentationDecidesOnParagraphs)
{
    set("para-indented makes new para", 1);
    set("para-num indent spaces for new para", 4);
    EXPECT_EQ(clean(lines({"a", "\tb"})), lines({"a", "", "b"}));
    set("misc-tab replace", 2);
    EXPECT_EQ(clean(lines({"a", "\tb"})), lines({"a ,b"}));
}

TEST_F(Full_pipeline, ListIdentifiersAreSpacedAfterThePairsAndBeforeWrapping)
{
    set("misc-find 0", "#");
    set("misc-replace 0", "-");
    EXPECT_EQ(clean(lines({"#\titem"})), lines({"- item"}));
    EXPECT_EQ(clean(lines({"#item"})), lines({"-item"}));
    set("list-format", 1);
    set("list-max line length", 12);
    set("spac-num spaces to indent", 3);
    EXPECT_EQ(clean(lines({"Some text", "", " 2)\taaa bbb ccc"})),
              lines({"   Some text", "", " 2) aaa bbb\r\n    ccc"}));
}

// With "Full Cleaning": words that only look like identifiers are joined and left as they are;
// identifiers followed by a blank still start items and get exactly one space.
TEST_F(Full_pipeline, OnlyIdentifiersFollowedByABlankStartListItems)
{
    set("list-id custom", "=>");
    const struct {
        Line_list in, out;
    } cases[] = {
        {{"3.14 is pi"}, {"3.14 is pi"}},
        {{"The value of pi is about", "3.14 and so on."}, {"The value of pi is about 3.14 and so on."}},
        {{"e.g. foo."}, {"e.g. foo."}},
        {{"Use", "-z compresses", "-- usually", "*first* word", "1.11.0 is out", "=>x"},
         {"Use -z compresses -- usually *first* word 1.11.0 is out =>x"}},
        {{"1.1. Contributor"}, {"1.1. Contributor"}},
        {{"Fruit:", "1.   Apples", "(b)\tpears", "iv) figs", "*\tkiwis", "=>  plums"},
         {"Fruit:", "", "1. Apples", "", "(b) pears", "", "iv) figs", "", "* kiwis", "", "=> plums"}},
    };
    for (const auto& c : cases) EXPECT_EQ(clean(c.in), c.out) << c.in[0];
}

TEST_F(Full_pipeline, SentenceSpacingUsesTheAbbreviationList)
{
    EXPECT_EQ(clean(lines({"Ask Mr. Li. Then", "go."})), lines({"Ask Mr.  Li.  Then go."}));
    abbreviations.insert("Mr.");
    EXPECT_EQ(clean(lines({"Ask Mr. Li. Then", "go."})), lines({"Ask Mr. Li.  Then go."}));
}

// The log names every step that runs, in order, and wrap_text adds an entry and an exit line
// for every entry it wraps.
class Traces : public Pipeline {
protected:
    ~Traces() override
    {
        close_log();
        std::remove(path.c_str());
    }
    std::vector<int> cleaning_lines(std::size_t& wrap_lines)
    {
        close_log();
        std::ifstream in(path);
        std::vector<int> numbers;
        wrap_lines = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("cleaning.cpp, ", 0) == 0) numbers.push_back(std::stoi(line.substr(14)));
            else if (line.rfind("paragraphs.cpp, ", 0) == 0) ++wrap_lines;
            else ADD_FAILURE() << line;
        }
        return numbers;
    }
    std::string path = ::testing::TempDir() + "sorvane_trace_test.txt";
};

TEST_F(Traces, EachStepThatRunsIsTracedAndSkippedStepsOnlyAtTheirTests)
{
    ASSERT_TRUE(open_log(path));
    clean(lines({"one", "two"}));
    std::size_t wraps = 0;
    std::vector<int> light = cleaning_lines(wraps);
    EXPECT_EQ(light.size(), 14u);
    EXPECT_EQ(wraps, 0u);
    EXPECT_TRUE(std::is_sorted(light.begin(), light.end()));

    prefs = builtin_preset(Builtin_preset::full);
    set("para-max chars on para line", 72);
    ASSERT_TRUE(open_log(path));
    clean(lines({"one", "", "two"}));
    std::vector<int> full = cleaning_lines(wraps);
    EXPECT_EQ(full.size(), 20u);
    EXPECT_EQ(wraps, 2u * 3u);  // three entries after paragraph spacing
    EXPECT_TRUE(std::is_sorted(full.begin(), full.end()));
    EXPECT_TRUE(std::includes(full.begin(), full.end(), light.begin(), light.end()));

    // The characters pass is traced where it runs, and only then.
    set("char-plain spaces", 1);
    ASSERT_TRUE(open_log(path));
    clean(lines({"one", "", "two"}));
    EXPECT_EQ(cleaning_lines(wraps).size(), full.size() + 2);
}

}  // namespace
