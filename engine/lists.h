// List items: which lines start with a list identifier, how long it is, and the pass that leaves
// exactly one space after every identifier.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/line_list.h"

// Which identifier kinds are recognised ("list-id ..." settings).
struct List_ids {
    std::string custom;  // empty: no custom identifier
    bool numbers = false;
    bool letters = false;
    bool roman = false;
    bool dash = false;
    bool star = false;
    bool letter_o = false;
};

// Length of the line's list identifier, counted from its first non-whitespace character and
// including an opening "(" and the closing "." or ")"; 0 when the line is not a list item. A
// blank (space or tab) or the end of the line must follow the identifier.
std::size_t list_id_length(std::string_view line, const List_ids& ids);

// Every list item becomes: its leading whitespace, the identifier, one space, the rest with its
// leading whitespace removed. Other lines are untouched.
void space_list_identifiers(Line_list& lines, const List_ids& ids);
