// The text being cleaned, one entry per line without terminators.
//
// The bytes live in a few large blocks: the text as it was read, and blocks that rewritten
// lines move to when they outgrow their place. Every line owns one stretch of a block (its
// bytes and the room after them, at first its terminator); a line that shrinks or grows within
// that room is changed where it stands, and a line that grows further moves, with room to
// spare, to the newest block. A long line (256 KiB or more) that moves gets a block of its own
// instead, freed when it moves on, so that rewriting a long text holds it about twice, not once
// per pass. Lines are seen as views; a view stays valid until its own line is changed or the
// list is destroyed, whatever happens to the other lines. A line or a text of 4 GiB or more
// throws std::length_error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// One line as the passes read it; it converts to a string where a copy is wanted.
class Line_view : public std::string_view {
public:
    using std::string_view::string_view;
    Line_view(std::string_view text) : std::string_view(text) {}
    operator std::string() const { return std::string(data(), size()); }
};
// How test frameworks print a line: as text. Inline, so that a program that never prints one
// links no stream machinery.
inline void PrintTo(const Line_view& line, std::ostream* os)
{
    *os << '"' << static_cast<std::string_view>(line) << '"';
}

class Line_list {
public:
    // A line at least this long that moves gets a block of its own.
    static constexpr std::size_t long_line = 256 * 1024;
    struct Free {
        void operator()(char* bytes) const;
    };
    // Bytes from malloc, which the list can take as a line's block and grow where they stand.
    using Malloced = std::unique_ptr<char[], Free>;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Line_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Line_view;
        const_iterator(const Line_list* list, std::size_t i) : list_(list), i_(i) {}
        Line_view operator*() const { return (*list_)[i_]; }
        const_iterator& operator++() { ++i_; return *this; }
        difference_type operator-(const const_iterator& o) const
        {
            return static_cast<difference_type>(i_) - static_cast<difference_type>(o.i_);
        }
        bool operator==(const const_iterator& o) const { return i_ == o.i_; }
        bool operator!=(const const_iterator& o) const { return i_ != o.i_; }

    private:
        const Line_list* list_;
        std::size_t i_;
    };
    using iterator = const_iterator;
    using value_type = Line_view;

    Line_list() = default;
    Line_list(std::initializer_list<std::string_view> lines);
    template <class It>
    Line_list(It first, It last)
    {
        for (; first != last; ++first) push_back(std::string_view(*first));
    }
    Line_list(const Line_list& other);
    Line_list& operator=(const Line_list& other);
    Line_list(Line_list&&) noexcept = default;
    Line_list& operator=(Line_list&&) noexcept = default;

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    Line_view operator[](std::size_t i) const { return {lines_[i].data, lines_[i].size}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, lines_.size()}; }
    bool operator==(const Line_list& other) const;
    bool operator!=(const Line_list& other) const { return !(*this == other); }

    // Line i becomes text (which may be a view of line i itself).
    void set(std::size_t i, std::string_view text);
    // The same for a line built in a string: where the line must move and is long, the list
    // takes the string's bytes without a copy and text is left empty; otherwise text keeps its
    // bytes, to be reused.
    void adopt(std::size_t i, std::string&& text)
    {
        if (text.size() <= lines_[i].room || text.size() < long_line) set(i, text);
        else adopt_long(i, std::move(text));
    }
    // The same for a line of size bytes built in an array of capacity bytes: where the list
    // takes the array, bytes is left empty.
    void adopt(std::size_t i, std::unique_ptr<char[]>& bytes, std::size_t size,
               std::size_t capacity)
    {
        if (size <= lines_[i].room || size < long_line) set(i, {bytes.get(), size});
        else adopt_long(i, bytes, size, capacity);
    }
    void adopt(std::size_t i, Malloced& bytes, std::size_t size, std::size_t capacity)
    {
        if (size <= lines_[i].room || size < long_line) set(i, {bytes.get(), size});
        else adopt_long(i, bytes, size, capacity);
    }
    // Replaces count bytes of line i at pos by n copies of fill; returns where they stand.
    char* replace(std::size_t i, std::size_t pos, std::size_t count, std::size_t n, char fill);
    // The bytes of line i, to change without changing its length.
    char* bytes(std::size_t i) { return lines_[i].data; }
    // Keeps the first n bytes of line i.
    void truncate(std::size_t i, std::size_t n) { lines_[i].size = static_cast<std::uint32_t>(n); }
    // Appends gap and then text to line i; text may be a view of a line that line i has taken
    // over with take_over.
    void append(std::size_t i, std::string_view gap, std::string_view text);
    // Line from is joined into line i and becomes empty; where its bytes follow line i's room,
    // line i's room grows over them.
    void take_over(std::size_t i, std::size_t from);

    void push_back(std::string_view text);
    // Entry to takes entry from, which becomes empty.
    void move_line(std::size_t to, std::size_t from);
    // Fewer entries, or empty ones added at the end.
    void resize(std::size_t n);

    // The list of text's lines; the text becomes the list's first block, without a copy.
    static Line_list split(std::string&& text);
    // The same for the size bytes at data, which owner keeps alive as long as the list needs
    // them (a buffer the caller mapped, say).
    static Line_list split(char* data, std::size_t size, std::shared_ptr<void> owner);
    // Gives back what the lines use no more: the text as it was read once most of it has moved
    // (after a pass that rewrote a long line), the few lines left in it moving out, and the
    // entries of a list that shrank to a fraction. Views of the lines that move, of empty lines
    // and of lines no longer in the list end.
    void release_unused();

private:
    struct Line {
        char* data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t room = 0;  // bytes owned from data on
    };
    // The block of one long line: bytes from malloc, which can grow where they stand, or a
    // string or an array the list took over.
    struct Own_block {
        Malloced bytes;
        std::unique_ptr<char[]> array;
        std::string text;
        char* data() { return bytes ? bytes.get() : array ? array.get() : &text[0]; }
    };

    void adopt_long(std::size_t i, std::string&& text);
    void adopt_long(std::size_t i, std::unique_ptr<char[]>& bytes, std::size_t size,
                    std::size_t capacity);
    void adopt_long(std::size_t i, Malloced& bytes, std::size_t size, std::size_t capacity);
    // Line i becomes the first size bytes of block, capacity bytes long.
    void take_block(std::size_t i, Own_block&& block, std::size_t size, std::size_t capacity);
    char* allocate(std::size_t n, std::size_t& room);
    char* allocate_own(std::size_t n);
    // Gives line i room for n bytes, keeping its first keep bytes; returns its data.
    char* reserve(std::size_t i, std::size_t n, std::size_t keep);
    // The own block a line stands in, or nullptr.
    Own_block* own_block(const Line& line);
    bool in_text(const Line& line) const;
    // Frees the own block at data, if there is one.
    void free_own(const char* data);
    // After a line has moved from old: its own block is freed, its room in the text counted.
    void left(const Line& old);

    std::vector<Line> lines_;
    std::shared_ptr<void> text_;  // owns the first block
    const char* text_begin_ = nullptr;
    std::size_t text_size_ = 0;
    std::size_t text_left_ = 0;   // room of the first block that lines have left
    std::size_t next_check_ = 0;  // text_left_ at which release_unused looks again
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;  // the unused end of the newest block
    std::size_t free_size_ = 0;
    std::vector<Own_block> own_;
    // Own blocks of lines taken over, freed once the append that reads them is done.
    std::vector<const char*> taken_;
};

// Splits at every LF and drops every CR; the text after the last LF is always the last entry,
// so k line feeds give k + 1 lines. A text holding CR but no LF splits at every CR instead.
Line_list text_to_line_list(std::string_view text);
Line_list text_to_line_list(std::string&& text);
inline Line_list text_to_line_list(const std::string& text)
{
    return text_to_line_list(std::string_view(text));
}
inline Line_list text_to_line_list(const char* text)
{
    return text_to_line_list(std::string_view(text));
}
// The entries with CR LF between consecutive ones and none after the last.
std::string line_list_to_text(const Line_list& lines);
// The size of that text.
std::size_t joined_size(const Line_list& lines);
