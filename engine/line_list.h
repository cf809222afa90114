// The text being cleaned, one entry per line without terminators.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using Line_list = std::vector<std::string>;

// Splits at every LF and drops every CR; the text after the last LF is always the last entry,
// so k line feeds give k + 1 lines.
Line_list text_to_line_list(std::string_view text);
// The entries with CR LF between consecutive ones and none after the last.
std::string line_list_to_text(const Line_list& lines);
