// Texts from the string table. A command's string holds its status bar prompt, then after "\n"
// its tool tip.
#pragma once

#include <string>

// The program's string resource id, or "" when it has none.
std::string load_string(int id);
// The one place where text crosses the API: the program holds every text as UTF-8, the
// system takes and gives UTF-16.
std::wstring widen(const std::string& utf8);
std::string to_utf8(const std::wstring& wide);
// The program's command line after its own name, as UTF-8.
std::string command_line_utf8();
// Line index (0-based) of a "\n"-separated text, or "" when it has fewer lines.
std::string string_line(const std::string& text, int index);
