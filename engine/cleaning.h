// The cleaning engine: clean_lines runs its passes over a line list in a fixed order, reading
// every setting once from the snapshot of the settings it was handed.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/abbreviations.h"
#include "engine/characters.h"
#include "engine/line_list.h"
#include "engine/lists.h"
#include "engine/paragraphs.h"
#include "engine/cleaning_settings.h"
#include "engine/spacing.h"

struct Find_replace_pair {
    std::string find;
    std::string replace;
};
using Find_replace_pairs = std::array<Find_replace_pair, 5>;

// Case folding of A to Z only; find and replace folds every letter (fold_case).
std::string lower_ascii(std::string text);

// Replaces find by replacement until no occurrence is left (not case-sensitive: compared by
// simple case folding, character by character, so "CAFÉ" finds "café"), leftmost first, rescanning what a
// replacement forms with its neighbours ("  " to " " leaves single spaces). The replacement is
// inserted as written. Where the rescan could not end (the folded replacement contains the
// folded find text) the search continues after each inserted replacement instead; a pair whose
// replacements keep forming new occurrences past a work bound of about 32 times the text's
// length continues the same way from there. An empty find text changes nothing.
std::string replace_all(std::string_view text, const std::string& find,
                        const std::string& replacement, bool case_sensitive);

// Strips e-mail reply marks (">" runs with blanks between them) and one space after the last.
void remove_reply_marks(Line_list& lines);

class Cleaner {
public:
    // settings: the run's snapshot, which nothing changes while the run is under way.
    Cleaner(const Cleaning_settings& settings, const Abbreviations& abbreviations)
        : settings_(settings), abbreviations_(abbreviations)
    {
    }

    void clean_lines(Line_list& lines);
    // The pairs run twice (before joining and after word spacing). In the second run a pair
    // whose replacement holds its own find text is skipped: it would replace its own output
    // ("Mr" to "Mr." would give "Mr..").
    enum class Replace_run { first, second };
    void apply_find_replace(Line_list& lines, const Find_replace_pairs& pairs,
                            Replace_run run = Replace_run::first);

private:
    // Every setting a run uses, in the form the passes take.
    struct Run_options {
        Character_options characters;
        bool remove_reply_marks;
        Tab_options tabs;
        bool remove_line_breaks;
        Join_options join;
        bool adjust_indent;
        Indent_options indent;
        bool adjust_spacing;
        int lines_between;
        Word_spacing_options words;
        List_ids ids;
        Wrap_options wrap;
    };

    Run_options read_options() const;
    Find_replace_pairs read_pairs() const;

    const Cleaning_settings& settings_;
    const Abbreviations& abbreviations_;
};
