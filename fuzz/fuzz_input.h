// Turns fuzzer bytes into one cleaning run: every setting, the abbreviation list and the text
// are drawn from the input. Shared by the libFuzzer target and the regression test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/abbreviations.h"
#include "engine/cleaning_settings.h"

struct Fuzz_run {
    Cleaning_settings settings;
    Abbreviations abbreviations;
    std::string text;
};

// Integer settings take small values around their ranges or extremes such as INT32_MIN and
// INT32_MAX. Only what would make the output itself explode is bounded: counts of spaces or
// lines inserted per line or per tab (tab stops, both indentations, lines between paragraphs)
// stay at or below 32, and find/replace pairs that keep growing the text are dropped once
// their growth together passes 16 times.
Fuzz_run decode_fuzz_input(const std::uint8_t* data, std::size_t size);

// The run as "Clean Everything" does it: split, clean, join.
std::string run_fuzz_input(Fuzz_run& run);
