#include "engine/lists.h"

#include "engine/chars.h"
#include "engine/unicode.h"

namespace {

bool is_roman_letter(char c)
{
    switch (c) {
    case 'M': case 'D': case 'C': case 'L': case 'X': case 'V': case 'I':
    case 'm': case 'd': case 'c': case 'l': case 'x': case 'v': case 'i':
        return true;
    default:
        return false;
    }
}

bool closes_identifier(char c) { return c == '.' || c == ')'; }

// Words made of roman letters that are far likelier words than numerals.
bool is_roman_exclusion(std::string_view lower)
{
    static constexpr std::string_view words[] = {"id",  "mid", "mix",  "mic",  "dim", "dix",
                                                 "did", "lid", "mild", "midi", "divx"};
    for (std::string_view word : words)
        if (lower == word) return true;
    return false;
}

std::size_t number_id(std::string_view t)
{
    if (!is_digit(t[0]) && !(t[0] == '(' && is_digit(t[1]))) return 0;
    std::size_t i = 1;
    while (i < t.size() && is_digit(t[i])) ++i;
    return i < t.size() && closes_identifier(t[i]) && i <= 4 ? i + 1 : 0;
}

std::size_t letter_id(std::string_view t)
{
    if (closes_identifier(t[1]) && is_letter(t[0])) return 2;
    if (t.size() >= 4 && t[0] == '(' && t[2] == ')' && is_letter(t[1])) return 3;
    return 0;
}

std::size_t roman_id(std::string_view t)
{
    if (!is_roman_letter(t[0]) && !(t[0] == '(' && is_roman_letter(t[1]))) return 0;
    std::size_t i = 1;
    while (i < t.size() && is_roman_letter(t[i])) ++i;
    if (i >= t.size() || !closes_identifier(t[i]) || i > 10) return 0;
    std::string_view numeral = t.substr(t[0] == '(' ? 1 : 0, t[0] == '(' ? i - 1 : i);
    bool upper = false, lower = false;
    char folded[10];
    for (std::size_t j = 0; j < numeral.size(); ++j) {
        char c = numeral[j];
        (c >= 'A' && c <= 'Z' ? upper : lower) = true;
        folded[j] = fold_ascii(c);
    }
    if (upper && lower) return 0;
    return is_roman_exclusion(std::string_view(folded, numeral.size())) ? 0 : i + 1;
}

}  // namespace

// An identifier counts only where a blank or the line's end follows it, so "3.14", "e.g.",
// "-z" and "*word*" stay words; a kind that fails so passes the line on to the next kind.
std::size_t list_id_length(std::string_view line, const List_ids& ids)
{
    std::string_view t = line.substr(leading_whitespace(line));
    // Three characters, not bytes: "•x" is two (twelve bytes always hold three).
    if (t.size() < 3) return 0;
    if (t.size() < 12 && ((t[0] | t[1] | t[2]) & 0x80) && !has_chars(t, 3)) return 0;
    auto ends_id = [&](std::size_t k) { return k == t.size() || is_blank(t[k]); };
    // A custom identifier that ends in a blank already has its blank.
    const std::string& custom = ids.custom;
    if (!custom.empty() && t.substr(0, custom.size()) == custom &&
        (is_blank(custom.back()) || ends_id(custom.size())))
        return custom.size();
    if (ids.numbers)
        if (std::size_t k = number_id(t); k && ends_id(k)) return k;
    if (ids.letters)
        if (std::size_t k = letter_id(t); k && ends_id(k)) return k;
    if (ids.roman)
        if (std::size_t k = roman_id(t); k && ends_id(k)) return k;
    if (ids.dash && t[0] == '-' && ends_id(1)) return 1;
    if (ids.star && t[0] == '*' && ends_id(1)) return 1;
    if (ids.letter_o && t[0] == 'o' && is_blank(t[1])) return 1;
    return 0;
}

// The lead is the same whitespace that list_id_length skips, so the identifier is always the k
// bytes it measured, even after a vertical tab or form feed.
void space_list_identifiers(Line_list& lines, const List_ids& ids)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line_view line = lines[i];
        std::size_t k = list_id_length(line, ids);
        if (k == 0) continue;
        std::size_t id_end = leading_whitespace(line) + k;
        std::size_t rest = id_end;
        while (rest < line.size() && is_whitespace(line[rest])) ++rest;
        if (rest == id_end + 1 && line[id_end] == ' ') continue;
        lines.replace(i, id_end, rest - id_end, 1, ' ');
    }
}
