// The generated Unicode data (engine/unicode_tables.cpp, from scripts/gen-unicode-tables).
#pragma once

#include <cstddef>
#include <cstdint>

namespace unicode_tables {

// Display widths, 2 bits a code point: block width_index[cp >> 8] of width_blocks holds code
// points cp & ~0xFF to cp | 0xFF, four to a byte, the lowest bits first.
extern const std::uint8_t width_index[0x1100];
extern const std::uint8_t width_blocks[][64];

// The width of the characters that begin with lead byte 0xC0 + (i >> 6) and a continuation
// byte of low bits i & 0x3F, where they all share one (for two-byte characters, the one); 3
// where they do not or the two bytes begin no valid character.
extern const std::uint8_t lead_widths[48 * 64];

// Simple case folding (statuses C and S) in runs sorted by first: count code points from first
// on, stride apart, each folding to itself plus delta.
struct Fold_run {
    std::uint32_t first;
    std::int32_t delta;
    std::uint16_t count, stride;
};
extern const Fold_run fold_runs[];
extern const std::size_t fold_run_count;

}  // namespace unicode_tables
