#include "engine/paragraphs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/diagnostics.h"
#include "engine/chars.h"
#include "engine/spacing.h"
#include "engine/unicode.h"

namespace {

// A count of spaces to insert; on a 32-bit build a count beyond memory stays beyond it instead of
// wrapping round to a small one.
std::size_t spaces(std::int64_t count)
{
    if (count <= 0) return 0;
    const auto wide = static_cast<std::uint64_t>(count);
    return wide > SIZE_MAX ? SIZE_MAX : static_cast<std::size_t>(wide);
}

// The walk of join_paragraph_lines over the list, compacting it as it goes: lines[0..p] are
// the result so far with lines[p] the current line, lines[next..] are not yet looked at, and
// the lines in between were joined away.
class Joiner {
public:
    Joiner(Line_list& lines, const Join_options& options, const List_ids& ids,
           const Abbreviations& abbreviations)
        : lines_(lines), options_(options), ids_(ids), abbreviations_(abbreviations)
    {
    }

    void run()
    {
        if (lines_.empty()) return;
        while (step()) {
        }
        std::size_t kept = p_ + 1;
        for (; next_ < lines_.size(); ++next_, ++kept)
            if (kept != next_) lines_.move_line(kept, next_);
        lines_.resize(kept);
    }

private:
    // Makes the line after the current one current; false when there is none.
    bool advance()
    {
        if (next_ == lines_.size()) return false;
        ++p_;
        if (p_ != next_) lines_.move_line(p_, next_);
        ++next_;
        return true;
    }

    bool starts_paragraph(std::string_view a) const
    {
        if (options_.indent_makes_new &&
            indentation_width(a, options_.tab_stops) >= options_.indent_for_new)
            return true;
        return list_id_length(a, ids_) > 0;
    }

    // One round of the rules on the current line; false when the pass stops.
    bool step()
    {
        const Line_view current = lines_[p_];
        const std::size_t l = trimmed_right_size(current);
        if (l == 0) return advance();
        // Only spaces separate words here; a joined line always has one before the joined text,
        // so this never looks back past the latest join.
        const std::size_t space = last_of(std::string_view(current.data(), l), ' ');
        const std::size_t word = space == std::string_view::npos ? 0 : space + 1;
        const bool sentence_end =
            ends_sentence(std::string_view(current.data() + word, l - word), abbreviations_);
        if (options_.punct_ends_paragraph && sentence_end) return advance();
        if (next_ == lines_.size()) return false;

        std::size_t a_index = next_;
        if (trimmed_right_size(lines_[a_index]) == 0) {
            if (options_.blank_lines_separate) return advance();
            while (a_index < lines_.size() && trimmed_right_size(lines_[a_index]) == 0) ++a_index;
            if (a_index == lines_.size()) return false;
        }
        const Line_view a_line = lines_[a_index];
        std::string_view a(a_line.data(), trimmed_right_size(a_line));
        if (starts_paragraph(a)) return advance();

        // The lines joined away give their room to the current line, so a paragraph of
        // consecutive lines is usually joined where it stands.
        for (std::size_t i = next_; i <= a_index; ++i) lines_.take_over(p_, i);
        lines_.truncate(p_, l);
        const bool two = sentence_end && options_.sentence_spaces == 2;
        lines_.append(p_, two ? "  " : " ", a.substr(leading_whitespace(a)));
        next_ = a_index + 1;
        return true;
    }

    Line_list& lines_;
    const Join_options& options_;
    const List_ids& ids_;
    const Abbreviations& abbreviations_;
    std::size_t p_ = 0;
    std::size_t next_ = 1;
};

}  // namespace

void join_paragraph_lines(Line_list& lines, const Join_options& options, const List_ids& ids,
                          const Abbreviations& abbreviations)
{
    Joiner(lines, options, ids, abbreviations).run();
}

namespace {

// Without tabs no character takes more columns than it has bytes, so a text no longer than the
// maximum has no chunk that could reach it.
bool fits(std::string_view text, std::int64_t max_length)
{
    return static_cast<std::int64_t>(text.size()) <= max_length &&
           text.find('\t') == std::string_view::npos;
}

// Ends the output line before the chunk at `at` (its blanks, up to `limit`, are dropped) and
// starts the next one indented; from moves to the first character kept. False when only blanks
// follow, which would make a line of indentation alone: the text is then all in out.
bool break_line(std::string_view text, std::size_t at, std::size_t limit, std::size_t indent,
                std::size_t& from, std::string& out)
{
    std::size_t kept = at;
    while (kept < limit && is_whitespace(text[kept])) ++kept;
    out.append(text.substr(from, at - from));
    if (kept == text.size()) {
        from = kept;
        return false;
    }
    out += "\r\n";
    out.append(indent, ' ');
    from = kept;
    return true;
}

// Walks the text chunk by chunk (the blanks before a word, then the word) and copies each
// output line's stretch of text whole into out; false when no line was broken (out is then
// unused). A chunk stays on its line while the column after its last character is at most the
// maximum; a tab as that character counts as one column, as it counts where it stands. ascii:
// the text has no byte of 0x80 or more, so a word's width is its length.
template <bool ascii>
bool wrapped(std::string_view text, std::int64_t continuation_indent, std::int64_t max_length,
             int tab_stops, std::string& out)
{
    const std::size_t indent = spaces(continuation_indent), n = text.size();
    out.clear();
    out.reserve(n + n / 8);
    auto width = [&](std::size_t from, std::size_t to) {
        return ascii ? static_cast<std::int64_t>(to - from) : text_width(text.substr(from, to - from));
    };
    std::int64_t column = 0;
    std::size_t from = 0;  // text[from..] is not yet in out
    for (std::size_t i = 0; i < n;) {
        const std::size_t chunk = i;
        std::int64_t end_column = column;  // after the chunk's last character
        for (; i < n && is_blank(text[i]); ++i) {
            end_column = column + 1;
            column = text[i] == '\t' ? next_tab_stop(column, tab_stops) : column + 1;
        }
        const std::size_t word = i;
        i = find_blank(text, i);
        const std::int64_t word_width = width(word, i);
        if (i > word) end_column = column + word_width;
        if (chunk == 0 || end_column <= max_length) {
            column += word_width;
            continue;
        }
        if (!break_line(text, chunk, i, indent, from, out)) break;
        column = static_cast<std::int64_t>(indent) + width(from, i);
    }
    if (from == 0) return false;
    out.append(text.substr(from));
    return true;
}

// The first position at or after from whose character would end past column max, the
// character at from standing at column; n when there is none. Blocks at a time while they hold
// only common characters (width_run), and after them the characters of sixteen bytes one at a
// time. Kept out of its caller, whose many live values would push this loop's own out
// of registers.
[[gnu::noinline]] std::size_t reach_of(std::string_view text, std::size_t from,
                                       std::int64_t column, std::int64_t max)
{
    const char* s = text.data();
    const std::size_t n = text.size();
    std::int64_t room = max - column;  // the columns left on the line
    while (from < n) {
        const Width_run run = width_run(s + from, n - from, room);
        from += run.size;
        if (run.reached) return from;
        room -= run.width;
        const std::size_t slow_until = from + std::min<std::size_t>(n - from, 16);
        while (from < slow_until) {
            const Width_step step = width_step(s + from, n - from);
            if (step.width > room) return from;
            room -= step.width;
            from += step.size;
        }
    }
    return n;
}

// The same walk for a text without tabs: instead of stepping through every chunk, it goes
// straight to the chunk that holds the first character ending past the maximum. Without bytes
// of 0x80 and more (ascii), a character's column is its distance from the start of its output
// line plus that line's indentation; otherwise the widths up to there are added.
template <bool ascii>
bool wrapped_without_tabs(std::string_view text, std::int64_t continuation_indent,
                          std::int64_t max_length, std::string& out)
{
    const std::size_t indent = spaces(continuation_indent), n = text.size();
    out.clear();
    out.reserve(n + n / 8);
    std::size_t line = 0;      // where the current output line's text starts
    std::int64_t column = 0;   // the column of text[line]
    std::size_t placed = 0;    // the end of the last chunk placed
    std::size_t from = 0;      // text[from..] is not yet in out
    for (;;) {
        // The chunks that end before column max_length stay; the first chunk that ends at or
        // after it holds position reach (and a chunk after a break always ends there).
        std::size_t reach = placed;
        if (ascii) {
            const std::int64_t ahead = max_length - column;
            if (ahead > 0 && static_cast<std::uint64_t>(ahead) < n - line)
                reach = std::max(placed, line + static_cast<std::size_t>(ahead));
            else if (ahead > 0)
                break;
        } else {
            reach = std::max(placed, reach_of(text, line, column, max_length));
        }
        if (reach >= n) break;
        std::size_t start = reach;  // back to the start of the chunk's blanks
        while (start > placed && !is_blank(text[start]) && !is_blank(text[start - 1])) --start;
        if (!is_blank(text[start]) && start > placed && is_blank(text[start - 1])) --start;
        while (start > placed && is_blank(text[start - 1])) --start;
        std::size_t end = reach;  // on to the end of the chunk's word
        while (end < n && is_blank(text[end])) ++end;
        end = find_blank(text, end);
        placed = end;
        if (start == 0) continue;  // the first chunk never moves
        if (!break_line(text, start, end, indent, from, out)) break;
        line = from;
        column = static_cast<std::int64_t>(indent);
    }
    if (from == 0) return false;
    out.append(text.substr(from));
    return true;
}

// The wrapped text of one line, in out when it changed; scratch and out are reused from line
// to line.
std::string_view wrap_into(std::string_view text, std::optional<std::int64_t> first_indent,
                           std::int64_t continuation_indent, std::int64_t max_length,
                           int tab_stops, std::string& scratch, std::string& out)
{
    TRACE_HERE();
    if (first_indent) {
        const std::size_t lead = leading_whitespace(text);
        const std::size_t want = spaces(*first_indent);
        if (lead != want || text.find_first_not_of(' ') != want) {
            scratch.assign(want, ' ');
            scratch.append(text.substr(lead));
            text = scratch;
        }
    }
    if (!fits(text, max_length)) {
        const bool tabs = text.find('\t') != std::string_view::npos;
        const bool ascii = !has_high_byte(text);
        const bool changed =
            tabs ? (ascii ? wrapped<true>(text, continuation_indent, max_length, tab_stops, out)
                          : wrapped<false>(text, continuation_indent, max_length, tab_stops, out))
                 : (ascii ? wrapped_without_tabs<true>(text, continuation_indent, max_length, out)
                          : wrapped_without_tabs<false>(text, continuation_indent, max_length, out));
        if (changed) text = out;
    }
    TRACE_HERE();
    return text;
}

}  // namespace

std::string wrap_text(std::string text, std::optional<std::int64_t> first_indent,
                      std::int64_t continuation_indent, std::int64_t max_length, int tab_stops)
{
    std::string scratch, out;
    const std::string_view wrapped = wrap_into(text, first_indent, continuation_indent,
                                               max_length, tab_stops, scratch, out);
    if (wrapped.data() == text.data()) return text;
    return std::string(wrapped);
}

void wrap_lines(Line_list& lines, const Wrap_options& options, const List_ids& ids)
{
    std::string scratch, out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line_view line = lines[i];
        const std::size_t id_size = list_id_length(line, ids);
        std::string_view result = line;
        if (id_size > 0 && options.list_format == 1) {
            // The hanging indent is the identifier's columns ("•" is one), not its bytes.
            const std::int64_t k = text_width(line.substr(leading_whitespace(line), id_size));
            const std::int64_t max = options.list_max;
            if (options.list_adjust_indent) {
                const std::int64_t a = options.list_indent;
                // A long line is indented where it stands rather than in a copy.
                const std::size_t lead = leading_whitespace(line), want = spaces(a);
                if (line.size() >= Line_list::long_line &&
                    (lead != want || line.find_first_not_of(' ') != want)) {
                    lines.replace(i, 0, lead, want, ' ');
                    result = wrap_into(lines[i], std::nullopt, a + k + 1, max, options.tab_stops,
                                       scratch, out);
                } else {
                    result = wrap_into(line, a, a + k + 1, max, options.tab_stops, scratch, out);
                }
            } else {
                const std::int64_t b = indentation_width(line, options.tab_stops);
                result = wrap_into(line, std::nullopt, b + k + 1, max, options.tab_stops, scratch,
                                   out);
            }
        } else if (options.paragraph_max != 0) {
            result = wrap_into(line, std::nullopt, 0, options.paragraph_max, options.tab_stops,
                               scratch, out);
        }
        const std::size_t size = std::max(line.size(), result.size());
        if (result.data() != line.data()) {
            if (result.data() == out.data()) lines.adopt(i, std::move(out));
            else if (result.data() == scratch.data()) lines.adopt(i, std::move(scratch));
        }
        // The room of a long line is not held on to for the lines after it.
        if (size >= Line_list::long_line / 2) {
            std::string().swap(out);
            std::string().swap(scratch);
        }
    }
}
