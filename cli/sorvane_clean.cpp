// sorvane-clean: cleans files or stdin exactly as "Clean Everything" cleans the same text in
// the editor: the editor's split into lines, the whole pipeline. Unlike the editor, an output
// ends with a line break when its input did and uses the input's line ends, CR LF or LF (what
// pipes expect); --as-editor gives the editor's exact result.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/diagnostics.h"
#include "cli/cli_help.h"
#include "engine/abbreviations.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "engine/text_encoding.h"
#include "engine/unicode.h"
#include "settings/catalogue.h"

namespace {

constexpr const char* usage =
    "usage: sorvane-clean [--preset NAME] [--set NAME=VALUE]... [-w N] [--abbr FILE] "
    "[--lf | --crlf] [--as-editor] [--encoding NAME] [FILE]...";

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "sorvane-clean: %s\n", message.c_str());
    std::exit(2);
}

[[noreturn]] void write_failed(int error)
{
    std::fprintf(stderr, "sorvane-clean: cannot write standard output: %s\n", std::strerror(error));
    std::exit(1);
}

// Memory whose pages are all mapped by one system call rather than one fault at a time: on the
// machines this runs on a fault costs microseconds, and a 1 MiB text needs hundreds of pages.
class Populated {
public:
    explicit Populated(std::size_t size) : size_(size ? size : 1)
    {
        void* at = mmap(nullptr, size_, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        data_ = at == MAP_FAILED ? nullptr : static_cast<char*>(at);
    }
    ~Populated()
    {
        if (data_) munmap(data_, size_);
    }
    Populated(const Populated&) = delete;
    Populated& operator=(const Populated&) = delete;
    char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // The mapping made size bytes long: its pages move if they must, not their bytes, so a
    // text being read is never held twice. False when there is no memory for it.
    bool resize(std::size_t size)
    {
        void* at = mremap(data_, size_, size, MREMAP_MAYMOVE);
        if (at == MAP_FAILED) return false;
        data_ = static_cast<char*>(at);
        size_ = size;
        return true;
    }

private:
    std::size_t size_;
    char* data_;
};

bool read_into(int fd, char* buffer, std::size_t capacity, std::size_t& size)
{
    while (size < capacity) {
        const ssize_t n = read(fd, buffer + size, capacity - size);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        size += static_cast<std::size_t>(n);
    }
    return true;
}

// Appends everything the descriptor still holds, the buffer grown by doubling; false on a read
// error (a directory, say). For the abbreviation file: a text to clean goes through read_lines.
bool read_all(int fd, std::string& content)
{
    std::size_t size = content.size();
    for (;;) {
        content.resize(std::max<std::size_t>(2 * size, 1 << 16));
        if (!read_into(fd, &content[0], content.size(), size)) return false;
        if (size < content.size()) break;
    }
    content.resize(size);
    return true;
}

// Whether the text's first line end is CR LF; read before the split squeezes the CRs out.
bool first_break_is_crlf(const char* text, std::size_t size)
{
    const char* lf = size ? static_cast<const char*>(std::memchr(text, '\n', size)) : nullptr;
    return lf && lf != text && lf[-1] == '\r';
}

// One input as the engine takes it, and how its result goes out.
struct Input {
    Line_list lines;
    bool crlf = false;            // its first line end is CR LF
    Text_encoding encoding = Text_encoding::ansi;
    bool high_bytes = false;      // it holds a character beyond ASCII
};

// The encoding of one input, forced or detected as Open detects it.
struct Detection {
    Text_encoding encoding;
    bool high_bytes;  // it holds a byte of 0x80 or more
};

Detection detect(std::string_view bytes, const Text_encoding* forced)
{
    const bool high_bytes = has_high_byte(bytes);
    return {forced ? *forced : detect_encoding(bytes, high_bytes), high_bytes};
}

// Whether the bytes are used as they stand, as UTF-8: ASCII taken as Windows-1252, or UTF-8.
bool in_place(const Detection& detection)
{
    return detection.encoding == Text_encoding::utf8 ||
           detection.encoding == Text_encoding::utf8_bom ||
           (detection.encoding == Text_encoding::ansi && !detection.high_bytes);
}

// Where the text starts: after the byte order mark of UTF-8 with one.
std::size_t text_start(std::string_view bytes, const Detection& detection)
{
    return detection.encoding == Text_encoding::utf8_bom && bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// Whether the UTF-8 used in place must still be checked: detection has checked plain UTF-8.
bool needs_check(const Detection& detection, const Text_encoding* forced)
{
    return detection.encoding != Text_encoding::ansi &&
           !(detection.encoding == Text_encoding::utf8 && !forced);
}

// The bytes of one input in its encoding become the engine's UTF-8 lines. UTF-8 and ASCII are
// split where they stand, in the buffer owner keeps, without a copy; other texts are decoded
// first, and their bytes let go before the split. False, with a message in error, for bytes
// that do not decode.
bool to_lines(char* data, std::size_t size, std::shared_ptr<void> owner,
              const Detection& detection, const Text_encoding* forced, Input& input,
              std::string& error)
{
    const std::string_view bytes(data, size);
    input.high_bytes = detection.high_bytes;
    input.encoding = detection.encoding;
    if (in_place(detection)) {
        const std::size_t skip = text_start(bytes, detection);
        if (needs_check(detection, forced) && !is_valid_utf8(bytes.substr(skip))) {
            std::string ignored;
            decode_text(bytes, input.encoding, ignored, error);
            return false;
        }
        input.crlf = first_break_is_crlf(data + skip, size - skip);
        input.lines = Line_list::split(data + skip, size - skip, std::move(owner));
        return true;
    }
    std::string utf8;
    if (!decode_text(bytes, input.encoding, utf8, error)) return false;
    owner.reset();
    input.crlf = first_break_is_crlf(utf8.data(), utf8.size());
    input.lines = text_to_line_list(std::move(utf8));
    return true;
}

// The text's lines. A regular file is read with one read into a buffer sized once from it
// (one byte more, to see the end at once), which the list then owns; anything else (a pipe, a
// file that grows while it is read) goes on in the same buffer, remapped an eighth larger at a
// time. False on a read error, with its errno in error (taken before the buffer is released,
// which may change errno), or on bytes that do not decode, with decode_error set; no memory
// for the text throws std::bad_alloc.
bool read_lines(int fd, const Text_encoding* forced, Input& input, int& error,
                std::string& decode_error)
{
    struct stat info;
    const bool sized = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
    auto buffer = std::make_shared<Populated>(
        sized ? static_cast<std::size_t>(info.st_size) + 1 : std::size_t{64} * 1024);
    if (!buffer->data()) throw std::bad_alloc();
    std::size_t size = 0;
    for (;;) {
        if (!read_into(fd, buffer->data(), buffer->size(), size)) {
            error = errno;
            return false;
        }
        if (size < buffer->size()) break;
        if (!buffer->resize(size + size / 8 + 64 * 1024)) throw std::bad_alloc();
    }
    // What the last step mapped beyond the text goes back (but the byte after it).
    if (buffer->size() - size > 64 * 1024) buffer->resize(size + 1);
    char* data = buffer->data();
    return to_lines(data, size, std::move(buffer), detect({data, size}, forced), forced, input,
                    decode_error);
}

// The rest of a regular file from the descriptor's offset on, mapped to be read where it
// stands: the system's cached pages, none of them cleared or copied into. Empty for anything
// else (a pipe, a terminal, an empty file). A file cut short while mapped raises SIGBUS.
class Mapped_file {
public:
    explicit Mapped_file(int fd)
    {
        struct stat info;
        if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return;
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at < 0 || at >= info.st_size ||
            static_cast<std::uint64_t>(info.st_size) > SIZE_MAX / 2)
            return;
        const auto page = static_cast<off_t>(sysconf(_SC_PAGESIZE));
        const off_t from = at - at % page;
        const auto length = static_cast<std::size_t>(info.st_size - from);
        void* base = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, from);
        if (base == MAP_FAILED) return;
        base_ = static_cast<char*>(base);
        length_ = length;
        skip_ = static_cast<std::size_t>(at - from);
    }
    ~Mapped_file()
    {
        if (base_ && length_ > released_) munmap(base_ + released_, length_ - released_);
    }
    Mapped_file(const Mapped_file&) = delete;
    Mapped_file& operator=(const Mapped_file&) = delete;
    explicit operator bool() const { return base_ != nullptr; }
    std::string_view text() const { return {base_ + skip_, length_ - skip_}; }
    // Gives back the pages wholly before offset in text once they are a megabyte or more: what
    // has been read no longer counts towards the memory the program holds.
    void release_before(std::size_t offset)
    {
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t end = (skip_ + offset) / page * page;
        if (end < released_ + (std::size_t{1} << 20)) return;
        munmap(base_ + released_, end - released_);
        released_ = end;
    }

private:
    char* base_ = nullptr;  // from the page that holds the offset
    std::size_t length_ = 0;
    std::size_t skip_ = 0;  // from base_ to the offset
    std::size_t released_ = 0;
};

// The lines of a text mapped with Mapped_file, copied out of the mapping (which the engine
// must not write to) into a buffer of its own; false on bytes that do not decode, with
// decode_error set. No memory for it throws std::bad_alloc.
bool copy_lines(std::string_view text, const Detection& detection, const Text_encoding* forced,
                Input& input, std::string& decode_error)
{
    auto buffer = std::make_shared<Populated>(text.size() + 1);
    if (!buffer->data()) throw std::bad_alloc();
    std::memcpy(buffer->data(), text.data(), text.size());
    char* data = buffer->data();
    return to_lines(data, text.size(), std::move(buffer), detection, forced, input, decode_error);
}

// False on failure, with errno set.
bool read_file(const std::string& path, std::string& content)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    content.clear();
    const bool ok = read_all(fd, content);
    const int error = errno;
    close(fd);
    errno = error;
    return ok;
}

std::string default_abbr_path()
{
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "abbr.dat";
    std::string path(self, static_cast<std::size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1) + "abbr.dat";
}

void apply_override(Cleaning_settings& settings, const std::string& assignment)
{
    std::size_t eq = assignment.find('=');
    if (eq == std::string::npos) fail("--set needs NAME=VALUE, got \"" + assignment + "\"");
    std::string name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
    const Setting_field* field = find_setting(name);
    if (!field) fail("no cleaning setting is named \"" + name + "\"");
    if (field->is_text()) {
        // The engine's text is UTF-8; a value that is not is taken as Windows-1252.
        std::string decoded, error;
        if (!is_valid_utf8(value)) decode_text(value, Text_encoding::ansi, decoded, error);
        else decoded = value;
        field->text.of(settings) = decoded;
        return;
    }
    int number = 0;
    if (!parse_int(value, number))
        fail("setting \"" + name + "\" takes an integer, got \"" + value + "\"");
    if (!field->in_range(number))
        fail("setting \"" + name + "\" takes " + field->range_text() + ", got \"" + value + "\"");
    field->integer.of(settings) = number;
}

// False on failure, with errno set.
bool write_all(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = write(1, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void write_or_fail(std::string_view text)
{
    if (!write_all(text.data(), text.size())) write_failed(errno);
}

// The join of line_list_to_text, handed to put in stretches; put returns false to stop there. A
// wrapped entry holds CR LF between its output lines; with LF line ends they become LF too.
template <class Put>
void join_lines(const Line_list& lines, bool lf, Put&& put)
{
    const std::string_view separator = lf ? "\n" : "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i && !put(separator.data(), separator.size())) return;
        const std::string_view line = lines[i];
        std::size_t from = 0;
        if (lf)
            for (std::size_t at; (at = line.find("\r\n", from)) != std::string_view::npos;
                 from = at + 1)
                if (!put(line.data() + from, at - from)) return;
        if (!put(line.data() + from, line.size() - from)) return;
    }
}

// A buffer mapped as Populated, or taken from the heap where that fails.
class Buffer {
public:
    explicit Buffer(std::size_t size)
        : populated_(size), fallback_(populated_.data() ? nullptr : new char[size]),
          data_(populated_.data() ? populated_.data() : fallback_.get())
    {
    }
    char* data() const { return data_; }

private:
    Populated populated_;
    std::unique_ptr<char[]> fallback_;
    char* const data_;
};

// The start of the last character of the valid UTF-8 text[0..n) when its bytes do not all
// stand there yet, else n.
std::size_t whole_characters(const char* text, std::size_t n)
{
    for (std::size_t back = 1; back <= 4 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(text[n - back]);
        if ((b & 0xC0) == 0x80) continue;
        const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        return length > back ? n - back : n;
    }
    return n;
}

// The n bytes at s with the CR of every CR LF taken out, in place; their new length.
std::size_t without_cr_before_lf(char* s, std::size_t n)
{
    std::size_t kept = 0;
    for (std::size_t from = 0;;) {
        const void* cr = std::memchr(s + from, '\r', n - from);
        const std::size_t at = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - s) : n;
        if (kept != from) std::memmove(s + kept, s + from, at - from);
        kept += at - from;
        if (at == n) return kept;
        // A CR LF loses its CR; a lone CR stays.
        if (at + 1 == n || s[at + 1] != '\n') s[kept++] = '\r';
        from = at + 1;
    }
}

// One output, written through one buffer of at most 64 KiB (a pipe's own size; fresh pages cost
// more than write calls), so a 1 MiB text goes out in seventeen writes. Text goes out in UTF-8
// as it is, or gathered in a second buffer and encoded from there a buffer at a time. A write
// error ends the program; no memory for the buffers throws std::bad_alloc before anything is
// written.
class Writer {
public:
    // encode: whether text is encoded in encoding, which must hold all of it.
    Writer(std::size_t size, bool encode, Text_encoding encoding)
        : capacity_(std::min<std::size_t>(size, 64 * 1024) + 8), encoding_(encoding),
          encode_(encode), out_size_(encode ? 2 * capacity_ : capacity_), out_(out_size_)
    {
        if (encode_) text_.emplace(capacity_);
    }
    // Bytes as they are: a byte order mark, a line break already encoded, UTF-8 text.
    void put_bytes(std::string_view bytes)
    {
        if (bytes.empty()) return;
        if (text_used_ == 0 && bytes.size() <= out_size_ - out_used_) {
            std::memcpy(out_.data() + out_used_, bytes.data(), bytes.size());
            out_used_ += bytes.size();
        } else {
            put_bytes_through(bytes);
        }
    }
    void put(const char* data, std::size_t n)
    {
        if (encode_) gather(data, n);
        else put_bytes({data, n});
    }
    void finish()
    {
        encode_gathered(text_used_);
        flush(true);
    }
    // From here on every CR LF written goes out as LF, found a buffer at a time: for a result
    // whose lines can hold no CR but in the CR LF of a wrap.
    void lf_for_crlf() { lf_for_crlf_ = true; }

private:
    void put_bytes_through(std::string_view bytes)
    {
        encode_gathered(text_used_);
        while (!bytes.empty()) {
            if (out_used_ == out_size_) flush();
            const std::size_t part = std::min(bytes.size(), out_size_ - out_used_);
            std::memcpy(out_.data() + out_used_, bytes.data(), part);
            out_used_ += part;
            bytes.remove_prefix(part);
        }
    }
    void gather(const char* data, std::size_t n)
    {
        while (n > 0) {
            if (text_used_ == capacity_) encode_gathered(whole_characters(text_->data(), text_used_));
            const std::size_t part = std::min(n, capacity_ - text_used_);
            std::memcpy(text_->data() + text_used_, data, part);
            text_used_ += part;
            data += part;
            n -= part;
        }
    }
    // Encodes the first n bytes of the text gathered; the rest (part of a character) stays.
    void encode_gathered(std::size_t n)
    {
        if (n == 0) return;
        for (std::size_t done = 0; done < n;) {
            if (out_size_ - out_used_ < 4) flush();
            std::size_t written;
            done += encode_part({text_->data() + done, n - done}, encoding_,
                                out_.data() + out_used_, out_size_ - out_used_, written);
            out_used_ += written;
        }
        std::memmove(text_->data(), text_->data() + n, text_used_ - n);
        text_used_ -= n;
    }
    void flush(bool last = false)
    {
        bool carried = false;  // a CR at the end, which waits for the byte after it
        if (lf_for_crlf_) {
            carried = !last && out_used_ > 0 && out_.data()[out_used_ - 1] == '\r';
            out_used_ = without_cr_before_lf(out_.data(), out_used_ - carried);
        }
        write_or_fail({out_.data(), out_used_});
        out_used_ = 0;
        if (carried) out_.data()[out_used_++] = '\r';
    }

    const std::size_t capacity_;
    const Text_encoding encoding_;
    const bool encode_;
    const std::size_t out_size_;
    Buffer out_;
    std::size_t out_used_ = 0;
    std::optional<Buffer> text_;  // the UTF-8 text gathered to be encoded
    std::size_t text_used_ = 0;
    bool lf_for_crlf_ = false;
};

// The first character of the joined lines that encoding cannot hold, with its line as
// encode_text counts lines (LF, CR LF and a lone CR each end one); false when there is none.
// It allocates nothing, so that a long text is checked before any of it goes out.
bool first_unencodable(const Line_list& lines, bool lf, Text_encoding encoding, Unencodable& bad)
{
    std::size_t i = 0, at = 0;
    while (i < lines.size() && !find_unencodable(lines[i], encoding, bad.code, at)) ++i;
    if (i == lines.size()) return false;
    // The line ends of the text as it goes out, up to the character.
    const auto where = reinterpret_cast<std::uintptr_t>(lines[i].data() + at);
    bad.line = 1;
    bool after_cr = false;
    join_lines(lines, lf, [&](const char* data, std::size_t n) {
        const std::size_t offset = where - reinterpret_cast<std::uintptr_t>(data);
        const std::size_t end = std::min(offset, n);
        for (std::size_t k = 0; k < end; ++k) {
            if (data[k] == '\n' || after_cr) ++bad.line;
            after_cr = data[k] == '\r';
        }
        return offset >= n;
    });
    // A CR right before the character ends a line too.
    if (after_cr) ++bad.line;
    return true;
}

// What one input's output ended with: nothing written, a line break, or other text.
enum class Output_end { empty, line_break, open };

// The break the next output needs before it (line_break, already encoded, after an output
// that ended open); an empty output leaves the one pending as it is.
void next_break(Output_end end, std::string_view line_break, std::string& pending)
{
    switch (end) {
    case Output_end::empty: break;
    case Output_end::line_break: pending.clear(); break;
    case Output_end::open: pending = line_break; break;
    }
}

// The line end an input's output uses: CR LF where its first line end was CR LF, otherwise LF;
// --lf and --crlf force one, and --as-editor gives the editor's CR LF unless --lf says otherwise.
enum class Line_ends { input, lf, crlf };

bool uses_lf(Line_ends line_ends, bool as_editor, bool input_crlf)
{
    if (line_ends != Line_ends::input) return line_ends == Line_ends::lf;
    return !as_editor && !input_crlf;
}

// How long a piece of a text cleaned a piece at a time is, about: its pages are touched once
// and then reused, where a whole text's would each be fresh (which costs more, on the machines
// this runs on, than cleaning the bytes in them).
constexpr std::size_t piece_size = 64 * 1024;

// Where the piece of text from `from` on ends: at a line feed (the next piece starts after it)
// that ends an empty line, or any line feed where lines are not joined; the last such before
// from + piece_size, else the first after it, with text after it; npos when there is none,
// and the rest is one piece.
std::size_t piece_end(std::string_view text, std::size_t from, bool any_line)
{
    const char* s = text.data();
    const std::size_t n = text.size();
    if (n - from <= piece_size + 2) return std::string_view::npos;
    const std::size_t target = from + piece_size, low = from + piece_size / 4;
    for (std::size_t i = target; i > low;) {
        const void* lf = memrchr(s + low, '\n', i - low);
        if (!lf) break;
        i = static_cast<std::size_t>(static_cast<const char*>(lf) - s);
        if (any_line || s[i - 1] == '\n') return i;
    }
    std::size_t i = any_line ? text.find('\n', target) : text.find("\n\n", target);
    if (i == std::string_view::npos) return i;
    if (!any_line) ++i;  // the second of the two
    return i + 1 < n ? i : std::string_view::npos;
}

// Whether a text is cleaned a piece at a time: where every pass keeps within a line, but for
// joining a paragraph's lines (which, when blank lines end paragraphs, never joins across an
// empty line, and an empty line stays empty up to there) and paragraph spacing (which
// clean_in_pieces does between pieces); for valid UTF-8 and for Windows-1252; and without CR,
// which would change where lines end.
bool in_pieces(std::string_view text, const Detection& detection, const Text_encoding* forced,
               const Cleaning_settings& settings, bool replacements_beyond_ascii)
{
    if (text.size() <= piece_size + 2) return false;
    // Windows-1252 is decoded a piece at a time; the result can then hold no character the
    // encoding lacks (which must be found before anything is written) but from a replacement.
    const bool utf8 = detection.encoding == Text_encoding::utf8 ||
                      detection.encoding == Text_encoding::utf8_bom;
    if (!utf8 && (detection.encoding != Text_encoding::ansi || replacements_beyond_ascii))
        return false;
    if (settings.para_remove_line_breaks && !settings.para_blank_lines_separate_paras) return false;
    if (std::memchr(text.data(), '\r', text.size())) return false;
    // An invalid text goes the whole way, to be reported as it is there.
    return !needs_check(detection, forced) ||
           is_valid_utf8(text.substr(text_start(text, detection)));
}

// One input's result written a line at a time, as the editor joins its lines: a line break
// before every line but the first, and at the end the one a text that ended with one keeps
// (unless the result already ends with an empty line; never as the editor). What goes before
// the result (the break that ended the previous output, then the byte order mark) waits for
// its first byte, since the break goes out only before a result that is not empty.
class Result_lines {
public:
    // by_line: whether, with LF line ends, each line's CR LF become LF here, line by line: where
    // a line can hold a CR that is not part of a CR LF, or end with one (a replacement holds a
    // CR), or the output is UTF-16. Otherwise the writer makes every CR LF an LF.
    Result_lines(Writer& out, bool lf, bool by_line, std::string_view before,
                 std::string_view mark)
        : out_(out), lf_(lf), each_line_(lf && by_line), before_(before), mark_(mark)
    {
        if (lf && !by_line) out.lf_for_crlf();
    }
    void line(std::string_view text)
    {
        if (lines_++ > 0) put(lf_ ? "\n" : "\r\n");
        last_empty_ = text.empty();
        if (!each_line_) {
            put(text);
            return;
        }
        std::size_t from = 0;
        for (std::size_t at; (at = text.find("\r\n", from)) != std::string_view::npos; from = at + 1)
            put(text.substr(from, at - from));
        put(text.substr(from));
    }
    // The output's end, with the line break a text that ended with one keeps.
    Output_end finish(bool ended_with_break, bool as_editor)
    {
        const bool add_break = ended_with_break && !as_editor && lines_ > 0 && !last_empty_;
        if (add_break) put(lf_ ? "\n" : "\r\n");
        if (!started_) out_.put_bytes(mark_);
        out_.finish();
        if (!started_) return Output_end::empty;
        return add_break || last_empty_ ? Output_end::line_break : Output_end::open;
    }

private:
    void put(std::string_view bytes)
    {
        if (bytes.empty()) return;
        if (!started_) {
            out_.put_bytes(before_);
            out_.put_bytes(mark_);
            started_ = true;
        }
        out_.put(bytes.data(), bytes.size());
    }

    Writer& out_;
    const bool lf_, each_line_;  // each_line_: its CR LF made LF here, line by line
    const std::string_view before_, mark_;
    std::size_t lines_ = 0;
    bool last_empty_ = false;
    bool started_ = false;
};

// Cleans a text a piece at a time (in_pieces says when): each piece in one buffer, reused
// (decoded into it from Windows-1252 where windows_1252), its lines out before the next is
// read; with paragraph spacing, the empty lines it puts between paragraphs go between the
// pieces too.
void clean_in_pieces(std::string_view text, bool windows_1252, Mapped_file& mapped,
                     std::size_t start, const Cleaning_settings& settings, Cleaner& cleaner,
                     Result_lines& result)
{
    const bool spaced = settings.spac_adjust_para_spacing != 0;
    const std::size_t between =
        settings.spac_lines_between_paras > 0 ? static_cast<std::size_t>(settings.spac_lines_between_paras) : 0;
    const bool any_line = !settings.para_remove_line_breaks;
    auto buffer = std::make_shared<std::string>();
    bool kept = false;  // a piece before had lines left after spacing
    for (std::size_t from = 0;;) {
        const std::size_t end = piece_end(text, from, any_line);
        const std::string_view piece =
            text.substr(from, (end == std::string_view::npos ? text.size() : end) - from);
        if (!buffer) buffer = std::make_shared<std::string>();
        std::string error;  // Windows-1252 decodes whatever its bytes
        if (windows_1252) decode_text(piece, Text_encoding::ansi, *buffer, error);
        else buffer->assign(piece);
        mapped.release_before(start + from + piece.size());
        // A long piece is the list's alone, which lets it go once its lines have moved out.
        char* bytes = &(*buffer)[0];
        const std::size_t size = buffer->size();
        Line_list lines = Line_list::split(
            bytes, size, size >= Line_list::long_line ? std::move(buffer) : buffer);
        cleaner.clean_lines(lines);
        if (spaced && !lines.empty()) {
            if (kept)
                for (std::size_t k = 0; k < between; ++k) result.line({});
            kept = true;
        }
        for (Line_view line : lines) result.line(line);
        if (end == std::string_view::npos) break;
        from = end + 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string preset = full_cleaning_name, abbr_path;
    std::vector<std::string> overrides, inputs;
    Line_ends line_ends = Line_ends::input;
    bool as_editor = false, options_done = false;
    std::optional<Text_encoding> forced_encoding;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail(arg + " needs a value; " + usage);
            return argv[++i];
        };
        auto starts = [&](const char* prefix) { return arg.compare(0, std::strlen(prefix), prefix) == 0; };
        if (options_done || arg == "-" || arg.empty() || arg[0] != '-') inputs.push_back(arg);
        else if (arg == "--") options_done = true;
        else if (arg == "--preset") preset = value();
        else if (starts("--preset=")) preset = arg.substr(9);
        else if (arg == "--set") overrides.push_back(value());
        else if (starts("--set=")) overrides.push_back(arg.substr(6));
        else if (arg == "-w" || arg == "--width" || starts("-w") || starts("--width=")) {
            // "-w 72", "-w72", "--width 72" and "--width=72", as fmt takes them.
            const std::string width = arg == "-w" || arg == "--width" ? value()
                                      : arg[1] == 'w'                ? arg.substr(2)
                                                                     : arg.substr(8);
            const Setting_field& field = *find_setting(setting::para_max_chars_on_para_line.name);
            int number = 0;
            if (!parse_int(width, number) || !field.in_range(number))
                fail(arg + " takes a width of " + field.range_text() + ", got \"" + width + "\"");
            overrides.push_back(std::string(field.name()) + "=" + width);
        } else if (arg == "--abbr") abbr_path = value();
        else if (arg == "--lf") line_ends = Line_ends::lf;
        else if (arg == "--crlf") line_ends = Line_ends::crlf;
        else if (arg == "--as-editor") as_editor = true;
        else if (arg == "--encoding" || starts("--encoding=")) {
            const std::string name = arg == "--encoding" ? value() : arg.substr(11);
            Text_encoding encoding;
            if (!parse_encoding(name, encoding))
                fail("unknown encoding \"" + name +
                     "\" (use utf-8, utf-8-bom, utf-16le, utf-16be or cp1252)");
            forced_encoding = encoding;
        }
        else if (arg == "--help" || arg == "-h") {
            write_or_fail(cli_help_text());
            return 0;
        } else if (arg == "--version") {
            write_or_fail(std::string("sorvane-clean ") + SORVANE_VERSION + "\n");
            return 0;
        } else fail("unknown option " + arg + "; " + usage);
    }
    if (inputs.empty()) inputs.push_back("-");
    // A mapped input that is cut short while it is read.
    struct sigaction cut_short {};
    cut_short.sa_handler = [](int) {
        static const char message[] = "sorvane-clean: an input file was cut short while it was read\n";
        if (write(2, message, sizeof message - 1) < 0) {}
        _exit(2);
    };
    sigaction(SIGBUS, &cut_short, nullptr);

    Builtin_preset builtin;
    if (preset == full_cleaning_name) builtin = Builtin_preset::full;
    else if (preset == light_cleaning_name) builtin = Builtin_preset::light;
    else fail("unknown preset \"" + preset + "\" (use \"Full Cleaning\" or \"Light Cleaning\")");
    Cleaning_settings settings = builtin_preset(builtin);
    for (const std::string& assignment : overrides) apply_override(settings, assignment);

    if (abbr_path.empty()) abbr_path = default_abbr_path();
    std::string abbr_content;
    if (!read_file(abbr_path, abbr_content))
        fail("cannot read abbreviation file " + abbr_path + ": " + std::strerror(errno));
    std::string abbr_text, abbr_error;
    if (!decode_text(abbr_content, detect_encoding(abbr_content), abbr_text, abbr_error))
        fail("cannot read abbreviation file " + abbr_path + ": " + abbr_error);
    const Abbreviations abbreviations = parse_abbreviations(abbr_text);

    // A replacement beyond ASCII can give an ASCII input a character it must be checked for.
    bool replacements_beyond_ascii = false, replacements_hold_cr = false;
    for (const std::string& replacement : settings.misc_replace) {
        replacements_beyond_ascii = replacements_beyond_ascii || has_high_byte(replacement);
        replacements_hold_cr = replacements_hold_cr || replacement.find('\r') != std::string::npos;
    }

    // Each input on its own, as if opened in the editor, the results one after the other; an
    // output that ends without a line break gets one before the next output, so that two never
    // run together. An input that cannot be read, or whose result its encoding cannot hold, is
    // reported and the others are still cleaned.
    bool failed_input = false;
    std::string pending_break;  // in the encoding of the output it ends
    for (const std::string& input_path : inputs) {
        const bool have_input = input_path != "-";
        const std::string input_name = have_input ? input_path : "standard input";
        try {
            Input input;
            const int fd = have_input ? open(input_path.c_str(), O_RDONLY | O_CLOEXEC) : 0;
            int error = errno;
            const Text_encoding* forced = forced_encoding ? &*forced_encoding : nullptr;
            std::string decode_error;
            bool read = false;
            if (fd >= 0) {
                Mapped_file mapped(fd);
                if (!mapped) {
                    read = read_lines(fd, forced, input, error, decode_error);
                } else {
                    const std::string_view text = mapped.text();
                    const Detection detection = detect(text, forced);
                    // As a read to the end would leave it, for whoever reads on.
                    lseek(fd, 0, SEEK_END);
                    if (in_pieces(text, detection, forced, settings, replacements_beyond_ascii)) {
                        if (have_input) close(fd);
                        const std::size_t start = text_start(text, detection);
                        const bool lf = uses_lf(line_ends, as_editor, false);
                        const bool windows_1252 = detection.encoding == Text_encoding::ansi &&
                                                  detection.high_bytes;
                        Writer out(text.size() + 2, windows_1252, detection.encoding);
                        Result_lines result(out, lf, replacements_hold_cr, pending_break,
                                            byte_order_mark(detection.encoding));
                        Cleaner cleaner(settings, abbreviations);
                        clean_in_pieces(text.substr(start), windows_1252, mapped, start, settings,
                                        cleaner, result);
                        next_break(result.finish(text.back() == '\n', as_editor),
                                   lf ? "\n" : "\r\n", pending_break);
                        continue;
                    }
                    read = copy_lines(text, detection, forced, input, decode_error);
                }
            }
            if (have_input && fd >= 0) close(fd);
            if (!read) {
                std::fprintf(stderr, "sorvane-clean: cannot read %s: %s\n", input_name.c_str(),
                             decode_error.empty() ? std::strerror(error) : decode_error.c_str());
                failed_input = true;
                continue;
            }
            const Line_list& lines = input.lines;
            // The split leaves an empty last line exactly when the text ended with a line break.
            const bool ended_with_break = lines.size() > 1 && lines[lines.size() - 1].empty();
            Cleaner(settings, abbreviations).clean_lines(input.lines);

            const bool lf = uses_lf(line_ends, as_editor, input.crlf);
            const std::string_view line_break = lf ? "\n" : "\r\n";
            const Text_encoding encoding = input.encoding;
            const bool as_utf8 =
                encoding == Text_encoding::utf8 || encoding == Text_encoding::utf8_bom ||
                (encoding == Text_encoding::ansi && !input.high_bytes && !replacements_beyond_ascii);
            std::string encoded_break(line_break);
            if (!as_utf8) {
                // Checked whole before any of it goes out: a result that cannot be written is
                // not written at all.
                Unencodable bad;
                if (first_unencodable(lines, lf, encoding, bad)) {
                    std::fprintf(stderr, "sorvane-clean: the result for %s cannot be written in "
                                 "%s: it holds %s (line %zu)\n", input_name.c_str(),
                                 encoding_name(encoding), describe_character(bad.code).c_str(),
                                 bad.line);
                    failed_input = true;
                    continue;
                }
                char encoded[8];
                std::size_t written;
                encode_part(line_break, encoding, encoded, sizeof encoded, written);
                encoded_break.assign(encoded, written);
            }
            Writer out(joined_size(lines) + 2, !as_utf8, encoding);
            // The writer does not look for CR LF in UTF-16's bytes.
            const bool utf16 = encoding == Text_encoding::utf16le || encoding == Text_encoding::utf16be;
            Result_lines result(out, lf, replacements_hold_cr || utf16, pending_break,
                                byte_order_mark(encoding));
            for (Line_view line : lines) result.line(line);
            next_break(result.finish(ended_with_break, as_editor), encoded_break, pending_break);
        } catch (const std::length_error&) {
            fail("cannot clean " + input_name + ": a line or the text is 4 GiB or more");
        } catch (const std::bad_alloc&) {
            fail("cannot clean " + input_name + ": not enough memory");
        }
    }
    return failed_input ? 2 : 0;
}
