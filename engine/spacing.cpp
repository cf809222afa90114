#include "engine/spacing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "engine/avx2.h"
#include "engine/chars.h"
#include "engine/unicode.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool is_closer(char c) { return c == '"' || c == '\'' || c == ')'; }
// The marks that end a sentence, a closer after them or not.
bool is_sentence_mark(char c) { return c == '.' || c == '?' || c == '!'; }

bool is_blank_line(std::string_view line) { return trimmed_right_size(line) == 0; }

// The size of the line with its tabs expanded, counted as expand_tabs counts columns.
std::size_t expanded_size(std::string_view line, int tab_stops)
{
    std::size_t size = 0;
    std::int64_t column = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            const Width_step step = width_step(line.data() + i, line.size() - i);
            size += step.size;
            i += step.size - 1;
            column += step.width;
        } else if (c != '\t') {
            ++size;
            ++column;
        } else {
            const std::int64_t n = next_tab_stop(column, tab_stops) - column;
            size += static_cast<std::size_t>(n);
            column += n;
        }
    }
    return size;
}

// Builds the line with its tabs expanded in out, length bytes long; false when it has no tab.
// Tab stops are in columns, so a character before a tab counts its display width.
bool expand_tabs(std::string_view line, int tab_stops, std::string& out, std::size_t& length)
{
    if (line.find('\t') == std::string_view::npos) return false;
    // One byte at a time: the stretches between tabs are mostly a few bytes long. out always
    // has room for the rest of the line as it is, and grows before a tab that needs more. A
    // long line's result is measured first and given its room at once: grown by doubling, it
    // could take three times its size.
    std::size_t used = 0;
    std::int64_t column = 0;
    if (line.size() >= Line_list::long_line) {
        const std::size_t size = expanded_size(line, tab_stops);
        if (out.capacity() < size) {
            std::string exact;  // a string that has room already may double it
            exact.reserve(size);
            out.swap(exact);
        }
        out.resize(size);
    } else if (out.size() < line.size()) {
        out.resize(line.size());
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            const Width_step step = width_step(line.data() + i, line.size() - i);
            std::memcpy(&out[used], line.data() + i, step.size);
            used += step.size;
            i += step.size - 1;
            column += step.width;
            continue;
        }
        if (c != '\t') {
            out[used++] = c;
            ++column;
            continue;
        }
        const auto n = static_cast<std::size_t>(next_tab_stop(column, tab_stops) - column);
        const std::size_t need = used + n + (line.size() - i - 1);
        if (out.size() < need) out.resize(std::max(need, 2 * out.size()));
        std::memset(&out[used], ' ', n);
        used += n;
        column += static_cast<std::int64_t>(n);
    }
    length = used;
    return true;
}

// Replacing runs of T spaces from the left, each time from the start, leaves every run of n
// spaces as n / T tabs followed by n % T spaces: a tab never forms a new run. The result is
// never longer, so it is written over the line itself; returns its new length.
std::size_t runs_to_tabs(char* line, std::size_t size, int tab_stops)
{
    const auto t = static_cast<std::size_t>(tab_width(tab_stops));
    std::size_t out = 0;
    for (std::size_t i = 0; i < size;) {
        if (line[i] != ' ') {
            line[out++] = line[i++];
            continue;
        }
        std::size_t run = 0;
        for (; i < size && line[i] == ' '; ++i) ++run;
        for (std::size_t k = 0; k < run / t; ++k) line[out++] = '\t';
        for (std::size_t k = 0; k < run % t; ++k) line[out++] = ' ';
    }
    return out;
}

}  // namespace

std::int64_t indentation_width(std::string_view line, int tab_stops)
{
    std::int64_t column = 0;
    for (char c : line) {
        if (c == ' ') ++column;
        else if (c == '\t') column = next_tab_stop(column, tab_stops);
        else break;
    }
    return column;
}

bool is_abbreviation(std::string_view word, const Abbreviations& abbreviations)
{
    if (word.size() > 1 && word.substr(0, word.size() - 1).find('.') != std::string_view::npos)
        return true;
    return abbreviations.contains(word);
}

bool ends_sentence(std::string_view word, const Abbreviations& abbreviations)
{
    if (word.empty()) return false;
    char c = word.back();
    if (is_closer(c)) {
        word.remove_suffix(1);
        if (word.empty()) return false;
        c = word.back();
    }
    if (c == '?' || c == '!') return true;
    return c == '.' && !is_abbreviation(word, abbreviations);
}

void replace_tabs(Line_list& lines, const Tab_options& options)
{
    if (options.mode < tabs_to_spaces || options.mode > commas_to_tabs) return;
    std::string out;
    std::size_t length = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t size = lines[i].size();
        char* const bytes = lines.bytes(i);
        switch (options.mode) {
        case tabs_to_spaces:
            if (expand_tabs(lines[i], options.tab_stops, out, length)) {
                out.resize(length);
                lines.adopt(i, std::move(out));
                if (out.capacity() >= Line_list::long_line) std::string().swap(out);
            }
            break;
        case spaces_to_tabs: lines.truncate(i, runs_to_tabs(bytes, size, options.tab_stops)); break;
        case tabs_to_commas: std::replace(bytes, bytes + size, '\t', ','); break;
        case commas_to_tabs: std::replace(bytes, bytes + size, ',', '\t'); break;
        }
    }
}

void adjust_paragraph_indent(Line_list& lines, const Indent_options& options, const List_ids& ids)
{
    const std::size_t spaces = options.spaces > 0 ? static_cast<std::size_t>(options.spaces) : 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line_view line = lines[i];
        if (options.list_format != 0 && list_id_length(line, ids) > 0) continue;
        const std::size_t lead = leading_whitespace(line);
        if (lead == line.size()) lines.truncate(i, 0);
        else if (lead != spaces || line.find_first_not_of(' ') != spaces)
            lines.replace(i, 0, lead, spaces, ' ');
    }
}

// In place, in two sweeps: the kept lines move up over the blank ones, then down to their
// places with the empty lines between them.
void adjust_paragraph_spacing(Line_list& lines, int lines_between)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (is_blank_line(lines[i])) continue;
        if (kept != i) lines.move_line(kept, i);
        ++kept;
    }
    const std::size_t step = 1 + (lines_between > 0 ? static_cast<std::size_t>(lines_between) : 0);
    lines.resize(kept);
    if (kept == 0 || step == 1) return;
    lines.resize((kept - 1) * step + 1);
    for (std::size_t j = kept - 1; j > 0; --j) lines.move_line(j * step, j);
}

namespace {

// The gap that replaces the blanks after word, or nothing when they stay as they are.
std::optional<std::string_view> gap_for(std::string_view word, const Word_spacing_options& options,
                                        const Abbreviations& abbreviations)
{
    if (ends_sentence(word, abbreviations)) {
        if (!options.clean_sentence_spacing) return std::nullopt;
        return std::string_view(options.sentence_spaces == 2 ? "  " : " ");
    }
    if (!options.remove_extra_spaces) return std::nullopt;
    return std::string_view(" ");
}

// Is the run of blanks at s, n long, already a gap of want spaces?
bool is_gap(const char* s, std::size_t n, std::size_t want)
{
    return n == want && s[0] == ' ' && (n == 1 || s[1] == ' ');
}

// The first position in [from, end) where a gap might change: a tab, a space before another
// blank, or (when sentence ends get two spaces) a space after a character that may end a
// sentence; end when there is none. A lone space after any other word always stays, and most
// gaps are such, so the line is searched sixteen bytes at a time rather than word by word.
std::size_t next_gap_to_check(const char* s, std::size_t from, std::size_t end, bool sentences)
{
    auto check = [&](std::size_t i) {
        if (s[i] == '\t') return true;
        if (s[i] != ' ') return false;
        if (i + 1 < end && is_blank(s[i + 1])) return true;
        if (!sentences || i == 0) return false;
        const char c = s[i - 1];
        return is_sentence_mark(c) || is_closer(c);
    };
#ifdef __SSE2__
    // Bytes q - 1 to q + 16 are read for the sixteen at q.
    auto found_at = [&](std::size_t q) {
        const __m128i space = _mm_set1_epi8(' '), tab = _mm_set1_epi8('\t');
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + q));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + q + 1));
        const __m128i spaces = _mm_cmpeq_epi8(v, space);
        const __m128i blank_next = _mm_or_si128(_mm_cmpeq_epi8(next, space), _mm_cmpeq_epi8(next, tab));
        __m128i found = _mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_and_si128(spaces, blank_next));
        if (sentences) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + q - 1));
            const auto is = [&](char c) { return _mm_cmpeq_epi8(p, _mm_set1_epi8(c)); };
            const __m128i ender = _mm_or_si128(_mm_or_si128(_mm_or_si128(is('.'), is('?')),
                                                            _mm_or_si128(is('!'), is('"'))),
                                               _mm_or_si128(is('\''), is(')')));
            found = _mm_or_si128(found, _mm_and_si128(spaces, ender));
        }
        return static_cast<unsigned>(_mm_movemask_epi8(found));
    };
    if (from == 0 && end > 0) {
        if (check(0)) return 0;
        from = 1;
    }
#ifdef SORVANE_AVX2
    if (end - from >= 33 && avx2_present()) {
        bool found;
        from = gap_blocks_avx2(s, from, end, sentences, found);
        if (found) return from;
    }
#endif
    if (end >= 18) {
        for (; from + 17 <= end; from += 16)
            if (const unsigned mask = found_at(from)) return from + static_cast<std::size_t>(__builtin_ctz(mask));
        // The last bytes in one block that overlaps the ones already searched; the line's last
        // byte is never blank, so the block may end before it.
        const std::size_t q = end - 17;
        const unsigned mask = found_at(q) >> (from - q);
        return mask ? from + static_cast<std::size_t>(__builtin_ctz(mask)) : end;
    }
#endif
    while (from < end && !check(from)) ++from;
    return from;
}

// The cleaned line being built, reused from line to line. Every gap becomes at most two spaces
// and follows a word of at least one byte (or is indentation removed), so a line of n bytes
// never needs more than n + n / 2 + 2: that much is allocated at the start, once for a line
// longer than any before, and its memory is touched only as it is filled.
class Line_buffer {
public:
    void start(std::size_t n)
    {
        used_ = 0;
        const std::size_t need = n + n / 2 + 2;
        if (capacity_ >= need) return;
        bytes_.reset();  // the old room goes first: a long line is not held twice
        bytes_.reset(static_cast<char*>(std::malloc(need)));
        if (!bytes_) throw std::bad_alloc();
        capacity_ = need;
    }
    void append(const char* data, std::size_t n)
    {
        if (n) std::memcpy(bytes_.get() + used_, data, n);
        used_ += n;
    }
    std::string_view text() const { return {bytes_.get(), used_}; }
    // The line built becomes line i: a long one that must move is taken without a copy. A
    // long line's room is not held on to for the lines after it.
    void hand_to(Line_list& lines, std::size_t i)
    {
        lines.adopt(i, bytes_, used_, capacity_);
        if (!bytes_ || capacity_ >= Line_list::long_line) {
            bytes_.reset();
            capacity_ = 0;
        }
    }

private:
    Line_list::Malloced bytes_;  // from malloc, for the list to take as it is
    std::size_t capacity_ = 0, used_ = 0;
};

// Copies the stretches that stay whole into out and leaves a line that needs no change where it
// is; returns the line's new text.
std::string_view clean_line_spacing(std::string_view line, const Word_spacing_options& options,
                                    const Abbreviations& abbreviations, Line_buffer& out)
{
    const std::size_t end = trimmed_right_size(line);
    if (end == 0) return line;
    const char* s = line.data();
    std::size_t from = 0;  // s[from..] is not yet in out
    bool changed = false;
    auto replace = [&](std::size_t at, std::size_t to, std::string_view with) {
        if (!changed) out.start(end);
        changed = true;
        out.append(s + from, at - from);
        out.append(with.data(), with.size());
        from = to;
    };
    std::size_t i = 0;
    while (i < end && is_blank(s[i])) ++i;
    std::size_t body = i;
    while (body < end && is_whitespace(s[body])) ++body;
    if (body != i) replace(i, body, {});
    const bool sentences = options.clean_sentence_spacing && options.sentence_spaces == 2;
    // A gap can change only where next_gap_to_check stops, unless blanks do not change at all
    // after ordinary words: then every gap after a sentence end is looked at.
    const bool every_gap = !options.remove_extra_spaces;
    std::size_t word = body;  // where the word before the next gap starts
    for (i = body; i < end;) {
        const std::size_t gap = every_gap ? find_blank({s, end}, i) : next_gap_to_check(s, i, end, sentences);
        if (gap >= end) break;
        std::size_t run = gap;
        while (run < end && is_blank(s[run])) ++run;
        // The word before the gap, back to the blank before it (at or after word), is needed
        // whole only where its end may end a sentence.
        std::size_t start = gap - 1;
        const char last = s[start], before = start > word ? s[start - 1] : ' ';
        if (is_sentence_mark(last) || (is_closer(last) && is_sentence_mark(before)))
            while (start > word && !is_blank(s[start - 1])) --start;
        const auto with = gap_for({s + start, gap - start}, options, abbreviations);
        if (with && !is_gap(s + gap, run - gap, with->size())) replace(gap, run, *with);
        word = i = run;
    }
    if (!changed) return line.substr(0, end);
    out.append(s + from, end - from);
    return out.text();
}

}  // namespace

void clean_word_spacing(Line_list& lines, const Word_spacing_options& options,
                        const Abbreviations& abbreviations)
{
    Line_buffer out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line_view line = lines[i];
        const std::string_view cleaned = clean_line_spacing(line, options, abbreviations, out);
        if (cleaned.data() == line.data()) lines.truncate(i, cleaned.size());
        else out.hand_to(lines, i);
    }
}
