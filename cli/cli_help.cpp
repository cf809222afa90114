#include "cli/cli_help.h"

#include <cstring>

#include "settings/cleaning_settings.h"

namespace {

const char* const options_text =
    "usage: sorvane-clean [OPTION]... [FILE]...\n"
    "Cleans each FILE (or standard input, also for \"-\") as \"Clean Everything\" cleans the same\n"
    "text in Sorvane's editor, and writes the results one after the other to standard output.\n"
    "\n"
    "  --preset NAME      start from preset NAME (default \"Full Cleaning\"); also --preset=NAME\n"
    "  --set NAME=VALUE   set one cleaning setting by its exact name (may be repeated); also\n"
    "                     --set=NAME=VALUE; a value outside the setting's range is refused\n"
    "  -w N, --width N    paragraph width: the same as --set \"para-max chars on para line=N\"\n"
    "  --abbr FILE        abbreviation list in the abbr.dat format (default: abbr.dat beside\n"
    "                     the tool)\n"
    "  --lf               end lines with LF, whatever the input used\n"
    "  --crlf             end lines with CR LF, whatever the input used\n"
    "  --as-editor        the editor's exact result: lines end with CR LF (unless --lf) and no\n"
    "                     line break follows the last line, even when the input ended with one\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Line ends follow the input: CR LF where the input's first line ends with CR LF, LF\n"
    "otherwise (a text whose lines end with CR alone is read as lines too). Output ends with a\n"
    "line break when the input did (unless --as-editor); when one output does not, a line break\n"
    "follows it before the next file's output.\n"
    "Exit status: 0 all input cleaned and written; 1 the output could not be written;\n"
    "2 bad arguments, an unreadable abbreviation list, or an input that could not be read\n"
    "(the other inputs are still cleaned).\n";

// The values a setting takes, as the option pages accept them: the text --help prints and the
// bounds --set and -w check, side by side so that they agree.
struct Range {
    const char* name;
    const char* text;
    long long min, max;
};
constexpr long long no_limit = 2147483647;
const Range ranges[] = {
    {"para-spaces between sents", "1 or 2", 1, 2},
    {"para-max chars on para line", "0 to 999999, 0: unlimited", 0, 999999},
    {"para-num indent spaces for new para", "0 to 999", 0, 999},
    {"spac-num spaces to indent", "0 to 999", 0, 999},
    {"spac-lines between paras", "0 to 999", 0, 999},
    {"spac-num spaces between sents", "1 or 2", 1, 2},
    {"spac-tab stops", "0 to 999", 0, 999},
    {"list-format", "0 (as paragraphs) or 1 (indented, fixed width)", 0, 1},
    {"list-num indent spaces", "0 or more", 0, no_limit},
    {"list-max line length", "1 to 999999", 1, 999999},
    {"misc-tab replace", "0 tabs to spaces, 1 spaces to tabs, 2 tabs to commas, "
                         "3 commas to tabs, 4 none", 0, 4},
};
const Range flag_range = {"", "0 or 1", 0, 1};

const Range& range(const char* name)
{
    for (const Range& r : ranges)
        if (std::strcmp(r.name, name) == 0) return r;
    return flag_range;
}

}  // namespace

const char* range_of(const char* name) { return range(name).text; }

bool value_in_range(const char* name, long long value)
{
    const Range& r = range(name);
    return value >= r.min && value <= r.max;
}

std::string cli_help_text()
{
    Cleaning_settings full, light;
    build_builtin_preset(full, Builtin_preset::full);
    build_builtin_preset(light, Builtin_preset::light);
    std::string text = options_text;
    text += "\nCleaning settings (defaults from \"Full Cleaning\"; \"Light Cleaning\" differs where "
            "shown):\n";
    for (const char* name : int_setting_names) {
        const int f = static_cast<int>(full.get_int(name)), l = static_cast<int>(light.get_int(name));
        text += "  \"" + std::string(name) + "\" = " + std::to_string(f);
        if (l != f) text += " (light: " + std::to_string(l) + ")";
        text += "; " + std::string(range_of(name)) + "\n";
    }
    for (const char* name : string_setting_names)
        text += "  \"" + std::string(name) + "\" = \"\"; any text, empty: off\n";
    text += "\nPresets: \"" + std::string(full_cleaning_name) + "\" (default), \"" +
            std::string(light_cleaning_name) +
            "\".\nUser presets live in Sorvane's registry and are not available here.\n";
    return text;
}
