// sorvane-clean: cleans a file or stdin exactly as "Clean Everything" cleans the same text in
// the editor: the editor's split into lines, the whole pipeline, the join with CR LF.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/diagnostics.h"
#include "engine/abbreviations.h"
#include "engine/cleaning.h"
#include "engine/line_list.h"
#include "settings/memory_prefs.h"

namespace {

constexpr const char* usage =
    "usage: sorvane-clean [--preset NAME] [--set NAME=VALUE]... [--abbr FILE] [--lf] [FILE]";

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "sorvane-clean: %s\n", message.c_str());
    std::exit(2);
}

// Everything the descriptor holds, in one buffer sized once from the file where it is a
// regular file (one read then), grown by doubling where it is a pipe; false on a read error
// (a directory, say).
bool read_all(int fd, std::string& content)
{
    struct stat info;
    std::size_t capacity = 1 << 16;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        capacity = static_cast<std::size_t>(info.st_size) + 1;  // + 1 sees the end at once
    content.resize(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == content.size()) content.resize(content.size() * 2);
        const ssize_t n = read(fd, &content[size], content.size() - size);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        size += static_cast<std::size_t>(n);
    }
    content.resize(size);
    return true;
}

bool read_file(const std::string& path, std::string& content)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
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
    switch (setting_kind(name)) {
    case Setting_kind::integer: {
        int number = 0;
        if (!parse_int(value, number))
            fail("setting \"" + name + "\" takes an integer, got \"" + value + "\"");
        settings.set_int(name, number);
        break;
    }
    case Setting_kind::text:
        settings.set_string(name, value);
        break;
    case Setting_kind::none:
        fail("no cleaning setting is named \"" + name + "\"");
    }
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

// The join of line_list_to_text, written through one buffer of at most 1 MiB, so a text of
// that size goes out in one or two writes. A wrapped entry holds CR LF between its output
// lines; with --lf they become LF too.
bool write_lines(const Line_list& lines, bool lf)
{
    const std::size_t capacity = std::min<std::size_t>(joined_size(lines), 1 << 20) + 2;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::size_t used = 0;
    auto put = [&](const char* data, std::size_t n) {
        while (n > 0) {
            if (used == capacity) {
                if (!write_all(buffer.get(), used)) return false;
                used = 0;
            }
            const std::size_t part = std::min(n, capacity - used);
            std::memcpy(buffer.get() + used, data, part);
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
    return write_all(buffer.get(), used);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string preset = full_cleaning_name, abbr_path, input_path;
    std::vector<std::string> overrides;
    bool lf = false, have_input = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail(arg + " needs a value; " + usage);
            return argv[++i];
        };
        if (arg == "--preset") preset = value();
        else if (arg == "--set") overrides.push_back(value());
        else if (arg == "--abbr") abbr_path = value();
        else if (arg == "--lf") lf = true;
        else if (arg == "--help" || arg == "-h") {
            std::printf("%s\n", usage);
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') fail("unknown option " + arg + "; " + usage);
        else if (have_input) fail("only one input file may be given; " + std::string(usage));
        else {
            input_path = arg;
            have_input = true;
        }
    }

    Builtin_preset builtin;
    if (preset == full_cleaning_name) builtin = Builtin_preset::full;
    else if (preset == light_cleaning_name) builtin = Builtin_preset::light;
    else fail("unknown preset \"" + preset + "\" (use \"Full Cleaning\" or \"Light Cleaning\")");
    Memory_prefs prefs(builtin);
    for (const std::string& assignment : overrides) apply_override(prefs.current(), assignment);

    if (abbr_path.empty()) abbr_path = default_abbr_path();
    std::string abbr_content;
    if (!read_file(abbr_path, abbr_content)) fail("cannot read abbreviation file " + abbr_path);
    const Abbreviations abbreviations = parse_abbreviations(abbr_content);

    std::string text;
    if (have_input) {
        if (!read_file(input_path, text)) fail("cannot read " + input_path);
    } else {
        if (!read_all(0, text)) fail("cannot read standard input");
    }

    // The text's own buffer becomes the list's.
    Line_list lines = text_to_line_list(std::move(text));
    Cleaner(prefs, abbreviations).clean_lines(lines);
    return write_lines(lines, lf) ? 0 : 1;
}
