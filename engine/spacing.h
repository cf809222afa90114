// Sentence ends, tabs, paragraph indentation, blank lines between paragraphs and the spacing
// between words and after sentences.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/abbreviations.h"
#include "engine/line_list.h"
#include "engine/lists.h"

// A tab stop width below 1 is used as 1, so every pass that measures columns ends.
inline std::int64_t tab_width(int tab_stops) { return tab_stops < 1 ? 1 : tab_stops; }
inline std::int64_t next_tab_stop(std::int64_t column, int tab_stops)
{
    std::int64_t t = tab_width(tab_stops);
    return column + t - column % t;
}
// Column of the first character that is not a space or tab, tabs advancing to the next stop.
std::int64_t indentation_width(std::string_view line, int tab_stops);

// A word (no blanks) ends a sentence: it ends in "?" or "!", or in "." that is no abbreviation's,
// possibly followed by one closing quote or bracket.
bool ends_sentence(std::string_view word, const Abbreviations& abbreviations);
// A word ending in "." is an abbreviation when it holds another period or is in the list.
bool is_abbreviation(std::string_view word, const Abbreviations& abbreviations);

// "misc-tab replace": what replace_tabs does.
enum Tab_mode { tabs_to_spaces = 0, spaces_to_tabs = 1, tabs_to_commas = 2, commas_to_tabs = 3 };
struct Tab_options {
    int mode = 4;  // any value but 0 to 3 leaves the text alone
    int tab_stops = 4;
};
void replace_tabs(Line_list& lines, const Tab_options& options);

struct Indent_options {
    int spaces = 0;       // "spac-num spaces to indent"; below 0 counts as 0
    int list_format = 0;  // list items keep their indentation unless this is 0
};
// Every line gets exactly options.spaces of indentation; whitespace-only lines become empty.
void adjust_paragraph_indent(Line_list& lines, const Indent_options& options, const List_ids& ids);

// Removes every blank line, then puts lines_between empty lines between consecutive lines.
void adjust_paragraph_spacing(Line_list& lines, int lines_between);

struct Word_spacing_options {
    bool remove_extra_spaces = false;  // gaps after ordinary words become one space
    bool clean_sentence_spacing = false;  // gaps after sentence ends become sentence_spaces
    int sentence_spaces = 2;  // 2 gives two spaces, anything else one
};
// Sets the gaps between the words of every non-blank line; leading indentation stays and
// trailing whitespace goes.
void clean_word_spacing(Line_list& lines, const Word_spacing_options& options,
                        const Abbreviations& abbreviations);
