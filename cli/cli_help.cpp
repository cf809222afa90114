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
    "  --encoding NAME    read every input as NAME: utf-8, utf-8-bom, utf-16le, utf-16be or\n"
    "                     cp1252 (Windows-1252); also --encoding=NAME\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Line ends follow the input: CR LF where the input's first line ends with CR LF, LF\n"
    "otherwise (a text whose lines end with CR alone is read as lines too). Output ends with a\n"
    "line break when the input did (unless --as-editor); when one output does not, a line break\n"
    "follows it before the next file's output.\n"
    "Encodings: an input that starts with a UTF-8 or UTF-16 (LE or BE) byte order mark is read\n"
    "as that; else as UTF-8 when it is valid UTF-8 with a character beyond ASCII; else as\n"
    "Windows-1252. Its result is written in the same encoding, byte order mark kept. A result\n"
    "the encoding cannot hold (a replacement brought in a character Windows-1252 lacks) and an\n"
    "input that does not decode after its byte order mark are errors; nothing of them is\n"
    "written. --set values are taken as UTF-8 when they are valid UTF-8, else as Windows-1252.\n"
    "Widths count columns as a terminal shows them: a character up to U+00FF is one column;\n"
    "combining marks, zero-width characters and Hangul vowels and finals none; East Asian\n"
    "wide and fullwidth characters (Chinese, Japanese, Korean, most emoji) two; any other one.\n"
    "Lines are broken only between words, never inside a character. Finds that are not\n"
    "case-sensitive fold every letter (\"CAFÉ\" finds \"café\", \"Ω\" finds \"ω\").\n"
    "Exit status: 0 all input cleaned and written; 1 the output could not be written;\n"
    "2 bad arguments, an unreadable abbreviation list, or an input that could not be read,\n"
    "decoded or written in its encoding (the other inputs are still cleaned).\n";

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
