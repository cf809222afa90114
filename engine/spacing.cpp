#include "engine/spacing.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "engine/chars.h"
#include "engine/unicode.h"

namespace {

bool is_closer(char c) { return c == '"' || c == '\'' || c == ')'; }

bool is_blank_line(std::string_view line) { return trimmed_right_size(line) == 0; }

// Builds the line with its tabs expanded in out, length bytes long; false when it has no tab.
// Tab stops are in columns, so a character before a tab counts its display width.
bool expand_tabs(std::string_view line, int tab_stops, std::string& out, std::size_t& length)
{
    if (line.find('\t') == std::string_view::npos) return false;
    // One byte at a time: the stretches between tabs are mostly a few bytes long. out always
    // has room for the rest of the line as it is, and grows before a tab that needs more.
    std::size_t used = 0;
    std::int64_t column = 0;
    if (out.size() < line.size()) out.resize(line.size());
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
    return abbreviations.count(std::string(word)) != 0;
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
            if (expand_tabs(lines[i], options.tab_stops, out, length))
                lines.set(i, std::string_view(out.data(), length));
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

// Copies the stretches that stay whole into out and leaves a line that needs no change where it
// is; returns the line's new text.
std::string_view clean_line_spacing(std::string_view line, const Word_spacing_options& options,
                                    const Abbreviations& abbreviations, std::string& out)
{
    const std::size_t end = trimmed_right_size(line);
    if (end == 0) return line;
    const char* s = line.data();
    std::size_t from = 0;  // s[from..] is not yet in out
    char* o = nullptr;     // the end of what out holds, once the line has changed
    // Every gap becomes at most two spaces and is at least one blank: out never needs more
    // than twice the line.
    auto replace = [&](std::size_t at, std::size_t to, std::string_view with) {
        if (!o) {
            if (out.size() < 2 * end + 2) out.resize(2 * end + 2);
            o = out.data();
        }
        std::memcpy(o, s + from, at - from);
        o += at - from;
        if (!with.empty()) std::memcpy(o, with.data(), with.size());
        o += with.size();
        from = to;
    };
    std::size_t i = 0;
    while (i < end && is_blank(s[i])) ++i;
    std::size_t body = i;
    while (body < end && is_whitespace(s[body])) ++body;
    if (body != i) replace(i, body, {});
    const std::string_view text = line.substr(0, end);
    for (i = body; i < end;) {
        const std::size_t word = i;
        i = find_blank(text, i);
        if (i == end) break;
        const std::size_t word_end = i;
        while (i < end && is_blank(s[i])) ++i;
        const auto gap = gap_for({s + word, word_end - word}, options, abbreviations);
        if (gap && !is_gap(s + word_end, i - word_end, gap->size())) replace(word_end, i, *gap);
    }
    if (!o) return text;
    std::memcpy(o, s + from, end - from);
    o += end - from;
    return {out.data(), static_cast<std::size_t>(o - out.data())};
}

}  // namespace

void clean_word_spacing(Line_list& lines, const Word_spacing_options& options,
                        const Abbreviations& abbreviations)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line_view line = lines[i];
        const std::string_view cleaned = clean_line_spacing(line, options, abbreviations, out);
        if (cleaned.data() == line.data()) lines.truncate(i, cleaned.size());
        else lines.set(i, cleaned);
    }
}
