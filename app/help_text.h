// The built-in help's text: topics, each with a help context, a title and blocks of text, read
// from the plain-text source that is embedded in the program (resources/help/help.txt).
//
// Source format: a line "== <context> <title>" starts a topic; the lines up to the next topic
// are its text. A blank line ends a paragraph, and a line that follows a text line without one
// continues it. A line starting with "- " or with a number and ". " is a list item; a line
// starting with two spaces is an example, shown as it stands in a fixed-pitch font. Lines
// starting with "#" are comments.
#pragma once

#include <string>
#include <vector>

struct Help_block {
    enum class Kind { paragraph, item, example };
    Kind kind = Kind::paragraph;
    // A list item's marker: "1." or a bullet.
    std::string marker;
    // An example's lines are joined with "\n".
    std::string text;
};

struct Help_topic {
    int context = 0;
    std::string title;
    std::vector<Help_block> blocks;
};

std::vector<Help_topic> parse_help(const std::string& source);

// The topic of context, or nullptr when none has it.
const Help_topic* find_help_topic(const std::vector<Help_topic>& topics, int context);

// The topic as plain text with CR LF line ends: the title, then each block, a blank line
// between paragraphs, examples and lists.
std::string help_topic_text(const Help_topic& topic);

// An example's lines ("\n" between them) broken to at most columns characters, so that no part
// of it is cut off at the page's right edge: at the last blank that fits (the blanks there go),
// or in the middle of a word too long for the line. Lines that fit stay as they are.
std::string wrap_example(const std::string& text, int columns);

// The bullet that stands for "- " in list items (code page 1252).
extern const char* const help_bullet;
