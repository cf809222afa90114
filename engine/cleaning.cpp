#include "engine/cleaning.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "base/diagnostics.h"
#include "engine/chars.h"
#include "engine/unicode.h"

std::string lower_ascii(std::string text)
{
    for (char& c : text) c = fold_ascii(c);
    return text;
}

namespace {

// A line replaced: its bytes, in a block from malloc the line list can take as it is.
struct Replaced {
    Line_list::Malloced bytes;
    std::size_t size = 0, capacity = 0;
    std::string_view text() const { return {bytes.get(), size}; }
};

// The bytes of a replace_all output. They grow by realloc, an eighth at a time: a long line's
// output moves, where the system can, without a second copy alive, and touches memory only as
// it is written.
class Output_bytes {
public:
    explicit Output_bytes(std::size_t size_hint) { grow(size_hint + size_hint / 8 + 16); }
    // Room for n bytes in all.
    void grow(std::size_t n)
    {
        const std::size_t want = std::max(n, capacity_ + capacity_ / 8 + 64);
        char* grown = static_cast<char*>(std::realloc(bytes_.get(), want));
        if (!grown) throw std::bad_alloc();
        bytes_.release();
        bytes_.reset(grown);
        capacity_ = want;
    }
    char* data() const { return bytes_.get(); }
    std::size_t capacity() const { return capacity_; }
    Replaced take(std::size_t size) { return {std::move(bytes_), size, capacity_}; }

private:
    Line_list::Malloced bytes_;
    std::size_t capacity_ = 0;
};

// The output of replace_all: bytes appended one at a time, and the test whether they end with
// the find text (folded when not case-sensitive), which mostly fails on the last byte.
template <bool case_sensitive>
class Replace_output {
public:
    Replace_output(std::size_t size_hint, const std::string& key)
        : out_(size_hint), bytes_(out_.data()), key_(key), last_(key.back())
    {
    }
    void put(char c)
    {
        if (size_ == out_.capacity()) {
            out_.grow(size_ + 1);
            bytes_ = out_.data();
        }
        bytes_[size_++] = c;
    }
    void put(const std::string& text)
    {
        for (char c : text) put(c);
    }
    // Does the output end with the key, starting no earlier than floor?
    bool ends_with_key(std::size_t floor) const
    {
        const std::size_t n = key_.size();
        const char last = bytes_[size_ - 1];
        if ((case_sensitive ? last : fold_ascii(last)) != last_) return false;
        if (size_ < n + floor) return false;
        const char* tail = bytes_ + size_ - n;
        if (case_sensitive) return std::memcmp(tail, key_.data(), n - 1) == 0;
        for (std::size_t i = 0; i + 1 < n; ++i)
            if (fold_ascii(tail[i]) != key_[i]) return false;
        return true;
    }
    void drop_key() { size_ -= key_.size(); }
    std::size_t size() const { return size_; }
    Replaced take() { return out_.take(size_); }

private:
    Output_bytes out_;
    char* bytes_;  // out_'s bytes
    std::size_t size_ = 0;
    const std::string& key_;
    const char last_;
};

// The text so far is out + (pending replacement bytes) + the unread input. out never holds an
// occurrence that the rescan would still find, so the first occurrence of the whole text is the
// first one to complete at out's end: appending byte by byte and replacing there gives exactly
// the restart-from-the-start result, in linear time.
template <bool case_sensitive>
Replaced replace_all_with(std::string_view text, const std::string& find,
                          const std::string& replacement)
{
    const std::string key = case_sensitive ? find : lower_ascii(find);
    const std::string folded_replacement = case_sensitive ? replacement : lower_ascii(replacement);
    bool rescan = folded_replacement.find(key) == std::string::npos;
    // Counted in characters, as the character version counts, so a text gives the same
    // result in UTF-8 as in an 8-bit code page.
    const std::size_t find_chars = count_chars(find), replacement_chars = count_chars(replacement);
    const bool shrinks = replacement_chars < find_chars;
    std::size_t budget = 32 * (count_chars(text) + find_chars + replacement_chars + 64);

    Replace_output<case_sensitive> out(text.size(), key);
    std::size_t floor = 0;  // occurrences must start here or later (continue-after mode)
    // Replacement bytes still to be re-read: a stack of offsets into replacement.
    std::vector<std::size_t> pending;
    std::size_t next = 0;
    while (next < text.size() || !pending.empty()) {
        if (!pending.empty()) {
            std::size_t& at = pending.back();
            out.put(replacement[at]);
            if (++at == replacement.size()) pending.pop_back();
        } else {
            out.put(text[next++]);
        }
        if (!out.ends_with_key(floor)) continue;
        out.drop_key();
        if (rescan && !shrinks) {
            if (budget < replacement_chars) rescan = false;
            else budget -= replacement_chars;
        }
        if (rescan) {
            if (!replacement.empty()) pending.push_back(0);
        } else {
            // What is still pending is re-read without rescanning the inserted text.
            out.put(replacement);
            floor = out.size();
        }
    }
    return out.take();
}

// replace_all_with over characters rather than bytes, for texts beyond ASCII that are not
// case-sensitive: simple case folding may change a character's length in bytes ("K", the Kelvin
// sign, is three bytes and folds to the one of "k"), so the output keeps which of its bytes
// start a character (one bit each, so that a long line costs an eighth more, not many times
// its size), and folds its last characters again as it compares them. A character's bytes
// decoded on their own give the character they were. Counts and the work bound are in
// characters, so 8-bit text whose bytes are each a character of their own gives what the byte
// version gives.
class Folding_output {
public:
    explicit Folding_output(std::size_t size_hint) : bytes_(size_hint)
    {
        starts_.reserve(bytes_.capacity());
    }
    void put(const char* s, const Decoded& d)
    {
        if (bytes_.capacity() - size_bytes_ < d.size) bytes_.grow(size_bytes_ + d.size);
        std::memcpy(bytes_.data() + size_bytes_, s, d.size);
        size_bytes_ += d.size;
        starts_.push_back(true);
        for (std::size_t k = 1; k < d.size; ++k) starts_.push_back(false);
        ++size_;
    }
    bool ends_with(const std::vector<char32_t>& key, std::size_t floor) const
    {
        const std::size_t n = key.size();
        if (size_ < n + floor) return false;
        std::size_t end = size_bytes_;
        for (std::size_t k = n; k-- > 0;) {
            const std::size_t start = start_before(end);
            if (fold_char(decode_utf8(bytes_.data() + start, end - start).code) != key[k])
                return false;
            end = start;
        }
        return true;
    }
    void drop(std::size_t n)
    {
        std::size_t end = size_bytes_;
        for (std::size_t k = 0; k < n; ++k) end = start_before(end);
        size_bytes_ = end;
        starts_.resize(end);
        size_ -= n;
    }
    std::size_t size() const { return size_; }
    Replaced take() { return bytes_.take(size_bytes_); }

private:
    // Where the character that ends at end starts.
    std::size_t start_before(std::size_t end) const
    {
        std::size_t start = end - 1;
        while (!starts_[start]) --start;
        return start;
    }

    Output_bytes bytes_;
    std::size_t size_bytes_ = 0;
    std::vector<bool> starts_;  // for each byte, whether a character starts there
    std::size_t size_ = 0;      // characters
};

struct Char_at {
    Decoded decoded;
    std::size_t at;  // byte offset
};

std::vector<Char_at> chars_of(std::string_view text)
{
    std::vector<Char_at> chars;
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        chars.push_back({d, i});
        i += d.size;
    }
    return chars;
}

std::vector<char32_t> folded_chars(const std::vector<Char_at>& chars)
{
    std::vector<char32_t> folded;
    for (const Char_at& c : chars) folded.push_back(fold_char(c.decoded.code));
    return folded;
}

// The text is read a character at a time as it goes: a long line is not held a second time
// as characters.
Replaced replace_all_folding(std::string_view text, const std::string& find,
                             const std::string& replacement)
{
    const std::vector<Char_at> find_chars = chars_of(find),
                               replacement_chars = chars_of(replacement);
    const std::vector<char32_t> key = folded_chars(find_chars),
                                folded_replacement = folded_chars(replacement_chars);
    bool rescan = std::search(folded_replacement.begin(), folded_replacement.end(), key.begin(),
                              key.end()) == folded_replacement.end();
    const bool shrinks = replacement_chars.size() < find_chars.size();
    std::size_t budget =
        32 * (count_chars(text) + find_chars.size() + replacement_chars.size() + 64);

    Folding_output out(text.size());
    std::size_t floor = 0;
    std::vector<std::size_t> pending;
    std::size_t next = 0;  // byte offset in text
    auto put_replacement_char = [&](std::size_t i) {
        out.put(replacement.data() + replacement_chars[i].at, replacement_chars[i].decoded);
    };
    while (next < text.size() || !pending.empty()) {
        if (!pending.empty()) {
            std::size_t& at = pending.back();
            put_replacement_char(at);
            if (++at == replacement_chars.size()) pending.pop_back();
        } else {
            const Decoded d = decode_utf8(text.data() + next, text.size() - next);
            out.put(text.data() + next, d);
            next += d.size;
        }
        if (!out.ends_with(key, floor)) continue;
        out.drop(key.size());
        if (rescan && !shrinks) {
            if (budget < replacement_chars.size()) rescan = false;
            else budget -= replacement_chars.size();
        }
        if (rescan) {
            if (!replacement_chars.empty()) pending.push_back(0);
        } else {
            for (std::size_t i = 0; i < replacement_chars.size(); ++i) put_replacement_char(i);
            floor = out.size();
        }
    }
    return out.take();
}

// replace_all for a find text that is not empty.
Replaced replaced(std::string_view text, const std::string& find, const std::string& replacement,
                  bool case_sensitive)
{
    if (case_sensitive) return replace_all_with<true>(text, find, replacement);
    // In ASCII only A to Z fold, and no other character folds to one of them.
    if (!has_high_byte(text) && !has_high_byte(find) && !has_high_byte(replacement))
        return replace_all_with<false>(text, find, replacement);
    return replace_all_folding(text, find, replacement);
}

}  // namespace

std::string replace_all(std::string_view text, const std::string& find,
                        const std::string& replacement, bool case_sensitive)
{
    if (find.empty()) return std::string(text);
    return std::string(replaced(text, find, replacement, case_sensitive).text());
}

void remove_reply_marks(Line_list& lines)
{
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const Line_view line = lines[l];
        std::size_t i = 0;
        while (i < line.size() && is_blank(line[i])) ++i;
        if (i == line.size() || line[i] != '>') continue;
        std::size_t after_mark = i;
        for (; i < line.size() && (line[i] == '>' || is_blank(line[i])); ++i)
            if (line[i] == '>') after_mark = i + 1;
        if (after_mark < line.size() && line[after_mark] == ' ') ++after_mark;
        lines.replace(l, 0, after_mark, 0, ' ');
    }
}

Find_replace_pairs Cleaner::read_pairs() const
{
    Find_replace_pairs pairs;
    for (std::size_t i = 0; i < pairs.size(); ++i)
        pairs[i] = {settings_.misc_find[i], settings_.misc_replace[i]};
    return pairs;
}

namespace {

// Compared as the search compares: folded when the pair is not case-sensitive.
bool replaces_own_output(const Find_replace_pair& pair, bool case_sensitive)
{
    if (case_sensitive) return pair.replace.find(pair.find) != std::string::npos;
    return fold_case(pair.replace).find(fold_case(pair.find)) != std::string::npos;
}

}  // namespace

void Cleaner::apply_find_replace(Line_list& lines, const Find_replace_pairs& pairs,
                                 Replace_run run)
{
    const bool case_sensitive = settings_.misc_case_sensitive != 0;
    for (const Find_replace_pair& pair : pairs) {
        if (pair.find.empty()) continue;
        if (run == Replace_run::second && replaces_own_output(pair, case_sensitive)) continue;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line_view line = lines[i];
            // A line without the find text stays as it is.
            if (case_sensitive && line.find(pair.find) == std::string_view::npos) continue;
            Replaced result = replaced(line, pair.find, pair.replace, case_sensitive);
            if (result.text() != line) lines.adopt(i, result.bytes, result.size, result.capacity);
        }
    }
}

Cleaner::Run_options Cleaner::read_options() const
{
    const Cleaning_settings& s = settings_;
    const int tab_stops = s.spac_tab_stops;
    Run_options o;
    o.characters = {s.char_straight_quotes != 0, s.char_plain_dashes != 0,
                    s.char_plain_ellipsis != 0, s.char_plain_spaces != 0,
                    s.char_remove_invisible != 0};
    o.remove_reply_marks = s.misc_remove_reply_marks != 0;
    o.tabs = {s.misc_tab_replace, tab_stops};
    o.remove_line_breaks = s.para_remove_line_breaks != 0;
    o.join = {s.para_punct_mark_ends_para != 0, s.para_spaces_between_sents,
              s.para_blank_lines_separate_paras != 0, s.para_indented_makes_new_para != 0,
              s.para_num_indent_spaces_for_new_para, tab_stops};
    o.adjust_indent = s.spac_adjust_para_indent != 0;
    o.indent = {s.spac_num_spaces_to_indent, s.list_format};
    o.adjust_spacing = s.spac_adjust_para_spacing != 0;
    o.lines_between = s.spac_lines_between_paras;
    o.words = {s.spac_rem_extra_spaces_between_words != 0, s.spac_clean_up_sent_spacing != 0,
               s.spac_num_spaces_between_sents};
    o.ids = {s.list_id_custom,         s.list_id_numbers != 0, s.list_id_letters != 0,
             s.list_id_roman != 0,     s.list_id_dash != 0,    s.list_id_star != 0,
             s.list_id_o != 0};
    o.wrap = {s.para_max_chars_on_para_line, s.list_format, s.list_adjust_indent != 0,
              s.list_num_indent_spaces,      s.list_max_line_length, tab_stops};
    return o;
}

void Cleaner::clean_lines(Line_list& lines)
{
    TRACE_HERE();
    const Run_options o = read_options();

    // First, so that a no-break space in an indentation is indentation to every later pass.
    if (o.characters.any()) {
        TRACE_HERE();
        make_characters_plain(lines, o.characters);
        TRACE_HERE();
    }

    if (o.remove_reply_marks) {
        TRACE_HERE();
        remove_reply_marks(lines);
        TRACE_HERE();
    }

    TRACE_HERE();
    const Find_replace_pairs pairs = read_pairs();
    apply_find_replace(lines, pairs);
    // After each pass that can move lines: a long text that every line has left is let go.
    lines.release_unused();

    TRACE_HERE();
    if (o.tabs.mode >= tabs_to_spaces && o.tabs.mode <= commas_to_tabs)
        replace_tabs(lines, o.tabs);
    lines.release_unused();

    TRACE_HERE();
    if (o.remove_line_breaks) {
        TRACE_HERE();
        join_paragraph_lines(lines, o.join, o.ids, abbreviations_);
        lines.release_unused();
        TRACE_HERE();
    }

    if (o.adjust_indent) {
        TRACE_HERE();
        adjust_paragraph_indent(lines, o.indent, o.ids);
        lines.release_unused();
        TRACE_HERE();
    }

    if (o.adjust_spacing) {
        TRACE_HERE();
        adjust_paragraph_spacing(lines, o.lines_between);
        TRACE_HERE();
    }

    if (o.words.remove_extra_spaces || o.words.clean_sentence_spacing) {
        TRACE_HERE();
        clean_word_spacing(lines, o.words, abbreviations_);
        lines.release_unused();
        TRACE_HERE();
    }

    TRACE_HERE();
    apply_find_replace(lines, pairs, Replace_run::second);
    lines.release_unused();

    TRACE_HERE();
    space_list_identifiers(lines, o.ids);
    lines.release_unused();

    TRACE_HERE();
    if (o.wrap.paragraph_max != 0 || o.wrap.list_format == 1) {
        TRACE_HERE();
        wrap_lines(lines, o.wrap, o.ids);
        TRACE_HERE();
    }

    TRACE_HERE();
}
