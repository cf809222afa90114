// sorvane-clean: cleans files or stdin exactly as "Clean Everything" cleans the same text in
// the editor: the editor's split into lines, the whole pipeline, the join with CR LF. Unlike
// the editor, an output ends with a line break when its input did (what pipes expect).
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/diagnostics.h"
#include "cli/cli_help.h"
#include "engine/abbreviations.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/catalogue.h"

namespace {

constexpr const char* usage =
    "usage: sorvane-clean [--preset NAME] [--set NAME=VALUE]... [-w N] [--abbr FILE] [--lf] "
    "[--as-editor] [FILE]...";

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "sorvane-clean: %s\n", message.c_str());
    std::exit(2);
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

// Appends everything the descriptor still holds, the buffer grown by doubling (a pipe); false
// on a read error (a directory, say).
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

// The text's lines. A regular file is read with one read into a buffer sized once from it (one
// byte more, to see the end at once), which the list then owns; anything else grows as it is
// read. False on a read error.
bool read_lines(int fd, Line_list& lines)
{
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        auto buffer = std::make_shared<Populated>(static_cast<std::size_t>(info.st_size) + 1);
        std::size_t size = 0;
        if (buffer->data()) {
            if (!read_into(fd, buffer->data(), buffer->size(), size)) return false;
            if (size < buffer->size()) {
                char* data = buffer->data();
                lines = Line_list::split(data, size, std::move(buffer));
                return true;
            }
            // The file grew while it was read: the rest is read the general way.
            std::string text(buffer->data(), size);
            if (!read_all(fd, text)) return false;
            lines = text_to_line_list(std::move(text));
            return true;
        }
    }
    std::string text;
    if (!read_all(fd, text)) return false;
    lines = text_to_line_list(std::move(text));
    return true;
}

bool read_file(const std::string& path, std::string& content)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    content.clear();
    const bool ok = read_all(fd, content);
    close(fd);
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
        field->text.of(settings) = value;
        return;
    }
    int number = 0;
    if (!parse_int(value, number))
        fail("setting \"" + name + "\" takes an integer, got \"" + value + "\"");
    field->integer.of(settings) = number;
}

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

// The join of line_list_to_text, written through one buffer of 256 KiB, so a 1 MiB text goes
// out in five writes. A wrapped entry holds CR LF between its output lines; with --lf they
// become LF too.
bool write_lines(const Line_list& lines, bool lf)
{
    const std::size_t capacity = std::min<std::size_t>(joined_size(lines), 256 * 1024) + 2;
    Populated populated(capacity);
    std::unique_ptr<char[]> fallback(populated.data() ? nullptr : new char[capacity]);
    char* const out = populated.data() ? populated.data() : fallback.get();
    std::size_t used = 0;
    auto put = [&](const char* data, std::size_t n) {
        while (n > 0) {
            if (used == capacity) {
                if (!write_all(out, used)) return false;
                used = 0;
            }
            const std::size_t part = std::min(n, capacity - used);
            std::memcpy(out + used, data, part);
            used += part;
            data += part;
            n -= part;
        }
        return true;
    };
    const std::string_view separator = lf ? "\n" : "\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i && !put(separator.data(), separator.size())) return false;
        const std::string_view line = lines[i];
        std::size_t from = 0;
        if (lf)
            for (std::size_t at; (at = line.find("\r\n", from)) != std::string_view::npos;
                 from = at + 1)
                if (!put(line.data() + from, at - from)) return false;
        if (!put(line.data() + from, line.size() - from)) return false;
    }
    return write_all(out, used);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string preset = full_cleaning_name, abbr_path;
    std::vector<std::string> overrides, inputs;
    bool lf = false, as_editor = false, options_done = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail(arg + " needs a value; " + usage);
            return argv[++i];
        };
        if (options_done || arg == "-" || arg.empty() || arg[0] != '-') inputs.push_back(arg);
        else if (arg == "--") options_done = true;
        else if (arg == "--preset") preset = value();
        else if (arg == "--set") overrides.push_back(value());
        else if (arg == "-w" || arg == "--width" || arg.compare(0, 2, "-w") == 0 ||
                 arg.compare(0, 8, "--width=") == 0) {
            // "-w 72", "-w72", "--width 72" and "--width=72", as fmt takes them.
            const std::string width = arg == "-w" || arg == "--width" ? value()
                                      : arg[1] == 'w'                ? arg.substr(2)
                                                                     : arg.substr(8);
            int number = 0;
            if (!parse_int(width, number) || number < 0)
                fail(arg + " takes a width of 0 or more, got \"" + width + "\"");
            overrides.push_back(std::string(setting::para_max_chars_on_para_line) + "=" + width);
        } else if (arg == "--abbr") abbr_path = value();
        else if (arg == "--lf") lf = true;
        else if (arg == "--as-editor") as_editor = true;
        else if (arg == "--help" || arg == "-h") {
            std::fputs(cli_help_text().c_str(), stdout);
            return 0;
        } else if (arg == "--version") {
            std::printf("sorvane-clean %s\n", SORVANE_VERSION);
            return 0;
        } else fail("unknown option " + arg + "; " + usage);
    }
    if (inputs.empty()) inputs.push_back("-");

    Builtin_preset builtin;
    if (preset == full_cleaning_name) builtin = Builtin_preset::full;
    else if (preset == light_cleaning_name) builtin = Builtin_preset::light;
    else fail("unknown preset \"" + preset + "\" (use \"Full Cleaning\" or \"Light Cleaning\")");
    Cleaning_settings settings = builtin_preset(builtin);
    for (const std::string& assignment : overrides) apply_override(settings, assignment);

    if (abbr_path.empty()) abbr_path = default_abbr_path();
    std::string abbr_content;
    if (!read_file(abbr_path, abbr_content)) fail("cannot read abbreviation file " + abbr_path);
    const Abbreviations abbreviations = parse_abbreviations(abbr_content);

    // Each input on its own, as if opened in the editor, the results one after the other. An
    // input that cannot be read is reported and the others are still cleaned.
    bool unreadable = false;
    for (const std::string& input_path : inputs) {
        const bool have_input = input_path != "-";
        const std::string input_name = have_input ? input_path : "standard input";
        Line_list lines;
        bool ended_with_break = false;
        try {
            const int fd = have_input ? open(input_path.c_str(), O_RDONLY | O_CLOEXEC) : 0;
            const bool read = fd >= 0 && read_lines(fd, lines);
            if (have_input && fd >= 0) close(fd);
            if (!read) {
                std::fprintf(stderr, "sorvane-clean: cannot read %s\n", input_name.c_str());
                unreadable = true;
                continue;
            }
            // The split leaves an empty last line exactly when the text ended with a line feed.
            ended_with_break = lines.size() > 1 && lines[lines.size() - 1].empty();
            Cleaner(settings, abbreviations).clean_lines(lines);
        } catch (const std::length_error&) {
            fail("cannot clean " + input_name + ": a line or the text is 4 GiB or more");
        } catch (const std::bad_alloc&) {
            fail("cannot clean " + input_name + ": not enough memory");
        }
        if (!write_lines(lines, lf)) return 1;
        // The editor's join leaves no break after the last line; a text that ended with one
        // keeps it here, unless the cleaned text already ends with an empty line.
        const bool ends_open = lines.size() > 0 && !lines[lines.size() - 1].empty();
        if (ended_with_break && !as_editor && ends_open && !write_all(lf ? "\n" : "\r\n", lf ? 1 : 2))
            return 1;
    }
    return unreadable ? 2 : 0;
}
