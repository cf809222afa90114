// The first pass: typographic quotes and dashes, odd spaces and invisible characters made plain,
// so that every later pass, which knows only ASCII blanks and marks, sees plain characters.
#pragma once

#include "engine/line_list.h"

// Each kind of character is made plain only when its option is on.
struct Character_options {
    bool straight_quotes = false;   // U+2018 to U+201B become ', U+201C to U+201F "
    bool plain_dashes = false;      // U+2010 to U+2013 and U+2212 become -, U+2014 and U+2015 --
    bool plain_ellipsis = false;    // U+2026 becomes ...
    bool plain_spaces = false;      // U+00A0, U+2000 to U+200A, U+202F, U+205F become a space
    bool remove_invisible = false;  // U+200B, U+2060, U+FEFF and U+00AD go
    bool any() const
    {
        return straight_quotes || plain_dashes || plain_ellipsis || plain_spaces || remove_invisible;
    }
};

// Replaces every character that an option names by its plain form. No plain form is longer
// than the character it stands for, so each line changes where it stands; a line may be left
// empty or blank. Bytes that are not UTF-8 stay as they are.
void make_characters_plain(Line_list& lines, const Character_options& options);
