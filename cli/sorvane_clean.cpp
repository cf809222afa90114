// sorvane-clean: cleans a file or stdin exactly as "Clean Everything" cleans the same text in
// the editor: the editor's split into lines, the whole pipeline, the join with CR LF.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
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
    std::cerr << "sorvane-clean: " << message << "\n";
    std::exit(2);
}

// Appends everything the stream holds; false on a read error (a directory, say).
bool read_stream(std::FILE* stream, std::string& content)
{
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) content.append(buffer, n);
    return !std::ferror(stream);
}

bool read_file(const std::string& path, std::string& content)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    content.clear();
    // Sized from the file once, so a large input is not copied as the buffer grows.
    struct stat info;
    if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode))
        content.reserve(static_cast<std::size_t>(info.st_size));
    bool ok = read_stream(file, content);
    std::fclose(file);
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

// A wrapped entry holds CR LF between its output lines; with --lf they become LF too.
void write_line(const std::string& line, bool lf)
{
    std::size_t from = 0;
    if (lf)
        for (std::size_t at; (at = line.find("\r\n", from)) != std::string::npos; from = at + 1)
            std::fwrite(line.data() + from, 1, at - from, stdout);
    std::fwrite(line.data() + from, 1, line.size() - from, stdout);
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
            std::cout << usage << "\n";
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
        if (!read_stream(stdin, text)) fail("cannot read standard input");
    }

    Line_list lines = text_to_line_list(text);
    std::string().swap(text);
    Cleaner(prefs, abbreviations).clean_lines(lines);

    // The join of line_list_to_text, written out line by line rather than built whole.
    static char out_buffer[1 << 16];
    std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) std::fputs(lf ? "\n" : "\r\n", stdout);
        write_line(lines[i], lf);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
