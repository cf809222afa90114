// The release's version: the program's version resource, the release archive's name and
// sorvane-clean --version all take it from here.
#pragma once

#define SORVANE_VERSION_MAJOR 1
#define SORVANE_VERSION_MINOR 0
#define SORVANE_VERSION_PATCH 1
#define SORVANE_VERSION "1.0.1"
