// libFuzzer target: random bytes through the whole pipeline under settings from the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/chars.h"
#include "engine/line_list.h"
#include "fuzz/fuzz_input.h"

namespace {

std::string visible(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (!is_whitespace(c)) out += c;
    return out;
}

// Only reply marks, find/replace pairs and tab-comma swaps change what is not whitespace;
// without them every visible byte comes out, in order, and nothing visible is added.
bool keeps_visible_text(const Cleaning_settings& s)
{
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz_run run = decode_fuzz_input(data, size);
    if (!splits_and_joins_by_the_rules(run.text)) __builtin_trap();
    const std::string first = run_fuzz_input(run);
    // The engine keeps no state between runs: a second run gives the same text.
    if (run_fuzz_input(run) != first) __builtin_trap();
    if (keeps_visible_text(run.settings) && visible(first) != visible(run.text)) __builtin_trap();
    return 0;
}
