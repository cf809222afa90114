// The text of sorvane-clean --help: the options, the 39 cleaning settings with their values in
// both presets and the values they take, and the presets.
#pragma once

#include <string>

std::string cli_help_text();

// The values an integer setting takes, as --help prints them, and whether value is one of them;
// --set and -w refuse the others.
const char* range_of(const char* name);
bool value_in_range(const char* name, long long value);
