// Texts from the string table. A command's string holds its status bar prompt, then after "\n"
// its tool tip.
#pragma once

#include <string>

// The program's string resource id, or "" when it has none.
std::string load_string(int id);
// File names are the file system's (UTF-16); the program holds them as UTF-8 and shows them
// in the 8-bit code page as well as it can (a letter it lacks becomes its nearest or "?").
std::wstring widen(const std::string& utf8);
std::string to_utf8(const std::wstring& wide);
std::string utf8_to_ansi(const std::string& utf8);
// The program's command line after its own name, as UTF-8.
std::string command_line_utf8();
// Line index (0-based) of a "\n"-separated text, or "" when it has fewer lines.
std::string string_line(const std::string& text, int index);
