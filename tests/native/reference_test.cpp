// The fast passes against the rules written out character by character, on many random texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/chars.h"
#include "engine/paragraphs.h"
#include "engine/spacing.h"
#include "engine/unicode.h"

namespace {

class Random {
public:
    std::uint32_t below(std::uint32_t n)
    {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33) % n;
    }

private:
    std::uint64_t state_ = 12345;
};

// Characters of every width: a stray byte, "é", "中" (two columns), a combining accent and a
// zero-width space (none).
std::string random_text(Random& random, std::size_t max_size)
{
    static const char* const alphabet[] = {"a", "b", "M", "r", " ", " ", " ", "\t", ".", "?",
                                           "!", "\"", "'", ")", "\v", "\xa0", "\xC3\xA9",
                                           "\xE4\xB8\xAD", "\xCC\x81", "\xE2\x80\x8B"};
    std::string text;
    for (std::size_t n = random.below(static_cast<std::uint32_t>(max_size) + 1); n > 0; --n)
        text += alphabet[random.below(sizeof alphabet / sizeof *alphabet)];
    return text;
}

std::size_t leading(const std::string& text, std::size_t from = 0)
{
    while (from < text.size() && is_whitespace(text[from])) ++from;
    return from;
}

// Character by character: a chunk ends at a non-blank followed by a blank and at the last
// character; a chunk other than the first moves when the column after its last character (a
// tab there counting one) is past max.
std::string reference_wrap(std::string text, std::optional<std::int64_t> first, std::int64_t rest,
                           std::int64_t max, int tab_stops)
{
    if (first) text = std::string(*first > 0 ? *first : 0, ' ') + text.substr(leading(text));
    const std::int64_t t = tab_stops < 1 ? 1 : tab_stops;
    std::string out;
    std::int64_t col = 0;
    std::size_t chunk = 0;
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        const std::size_t next = i + d.size;
        const bool last = next == text.size();
        const bool ends = last || (!is_blank(text[i]) && is_blank(text[next]));
        const std::int64_t width = text[i] == '\t' ? 1 : char_width(d.code);
        if (ends && chunk > 0 && col + width > max) {
            std::size_t kept = chunk;
            while (kept < next && is_whitespace(text[kept])) ++kept;
            if (kept == next && last) break;
            const std::string piece = text.substr(kept, next - kept);
            out += "\r\n" + std::string(rest > 0 ? rest : 0, ' ') + piece;
            col = (rest > 0 ? rest : 0) + text_width(piece);
        } else {
            if (ends) out += text.substr(chunk, next - chunk);
            col = text[i] == '\t' ? col + t - col % t : col + width;
        }
        if (ends) chunk = next;
        i = next;
    }
    return out;
}

TEST(Reference, WrapTextFollowsTheChunkRuleOnRandomTexts)
{
    Random random;
    for (int round = 0; round < 20000; ++round) {
        const std::string text = random_text(random, 40);
        const std::int64_t max = static_cast<std::int64_t>(random.below(24)) - 2;
        const std::int64_t rest = static_cast<std::int64_t>(random.below(8)) - 2;
        const int tab_stops = static_cast<int>(random.below(7)) - 1;
        std::optional<std::int64_t> first;
        if (random.below(2)) first = static_cast<std::int64_t>(random.below(6)) - 1;
        ASSERT_EQ(wrap_text(text, first, rest, max, tab_stops),
                  reference_wrap(text, first, rest, max, tab_stops))
            << "text \"" << text << "\" max " << max << " rest " << rest << " tabs " << tab_stops;
    }
}

// Tokens of a word and the blanks after it; each gap replaced as its word and the flags say.
std::string reference_word_spacing(std::string line, const Word_spacing_options& o,
                                   const Abbreviations& abbreviations)
{
    auto trim_right = [](std::string& s) {
        while (!s.empty() && is_whitespace(s.back())) s.pop_back();
    };
    std::string probe = line;
    trim_right(probe);
    if (probe.empty()) return line;
    line = probe;
    std::size_t i = 0;
    while (i < line.size() && is_blank(line[i])) ++i;
    std::string result = line.substr(0, i);
    for (i = leading(line, i); i < line.size();) {
        std::size_t w = i;
        while (w < line.size() && !is_blank(line[w])) ++w;
        std::size_t g = w;
        while (g < line.size() && is_blank(line[g])) ++g;
        const std::string word = line.substr(i, w - i), token = line.substr(i, g - i);
        const std::string sentence_gap = o.sentence_spaces == 2 ? "  " : " ";
        if (ends_sentence(word, abbreviations))
            result += o.clean_sentence_spacing ? word + sentence_gap : token;
        else
            result += o.remove_extra_spaces ? word + " " : token;
        i = g;
    }
    trim_right(result);
    return result;
}

TEST(Reference, WordSpacingFollowsTheTokenRuleOnRandomTexts)
{
    const Abbreviations abbreviations = {"Mr.", "ab."};
    Random random;
    for (int round = 0; round < 20000; ++round) {
        const Word_spacing_options o{random.below(2) == 1, random.below(2) == 1,
                                     static_cast<int>(random.below(4))};
        // Every fourth line long and mostly word, so that its gaps fall anywhere in the blocks
        // the search takes at a time.
        std::string text = random_text(random, round % 4 ? 30 : 8);
        if (round % 4 == 0)
            for (std::uint32_t n = random.below(160); n > 0; --n)
                text += random.below(12) ? "a" : random_text(random, 1);
        Line_list lines = {text};
        const std::string expected = reference_word_spacing(lines[0], o, abbreviations);
        clean_word_spacing(lines, o, abbreviations);
        ASSERT_EQ(lines[0], expected) << "line \"" << lines[0] << "\"";
    }
}

}  // namespace
