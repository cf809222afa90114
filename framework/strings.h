// Texts from the string table. A command's string holds its status bar prompt, then after "\n"
// its tool tip.
#pragma once

#include <string>

// The string resource id of the program, or "" when there is none.
std::string load_string(int id);
// Line index (0-based) of a "\n"-separated text, or "" when it has fewer lines.
std::string string_line(const std::string& text, int index);
