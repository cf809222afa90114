#include "engine/line_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "base/diagnostics.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t block_size = 256 * 1024;
constexpr std::size_t own_size = Line_list::long_line;
constexpr std::uint32_t max_room = std::numeric_limits<std::uint32_t>::max();

// Room for a line that grows: what it needs and an eighth more, so that a line grown piece by
// piece moves only a few times, and what later passes add (a second space after a sentence, a
// line break for a space) mostly fits where it stands instead of moving the line again. Never
// past what a room can count.
std::size_t with_room(std::size_t n)
{
    const std::uint64_t wide = n;
    return static_cast<std::size_t>(std::min<std::uint64_t>(wide + wide / 8 + 16, max_room));
}

std::uint32_t size32(std::size_t n)
{
    // Widened first, so that a 32-bit build compares without a warning.
    if (static_cast<std::uint64_t>(n) > max_room)
        throw std::length_error("a line of 4 GiB or more");
    return static_cast<std::uint32_t>(n);
}

// Sixteen bytes at a time where SSE2 is there: a line is some forty bytes, too short for a
// search per line to pay.
std::size_t count_of(const char* text, std::size_t n, char c)
{
    std::size_t count = 0, i = 0;
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    while (i + 16 <= n) {
        // Each lane counts down by one per match, for at most 255 blocks before it is summed.
        __m128i lanes = _mm_setzero_si128();
        for (std::size_t blocks = 0; blocks < 255 && i + 16 <= n; ++blocks, i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(v, wanted));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
    }
#endif
    for (; i < n; ++i) count += text[i] == c;
    return count;
}

}  // namespace

Line_list::Line_list(std::initializer_list<std::string_view> lines)
{
    lines_.reserve(lines.size());
    for (std::string_view line : lines) push_back(line);
}

Line_list::Line_list(const Line_list& other)
{
    lines_.reserve(other.size());
    for (Line_view line : other) push_back(line);
}

Line_list& Line_list::operator=(const Line_list& other)
{
    if (this != &other) *this = Line_list(other);
    return *this;
}

bool Line_list::operator==(const Line_list& other) const
{
    if (size() != other.size()) return false;
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] != other[i]) return false;
    return true;
}

void Line_list::Free::operator()(char* bytes) const { std::free(bytes); }

char* Line_list::allocate(std::size_t n, std::size_t& room)
{
    room = n;
    if (n == 0) return nullptr;
    if (n >= own_size) return allocate_own(n);
    if (free_size_ < n) {
        const std::size_t size = std::max(n, block_size);
        blocks_.emplace_back(new char[size]);
        free_ = blocks_.back().get();
        free_size_ = size;
    }
    char* at = free_;
    free_ += n;
    free_size_ -= n;
    return at;
}

char* Line_list::allocate_own(std::size_t n)
{
    auto block = std::make_unique<Own_block>();
    block->bytes.reset(static_cast<char*>(std::malloc(n)));
    if (!block->bytes) throw std::bad_alloc();
    own_.push_back(std::move(block));
    return own_.back()->bytes.get();
}

Line_list::Own_block* Line_list::own_block(const Line& line)
{
    if (line.room < own_size) return nullptr;
    for (std::size_t k = own_.size(); k-- > 0;)
        if (own_[k]->data() == line.data) return own_[k].get();
    return nullptr;
}

bool Line_list::in_text(const Line& line) const
{
    return line.data && text_begin_ &&
           reinterpret_cast<std::uintptr_t>(line.data) - reinterpret_cast<std::uintptr_t>(text_begin_) <=
               text_size_;
}

void Line_list::drop_own(std::size_t k)
{
    own_[k] = std::move(own_.back());
    own_.pop_back();
}

void Line_list::free_own(const char* data)
{
    for (std::size_t k = own_.size(); k-- > 0;)
        if (own_[k]->data() == data) {
            drop_own(k);
            return;
        }
}

void Line_list::left(const Line& old)
{
    if (in_text(old)) text_left_ += old.room;
    else if (old.room >= own_size) free_own(old.data);
}

char* Line_list::reserve(std::size_t i, std::size_t n, std::size_t keep)
{
    Line& line = lines_[i];
    if (n <= line.room) return line.data;
    size32(n);
    // The newest stretch of the newest block can simply grow.
    if (line.data && line.data + line.room == free_ && free_size_ >= n - line.room) {
        const std::size_t grow = std::min(with_room(n) - line.room, free_size_);
        free_ += grow;
        free_size_ -= grow;
        line.room += static_cast<std::uint32_t>(grow);
        return line.data;
    }
    const std::size_t want = with_room(n);
    // A block of its own from malloc grows by realloc: where the system can, without a second
    // copy of a long line alive.
    if (Own_block* own = own_block(line); own && own->bytes) {
        char* grown = static_cast<char*>(std::realloc(own->bytes.get(), want));
        if (!grown) throw std::bad_alloc();
        own->bytes.release();
        own->bytes.reset(grown);
        line.data = grown;
        line.room = size32(want);
        return grown;
    }
    const Line old = line;
    std::size_t room;
    char* data = allocate(want, room);
    if (keep) std::memcpy(data, old.data, keep);
    line.data = data;
    line.room = size32(room);
    left(old);
    return data;
}

void Line_list::set(std::size_t i, std::string_view text)
{
    Line& line = lines_[i];
    const std::uint32_t size = size32(text.size());
    if (text.size() <= line.room) {
        if (text.size() && text.data() != line.data) std::memmove(line.data, text.data(), text.size());
    } else {
        const Line old = line;
        std::size_t room;
        char* data = allocate(with_room(text.size()), room);
        std::memcpy(data, text.data(), text.size());
        line.data = data;
        line.room = size32(room);
        left(old);
    }
    line.size = size;
}

void Line_list::adopt(std::size_t i, std::string&& text)
{
    const std::size_t size = text.size(), capacity = text.capacity();
    if (size <= lines_[i].room || size < own_size) {
        set(i, text);
        return;
    }
    auto block = std::make_unique<Own_block>();
    block->text = std::move(text);
    text.clear();
    take_block(i, std::move(block), size, capacity);
}

void Line_list::adopt(std::size_t i, Malloced& bytes, std::size_t size, std::size_t capacity)
{
    if (size <= lines_[i].room || size < own_size) {
        set(i, {bytes.get(), size});
        return;
    }
    auto block = std::make_unique<Own_block>();
    block->bytes = std::move(bytes);
    take_block(i, std::move(block), size, capacity);
}

void Line_list::take_block(std::size_t i, std::unique_ptr<Own_block> block, std::size_t size,
                           std::size_t capacity)
{
    Line& line = lines_[i];
    const Line old = line;
    line.size = size32(size);
    line.data = block->data();
    own_.push_back(std::move(block));
    line.room = static_cast<std::uint32_t>(std::min<std::uint64_t>(capacity, max_room));
    left(old);
}

char* Line_list::replace(std::size_t i, std::size_t pos, std::size_t count, std::size_t n,
                         char fill)
{
    Line& line = lines_[i];
    const std::size_t tail = line.size - pos - count, new_size = line.size - count + n;
    const std::uint32_t size = size32(new_size);
    if (new_size <= line.room) {
        if (tail && n != count) std::memmove(line.data + pos + n, line.data + pos + count, tail);
    } else {
        const Line old = line;
        std::size_t room;
        char* data = allocate(with_room(new_size), room);
        if (pos) std::memcpy(data, old.data, pos);
        if (tail) std::memcpy(data + pos + n, old.data + pos + count, tail);
        line.data = data;
        line.room = size32(room);
        left(old);
    }
    if (n) std::memset(line.data + pos, fill, n);
    line.size = size;
    return line.data + pos;
}

// text is moved before gap is written: it may start right where gap goes.
void Line_list::append(std::size_t i, std::string_view gap, std::string_view text)
{
    const std::size_t size = lines_[i].size, new_size = size + gap.size() + text.size();
    char* data = new_size <= lines_[i].room ? lines_[i].data : reserve(i, new_size, size);
    // The joined text mostly stands where it goes already: a paragraph's lines follow each other.
    if (!text.empty() && text.data() != data + size + gap.size())
        std::memmove(data + size + gap.size(), text.data(), text.size());
    if (!gap.empty()) std::memcpy(data + size, gap.data(), gap.size());
    lines_[i].size = size32(new_size);
    // The lines taken over have been read.
    if (taken_) {
        for (std::size_t k = own_.size(); k-- > 0;)
            if (own_[k]->taken) drop_own(k);
        taken_ = false;
    }
}

// Rooms side by side lie in one block (blocks of their own never have a neighbour), so the
// room of line i can grow over the next one's.
void Line_list::take_over(std::size_t i, std::size_t from)
{
    Line& line = lines_[i];
    Line& other = lines_[from];
    if (line.data && other.data && line.data + line.room == other.data) {
        line.room += other.room;
    } else if (in_text(other)) {
        text_left_ += other.room;
    } else if (Own_block* own = own_block(other)) {
        own->taken = true;
        taken_ = true;
    }
    other = Line{};
}

void Line_list::push_back(std::string_view text)
{
    Line line;
    std::size_t room;
    line.data = allocate(text.size(), room);
    if (!text.empty()) std::memcpy(line.data, text.data(), text.size());
    line.size = size32(text.size());
    line.room = size32(room);
    lines_.push_back(line);
}

void Line_list::move_line(std::size_t to, std::size_t from)
{
    lines_[to] = lines_[from];
    lines_[from] = Line{};
}

void Line_list::resize(std::size_t n) { lines_.resize(n); }

void Line_list::release_unused()
{
    // A text joined into a few long lines gives back the entries of the lines it had.
    if (lines_.size() < lines_.capacity() / 4) lines_.shrink_to_fit();
    if (!text_ || text_left_ < next_check_) return;
    // Lines still in the text hold it while they are most of it; fewer move out, so that a
    // title left as it was does not keep a long text held beside its rewritten copy.
    std::size_t staying = 0;
    for (const Line& line : lines_)
        if (in_text(line)) staying += line.size;
    if (staying > text_size_ / 2) {
        next_check_ = text_left_ + text_size_ / 8 + 1;
        return;
    }
    for (Line& line : lines_) {
        if (!in_text(line)) continue;
        const Line old = line;
        line = Line{};
        if (old.size == 0) continue;
        std::size_t room;
        line.data = allocate(old.size, room);
        std::memcpy(line.data, old.data, old.size);
        line.size = old.size;
        line.room = static_cast<std::uint32_t>(room);
    }
    text_.reset();
    text_begin_ = nullptr;
    text_size_ = 0;
}

// Each line owns its bytes and the terminator after them; carriage returns are squeezed out
// where they stand. A text with no LF at all but a CR has old Macintosh line ends: each CR ends
// a line there.
Line_list Line_list::split(std::string&& text)
{
    // Held apart: a short string keeps its bytes inside itself, and they would move with it.
    auto owner = std::make_shared<std::string>(std::move(text));
    return split(owner->data(), owner->size(), owner);
}

Line_list Line_list::split(char* const base, const std::size_t n, std::shared_ptr<void> owner)
{
    Line_list list;
    list.text_ = std::move(owner);
    list.text_begin_ = base;
    list.text_size_ = size32(n);
    list.next_check_ = n / 4;
    char end_of_line = '\n';
    std::size_t breaks = count_of(base, n, '\n');
    // Most texts hold no CR at all: one search of the whole spares one per line.
    const bool has_cr = n && std::memchr(base, '\r', n);
    if (breaks == 0 && has_cr) {
        end_of_line = '\r';
        breaks = count_of(base, n, '\r');
    }
    list.lines_.reserve(breaks + 1);
    const bool tracing = console_present();
    std::size_t start = 0;
    for (;;) {
        const void* found = std::memchr(base + start, end_of_line, n - start);
        const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - base) : n;
        const std::size_t next = found ? end + 1 : n;
        char* line = base + start;
        std::size_t size = end - start;
        if (end_of_line == '\n' && has_cr && std::memchr(line, '\r', size))
            size = static_cast<std::size_t>(std::remove(line, line + size, '\r') - line);
        list.lines_.push_back({line, static_cast<std::uint32_t>(size),
                               static_cast<std::uint32_t>(next - start)});
        if (tracing) console_trace("Line: '%s'\n", std::string(line, size).c_str());
        if (!found) break;
        start = next;
    }
    return list;
}

Line_list text_to_line_list(std::string&& text) { return Line_list::split(std::move(text)); }

Line_list text_to_line_list(std::string_view text)
{
    return Line_list::split(std::string(text));
}

std::size_t joined_size(const Line_list& lines)
{
    std::size_t size = 0;
    for (Line_view line : lines) size += line.size() + 2;
    return size ? size - 2 : 0;
}

std::string line_list_to_text(const Line_list& lines)
{
    std::string text;
    text.reserve(joined_size(lines));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}
