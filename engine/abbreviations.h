// The abbreviation list: whole words, final period included, compared exactly and with case.
#pragma once

#include <string>
#include <unordered_set>

using Abbreviations = std::unordered_set<std::string>;

#include <string_view>

// Parses the abbr.dat format: one entry per line (LF or CR LF), each line trimmed of whitespace,
// empty lines and lines starting with "#" skipped, inner blanks kept, a repeat stored once.
Abbreviations parse_abbreviations(std::string_view content);
