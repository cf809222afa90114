// libFuzzer target: random bytes through the whole pipeline under settings from the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/chars.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "engine/unicode.h"
#include "fuzz/fuzz_input.h"

namespace {

std::string visible(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (!is_whitespace(c)) out += c;
    return out;
}

// The character flags: curly quotes and the rest are characters only in UTF-8, so they change
// what is visible, and 8-bit text meets them only once it is decoded.
bool makes_characters_plain(const Cleaning_settings& s)
{
    return s.char_straight_quotes || s.char_plain_dashes || s.char_plain_ellipsis ||
           s.char_plain_spaces || s.char_remove_invisible;
}

// Only the character flags, reply marks, find/replace pairs and tab-comma swaps change what is not whitespace;
// without them every visible byte comes out, in order, and nothing visible is added.
bool keeps_visible_text(const Cleaning_settings& s)
{
    if (makes_characters_plain(s)) return false;
    if (s.misc_remove_reply_marks != 0) return false;
    if (s.misc_tab_replace == 2 || s.misc_tab_replace == 3) return false;
    for (const std::string& find : s.misc_find)
        if (!find.empty()) return false;
    return true;
}

// The line list against the conversion rules written out byte by byte: LF ends a line, CR is
// dropped, the text after the last LF is the last line; in a text without LF, CR ends a line.
// The join puts CR LF between lines.
bool splits_and_joins_by_the_rules(const std::string& text)
{
    const char end = text.find('\n') == std::string::npos ? '\r' : '\n';
    std::vector<std::string> expected(1);
    for (char c : text) {
        if (c == end) expected.emplace_back();
        else if (c != '\r') expected.back() += c;
    }
    const Line_list lines = text_to_line_list(text);
    if (lines.size() != expected.size()) return false;
    std::string joined;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (lines[i] != expected[i]) return false;
        joined += (i ? "\r\n" : "") + expected[i];
    }
    return line_list_to_text(lines) == joined;
}

// Applies f to every text of the run: the text, the custom identifier, the pairs and the
// abbreviations.
template <class F>
Fuzz_run map_texts(const Fuzz_run& run, F f)
{
    Fuzz_run out = run;
    out.text = f(run.text);
    out.settings.list_id_custom = f(run.settings.list_id_custom);
    for (std::size_t i = 0; i < run.settings.misc_find.size(); ++i) {
        out.settings.misc_find[i] = f(run.settings.misc_find[i]);
        out.settings.misc_replace[i] = f(run.settings.misc_replace[i]);
    }
    out.abbreviations.clear();
    for (const std::string& a : run.abbreviations) out.abbreviations.insert(f(a));
    return out;
}

bool all_valid_utf8(const Fuzz_run& run)
{
    bool valid = true;
    map_texts(run, [&](const std::string& t) {
        valid = valid && is_valid_utf8(t);
        return t;
    });
    return valid;
}

// 8-bit text in which no UTF-8 sequence can form, even where a replacement meets its
// neighbours: either no byte that begins one (0xC2 to 0xF4 become 0xC0 or 0xC1) or no byte that
// continues one (0x80 to 0xBF become 0xF8 to 0xFF), by turns, so every byte is tried. The
// engine then takes every byte as a character of one column, as it took 8-bit text before it
// read UTF-8.
std::string without_sequences(std::string text, bool no_leads)
{
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (no_leads && b >= 0xC2 && b <= 0xF4) c = static_cast<char>(0xC0 | (b & 1));
        if (!no_leads && b >= 0x80 && b <= 0xBF) c = static_cast<char>(0xF8 | (b & 7));
    }
    return text;
}

std::string from_cp1252(const std::string& text)
{
    std::string utf8, error;
    decode_text(text, Text_encoding::ansi, utf8, error);
    return utf8;
}

// Case folding beyond A to Z is the one deliberate difference between the two.
bool folds_alike(const Cleaning_settings& s)
{
    if (s.misc_case_sensitive != 0) return true;
    for (const std::string& find : s.misc_find)
        if (has_high_byte(find)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz_run run = decode_fuzz_input(data, size);
    if (!splits_and_joins_by_the_rules(run.text)) __builtin_trap();
    const std::string first = run_fuzz_input(run);
    // The engine keeps no state between runs: a second run gives the same text.
    if (run_fuzz_input(run) != first) __builtin_trap();
    if (keeps_visible_text(run.settings) && visible(first) != visible(run.text)) __builtin_trap();
    // UTF-8 in, UTF-8 out: no rule cuts a character.
    if (all_valid_utf8(run) && !is_valid_utf8(first)) __builtin_trap();
    // On text Windows-1252 holds, the way through UTF-8 gives the 8-bit result.
    const bool no_leads = size % 2 == 0;
    Fuzz_run eight_bit =
        map_texts(run, [&](const std::string& t) { return without_sequences(t, no_leads); });
    Fuzz_run unicode = map_texts(eight_bit, from_cp1252);
    if (folds_alike(eight_bit.settings) && !makes_characters_plain(eight_bit.settings)) {
        const std::string expected = run_fuzz_input(eight_bit);
        std::string encoded;
        Unencodable bad;
        if (!encode_text(run_fuzz_input(unicode), Text_encoding::ansi, encoded, bad) ||
            encoded != expected)
            __builtin_trap();
    }
    return 0;
}
