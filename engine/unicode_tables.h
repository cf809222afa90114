// The generated Unicode data (engine/unicode_tables.cpp, from scripts/gen-unicode-tables).
#pragma once

#include <cstddef>
#include <cstdint>

namespace unicode_tables {

// Display widths, 2 bits a code point: block width_index[cp >> 8] of width_blocks holds code
// points cp & ~0xFF to cp | 0xFF, four to a byte, the lowest bits first.
extern const std::uint8_t width_index[0x1100];
extern const std::uint8_t width_blocks[][64];

// Simple case folding (statuses C and S), sorted by from.
struct Fold_pair {
    std::uint32_t from, to;
};
extern const Fold_pair fold_pairs[];
extern const std::size_t fold_pair_count;

}  // namespace unicode_tables
