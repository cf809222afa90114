// Paragraphs: joining hard-wrapped lines into one line per paragraph, and breaking long lines
// again at word boundaries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/abbreviations.h"
#include "engine/line_list.h"
#include "engine/lists.h"

struct Join_options {
    bool punct_ends_paragraph = false;  // a line whose last word ends a sentence ends its paragraph
    int sentence_spaces = 2;            // 2: two spaces at a join after a sentence end
    bool blank_lines_separate = true;
    bool indent_makes_new = false;  // a line indented by indent_for_new columns starts a paragraph
    int indent_for_new = 0;
    int tab_stops = 4;
};
// Joins every paragraph's lines into its first line; list items and (optionally) indented lines
// start paragraphs. Entries are removed, never inserted; lines that start a paragraph keep their
// own indentation, joined lines lose theirs.
void join_paragraph_lines(Line_list& lines, const Join_options& options, const List_ids& ids,
                          const Abbreviations& abbreviations);

struct Wrap_options {
    int paragraph_max = 0;  // "para-max chars on para line"; 0: paragraphs are not wrapped
    int list_format = 0;    // 1: list items are wrapped to list_max with a hanging indent
    bool list_adjust_indent = false;
    int list_indent = 2;
    int list_max = 65;
    int tab_stops = 4;
};
// Replaces each long line by its wrapped text; an entry may then hold several lines separated
// by CR LF. The number of entries does not change.
void wrap_lines(Line_list& lines, const Wrap_options& options, const List_ids& ids);

// Breaks text before every chunk (blanks plus a word) whose last character would stand at column
// max_length or further, except the first; a moved chunk loses its blanks and follows CR LF and
// continuation_indent spaces. With first_indent, the text's own leading whitespace is replaced by
// that many spaces. Words are never split; blanks at the very end that would start a line of
// their own are dropped. Negative counts are taken as 0. A text that needs no change is
// returned as it came, without a copy.
std::string wrap_text(std::string text, std::optional<std::int64_t> first_indent,
                      std::int64_t continuation_indent, std::int64_t max_length, int tab_stops);
