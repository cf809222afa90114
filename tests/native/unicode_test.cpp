// Characters beyond ASCII: the width and folding tables at each rule's boundaries, UTF-8
// decoding, the text encodings, and the passes that count columns or fold case.
#include <gtest/gtest.h>

#include <string>

#include "engine/cleaning.h"
#include "engine/text_encoding.h"
#include "engine/unicode.h"

namespace {

TEST(Unicode, WidthsFollowEachRuleUpToItsBoundaries)
{
    const struct {
        char32_t code;
        int width;
    } cases[] = {
        {0x41, 1},    {0xAD, 1},     {0xFF, 1},      // up to U+00FF all 1, soft hyphen included
        {0x300, 0},   {0x36F, 0},    {0x483, 0},     // Mn
        {0x488, 0},                                  // Me
        {0x200B, 0},  {0xFEFF, 0},   {0xE0001, 0},   // Cf
        {0xE0100, 0}, {0xE01F0, 1},                  // variation selectors end at E01EF
        {0x115F, 2},  {0x1160, 0},   {0x11FF, 0},    {0x1200, 1},  // Hangul vowels and finals
        {0xD7B0, 1},  {0xAC00, 2},   {0xD7A3, 2},    // syllables W, later jamo not
        {0x3000, 2},  {0xFF01, 2},   {0xFF60, 2},    {0xFF61, 1},  // F, then halfwidth
        {0x302A, 0},                                 // Mn wins over W
        {0x3400, 2},  {0x4DBF, 2},   {0x4DC0, 1},    {0x9FFF, 2},  {0xFAFF, 2},  {0xFB00, 1},
        {0x20000, 2}, {0x2FFFD, 2},  {0x2FFFE, 1},   {0x3FFFD, 2}, {0x3FFFE, 1}, {0x40000, 1},
        {0x1F600, 2}, {0x2028, 1},   {0x370, 1},     {0x10FFFF, 1},
        {invalid_byte + 0xE9, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(char_width(c.code), c.width) << std::hex << c.code;
    EXPECT_EQ(text_width("e\xCC\x81t\xC3\xA9 \xE4\xB8\xAD\xF0\x9F\x98\x80\xE2\x80\x8B"), 8);
    EXPECT_EQ(text_width("caf\xE9 \xC3"), 6);  // bytes that are not UTF-8 count one each
}

TEST(Unicode, SimpleCaseFoldingMapsOneCharacterToOne)
{
    const struct {
        char32_t from, to;
    } cases[] = {{'A', 'a'},        {'z', 'z'},       {0xC9, 0xE9},     {0x3A9, 0x3C9},
                 {0x3C2, 0x3C3},    {0x212A, 'k'},    {0x17F, 's'},     {0x1E9E, 0xDF},
                 {0xDF, 0xDF},      {0x130, 0x130},   {0x23A, 0x2C65},  {0xB5, 0x3BC},
                 {0x410, 0x430},    {0xFF21, 0xFF41}, {0x10400, 0x10428}, {0x4E2D, 0x4E2D}};
    for (const auto& c : cases) EXPECT_EQ(fold_char(c.from), c.to) << std::hex << c.from;
    EXPECT_EQ(fold_case("CAF\xC3\x89 \xE2\x84\xAA \xC9"), "caf\xC3\xA9 k \xC9");
}

TEST(Unicode, DecodingTakesOnlyValidSequencesAndElseOneByte)
{
    const struct {
        const char* bytes;
        char32_t code;
        std::size_t size;
    } cases[] = {{"\xC3\xA9", 0xE9, 2},          {"\xE4\xB8\xAD", 0x4E2D, 3},
                 {"\xF0\x9F\x98\x80", 0x1F600, 4}, {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
                 {"\xC0\x80", invalid_byte + 0xC0, 1}, {"\xE0\x80\x80", invalid_byte + 0xE0, 1},
                 {"\xED\xA0\x80", invalid_byte + 0xED, 1}, {"\xF4\x90\x80\x80", invalid_byte + 0xF4, 1},
                 {"\xE2\x82", invalid_byte + 0xE2, 1}, {"\x80", invalid_byte + 0x80, 1},
                 {"\xC3\x41", invalid_byte + 0xC3, 1}};
    for (const auto& c : cases) {
        const std::string bytes = c.bytes;
        const Decoded d = decode_utf8(bytes.data(), bytes.size());
        EXPECT_EQ(d.code, c.code) << bytes;
        EXPECT_EQ(d.size, c.size) << bytes;
        EXPECT_EQ(is_valid_utf8(bytes), c.code < invalid_byte) << bytes;
    }
}

// The shortcuts (the first-two-bytes width table, the validity check that builds no code
// point, the ASCII skip) against plain decoding, over every pair of first bytes with the
// boundary values of the bytes after them, at the end of the text, after ASCII runs and across
// the end of a block.
TEST(Unicode, ShortcutsAgreeWithDecodingOnEveryLeadingPair)
{
    const unsigned char later[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
    // What each shortcut replaces: a walk that decodes every character.
    auto walk = [](const std::string& text, bool& valid) {
        std::int64_t width = 0;
        valid = true;
        for (std::size_t i = 0; i < text.size();) {
            const Decoded d = decode_utf8(text.data() + i, text.size() - i);
            valid = valid && d.code < invalid_byte;
            width += char_width(d.code);
            i += d.size;
        }
        return width;
    };
    for (char32_t code = 0x80; code < 0x10000; ++code) {
        std::string bytes;
        append_utf8(bytes, code);
        const Width_step step = width_step(bytes.data(), bytes.size());
        ASSERT_EQ(step.size, code >= 0xD800 && code <= 0xDFFF ? 1 : bytes.size()) << std::hex << code;
        if (step.size == bytes.size()) {
            ASSERT_EQ(step.width, char_width(code)) << std::hex << code;
        }
    }
    const unsigned char last[] = {0x41, 0x80, 0xBF, 0xC0};
    for (unsigned b0 = 0x80; b0 < 0x100; ++b0)
        for (unsigned b1 = 0; b1 < 0x100; ++b1)
            for (unsigned char b2 : later)
                for (unsigned char b3 : last) {
                    const char bytes[] = {static_cast<char>(b0), static_cast<char>(b1),
                                          static_cast<char>(b2), static_cast<char>(b3)};
                    for (std::size_t n = 1; n <= 4; ++n) {
                        const Decoded d = decode_utf8(bytes, n);
                        const Width_step step = width_step(bytes, n);
                        ASSERT_EQ(step.size, d.size) << std::hex << b0 << ' ' << b1 << ' ' << n;
                        ASSERT_EQ(step.width, char_width(d.code)) << std::hex << b0 << ' ' << b1;
                        // Across the end of a first block of 16 or 32 bytes, where it varies.
                        const std::size_t lead = 29 + (b0 + b1) % 3;
                        const std::string text = std::string(lead, 'a') + std::string(bytes, n) + "b";
                        bool valid = false;
                        ASSERT_EQ(text_width(text), walk(text, valid)) << std::hex << b0 << ' ' << b1;
                        ASSERT_EQ(is_valid_utf8(text), valid) << std::hex << b0 << ' ' << b1 << ' ' << n;
                        ASSERT_EQ(skip_ascii(text, 3), lead);
                    }
                }
}

// The block walks (16 or 32 bytes, as the processor has them) against plain decoding, on
// random texts of the pieces that bring each of their rules into play.
TEST(Unicode, BlockWalksAgreeWithDecodingOnRandomText)
{
    const char* const pieces[] = {
        "a", " ", "word ", "\xCE\xB1", "\xD0\xB6", "\xC3\xA9", "\xCC\x81", "\xD2\x83",
        "\xE4\xB8\xAD", "\xE4\xB7\x80", "\xE5\x9B\xBD", "\xE3\x80\x82", "\xE3\x81\x82",
        "\xE3\x82\x99", "\xEA\xB0\x80", "\xED\x9E\xA3", "\xED\x9E\xB0", "\xEF\xBC\x81",
        "\xE2\x80\x8B", "\xF0\x9F\x98\x80", "\xE0\x80\x80", "\xE0\xA4\x85", "\xED\xA0\x80",
        "\xC0\x80", "\x80", "\xE4\xB8", "\xC3", "\xFF"};
    std::uint64_t seed = 12345;
    auto next = [&seed](std::size_t n) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    auto walk = [](const std::string& text, std::size_t size, bool& valid) {
        int width = 0;
        valid = true;
        for (std::size_t i = 0; i < size;) {
            const Decoded d = decode_utf8(text.data() + i, text.size() - i);
            valid = valid && d.code < invalid_byte;
            width += char_width(d.code);
            i += d.size;
            if (i > size) return -1;  // the block cut a character
        }
        return width;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const std::size_t count = next(round % 5 ? 40 : 120);
        for (std::size_t k = 0; k < count; ++k) text += pieces[next(round % 3 ? 9 : std::size(pieces))];
        bool valid = false;
        const int all = walk(text, text.size(), valid);
        ASSERT_EQ(is_valid_utf8(text), valid) << text;
        ASSERT_EQ(text_width(text), all) << text;
        const Width_run block = width_run(text.data(), text.size(), INT64_MAX);
        if (block.size == 0) continue;
        bool block_valid = false;
        ASSERT_EQ(walk(text, block.size, block_valid), block.width) << text << " " << block.size;
        ASSERT_TRUE(block_valid) << text;
        // With less room: up to the first character that ends past it, or blocks that fit.
        const std::int64_t room = static_cast<std::int64_t>(next(40));
        const Width_run run = width_run(text.data(), text.size(), room);
        const int before = walk(text, run.size, block_valid);
        if (run.reached) {
            ASSERT_LE(before, room) << text << " " << room;
            const std::size_t next_size = decode_utf8(text.data() + run.size, text.size() - run.size).size;
            ASSERT_GT(walk(text, run.size + next_size, block_valid), room) << text << " " << room;
        } else {
            ASSERT_EQ(before, run.width) << text << " " << room;
            ASSERT_LE(before, room) << text << " " << room;
        }
    }
    // Every character of three bytes, in a block of its own kind, against its own width.
    for (char32_t code = 0x800; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        std::string text = "a";
        for (int k = 0; k < 12; ++k) append_utf8(text, code);
        const Width_run block = width_run(text.data(), text.size(), INT64_MAX);
        bool valid = false;
        if (block.size) {
            ASSERT_EQ(walk(text, block.size, valid), block.width) << std::hex << code;
        }
    }
}

std::string u16le(std::u16string_view text)
{
    std::string out;
    for (char16_t u : text) out += static_cast<char>(u & 0xFF), out += static_cast<char>(u >> 8);
    return out;
}

TEST(TextEncoding, DetectionDecodingAndEncodingRoundTripEveryEncoding)
{
    const std::string utf8 = "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80\r\nx";
    const std::u16string utf16 = u"Grüße Ω 中 \U0001F600\r\nx";
    std::string be;
    for (char16_t u : utf16) be += static_cast<char>(u >> 8), be += static_cast<char>(u & 0xFF);
    const struct {
        std::string bytes;
        Text_encoding encoding;
    } files[] = {{utf8, Text_encoding::utf8},
                 {"\xEF\xBB\xBF" + utf8, Text_encoding::utf8_bom},
                 {"\xFF\xFE" + u16le(utf16), Text_encoding::utf16le},
                 {"\xFE\xFF" + be, Text_encoding::utf16be}};
    for (const auto& f : files) {
        EXPECT_EQ(detect_encoding(f.bytes), f.encoding) << encoding_name(f.encoding);
        std::string decoded, error, encoded;
        ASSERT_TRUE(decode_text(f.bytes, f.encoding, decoded, error)) << error;
        EXPECT_EQ(decoded, utf8) << encoding_name(f.encoding);
        Unencodable bad;
        ASSERT_TRUE(encode_text(decoded, f.encoding, encoded, bad));
        EXPECT_EQ(encoded, f.bytes) << encoding_name(f.encoding);
    }
    EXPECT_EQ(utf16_to_utf8(utf16), utf8);
    EXPECT_EQ(utf8_to_utf16(utf8), utf16);
    // An edit control may hold a lone surrogate: it comes back as it went.
    const std::u16string lone = u"a\xD83D" u"b\xDC00";
    EXPECT_EQ(utf8_to_utf16(utf16_to_utf8(lone)), lone);

    // Every byte of the 8-bit code page is a character and comes back as itself.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(detect_encoding(all), Text_encoding::ansi);
    EXPECT_EQ(detect_encoding("plain ASCII"), Text_encoding::ansi);
    EXPECT_EQ(detect_encoding("caf\xC3\xA9 \xE9"), Text_encoding::ansi);  // not all UTF-8
    std::string decoded, error, encoded;
    ASSERT_TRUE(decode_text(all, Text_encoding::ansi, decoded, error));
    EXPECT_EQ(decoded.substr(0x80, 6), "\xE2\x82\xAC\xC2\x81\xE2");  // euro sign, then U+0081
    Unencodable bad;
    ASSERT_TRUE(encode_text(decoded, Text_encoding::ansi, encoded, bad));
    EXPECT_EQ(encoded, all);
}

TEST(TextEncoding, WhatDoesNotDecodeOrEncodeIsRefusedAndNamed)
{
    const struct {
        std::string bytes;
        Text_encoding encoding;
    } bad_inputs[] = {{"\xFF\xFE" "a", Text_encoding::utf16le},
                      {"\xFF\xFE" + u16le(u"a\xD800"), Text_encoding::utf16le},
                      {"\xFF\xFE" + u16le(u"\xDC00" "a"), Text_encoding::utf16le},
                      {"\xFE\xFF\xD8\x00\x00\x41", Text_encoding::utf16be},
                      {"\xEF\xBB\xBF" "caf\xE9", Text_encoding::utf8_bom},
                      {"caf\xE9", Text_encoding::utf8}};
    for (const auto& b : bad_inputs) {
        std::string decoded, error;
        EXPECT_FALSE(decode_text(b.bytes, b.encoding, decoded, error)) << encoding_name(b.encoding);
        EXPECT_FALSE(error.empty());
    }
    std::string out;
    Unencodable bad;
    EXPECT_FALSE(encode_text("a\nb\r\nc\r\xCE\xA9\xE2\x82\xAC", Text_encoding::ansi, out, bad));
    EXPECT_EQ(bad.code, 0x3A9u);
    EXPECT_EQ(bad.line, 4u);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(describe_character(bad.code), "U+03A9 \"\xCE\xA9\"");
    EXPECT_FALSE(encode_text("ok \xE9", Text_encoding::utf16le, out, bad));
    EXPECT_EQ(describe_character(bad.code), "byte 0xE9");
    EXPECT_EQ(describe_character(0x301), "U+0301");
}

// Encoded a few bytes of room at a time, as sorvane-clean writes a long text, a text comes out
// as encode_text gives it whole: no character split between two parts, none left behind.
TEST(TextEncoding, EncodingInPartsGivesTheWholeText)
{
    std::string text = "plain ASCII long enough for a run, caf\xC3\xA9 \xE2\x82\xAC 5 \xE2\x80\x9Cq\xE2\x80\x9D\n";
    const std::string beyond = "\xCE\xA9 \xF0\x9F\x98\x80 \xE4\xB8\xAD";  // only UTF-8 and UTF-16 hold these
    for (Text_encoding encoding : {Text_encoding::ansi, Text_encoding::utf8, Text_encoding::utf16le,
                                   Text_encoding::utf16be}) {
        const std::string utf8 = encoding == Text_encoding::ansi ? text : text + beyond + text;
        std::string whole;
        Unencodable bad;
        ASSERT_TRUE(encode_text(utf8, encoding, whole, bad));
        if (encoding != Text_encoding::ansi && encoding != Text_encoding::utf8) whole.erase(0, 2);
        char32_t code;
        std::size_t at;
        EXPECT_FALSE(find_unencodable(utf8, encoding, code, at)) << encoding_name(encoding);
        for (std::size_t room = 4; room <= 9; ++room) {
            std::string parts;
            for (std::string_view rest = utf8; !rest.empty();) {
                char out[9];
                std::size_t written;
                const std::size_t taken = encode_part(rest, encoding, out, room, written);
                ASSERT_GT(taken, 0u) << encoding_name(encoding) << " room " << room;
                ASSERT_LE(written, room);
                parts.append(out, written);
                rest.remove_prefix(taken);
            }
            EXPECT_EQ(parts, whole) << encoding_name(encoding) << " room " << room;
        }
    }
    char32_t code;
    std::size_t at;
    ASSERT_TRUE(find_unencodable(text + "\xCE\xA9", Text_encoding::ansi, code, at));
    EXPECT_EQ(code, 0x3A9u);
    EXPECT_EQ(at, text.size());
    ASSERT_TRUE(find_unencodable(text + "\xE9", Text_encoding::utf16le, code, at));
    EXPECT_EQ(describe_character(code), "byte 0xE9");
}

TEST(UnicodeText, CaseInsensitiveFindFoldsEveryLetterAndNeverSplitsACharacter)
{
    const struct {
        const char* text;
        const char* find;
        const char* replacement;
        bool case_sensitive;
        const char* expected;
    } cases[] = {
        {"CAF\xC3\x89 caf\xC3\xA9 Caf\xC3\xA9", "caf\xC3\xA9", "X", false, "X X X"},
        {"\xCE\xA9mega", "\xCF\x89MEGA", "o", false, "o"},
        {"\xE2\x84\xAA and K", "k", "k", false, "k and k"},       // Kelvin sign, three bytes
        {"\xC3\x89\xC3\x89\xC3\x89", "\xC3\xA9\xC3\xA9", "\xC3\xA9", false, "\xC3\xA9"},  // rescan
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9", "e", true, "\xC3\x89te"},
        {"caf\xC9 caf\xC3\xA9", "caf\xC3\xA9", "X", false, "caf\xC9 X"},  // a stray byte is no é
        {"\xCE\xA3\xCE\xA3", "\xCF\x83", "\xCE\xA3\xCE\xA3", false, "\xCE\xA3\xCE\xA3\xCE\xA3\xCE\xA3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replace_all(c.text, c.find, c.replacement, c.case_sensitive), c.expected)
            << c.text << " / " << c.find;
}

TEST(UnicodeText, ColumnsAreDisplayWidthInEveryRuleThatCountsThem)
{
    const std::string alpha = "\xCE\xB1\xCE\xB2\xCE\xB3\xCE\xB4\xCE\xB5";  // five columns
    const std::string zhong = "\xE4\xB8\xAD";                               // two
    const std::string e_acute = "e\xCC\x81";                                 // one
    const struct {
        std::string text;
        int max;
        std::string expected;
    } wraps[] = {
        {alpha + " " + alpha, 11, alpha + " " + alpha},
        {alpha + " " + alpha, 10, alpha + "\r\n" + alpha},
        {zhong + zhong + " " + zhong, 7, zhong + zhong + " " + zhong},
        {zhong + zhong + " " + zhong, 6, zhong + zhong + "\r\n" + zhong},
        {"aaaa " + e_acute + e_acute, 7, "aaaa " + e_acute + e_acute},
        {"aaaa " + e_acute + e_acute, 6, "aaaa\r\n" + e_acute + e_acute},
        {zhong + "\t" + zhong + " x", 6, zhong + "\t" + zhong + "\r\nx"},  // tab to column 4
    };
    for (const auto& w : wraps)
        EXPECT_EQ(wrap_text(w.text, std::nullopt, 0, w.max, 4), w.expected) << w.text << " " << w.max;

    Line_list lines = {zhong + "\tx", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\ty"};
    replace_tabs(lines, {tabs_to_spaces, 4});
    EXPECT_EQ(lines[0], zhong + "  x");
    EXPECT_EQ(lines[1], "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9    y");

    // The hanging indent under "•" is one column; "•" and one more character are too short.
    List_ids ids;
    ids.custom = "\xE2\x80\xA2";
    EXPECT_EQ(list_id_length("\xE2\x80\xA2 x", ids), 3u);
    EXPECT_EQ(list_id_length("\xE2\x80\xA2 ", ids), 0u);
    Line_list items = {"\xE2\x80\xA2 aaa bbb ccc"};
    wrap_lines(items, {0, 1, true, 2, 10, 4}, ids);
    EXPECT_EQ(items[0], "  \xE2\x80\xA2 aaa\r\n    bbb\r\n    ccc");
}

}  // namespace
