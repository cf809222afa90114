#include "cli/cli_help.h"

#include <cstring>

#include "settings/catalogue.h"

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

}  // namespace

std::string cli_help_text()
{
    std::string text = options_text;
    text += "\nCleaning settings (defaults from \"Full Cleaning\"; \"Light Cleaning\" differs where "
            "shown):\n";
    for (const Setting_field& field : setting_fields) {
        text += "  \"" + std::string(field.name()) + "\" = ";
        if (field.is_text()) {
            text += "\"\"";
        } else {
            text += std::to_string(field.full);
            if (field.light != field.full) text += " (light: " + std::to_string(field.light) + ")";
        }
        text += "; " + field.range_text() + "\n";
    }
    text += "\nPresets: \"" + std::string(full_cleaning_name) + "\" (default), \"" +
            std::string(light_cleaning_name) +
            "\".\nUser presets live in Sorvane's registry and are not available here.\n";
    return text;
}
