// The text of sorvane-clean --help: the options, the 44 cleaning settings with their values in
// both presets and the values they take, and the presets.
#pragma once

#include <string>

std::string cli_help_text();
