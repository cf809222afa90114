// The long walks over UTF-8 (checking a whole text, counting the columns up to a wrap) taken a
// block of bytes at a time: the bytes are classed by vector comparisons into bit masks, one bit
// a byte, and how the bytes fit together is worked out on the masks. Bytes holds the block and
// answers the comparisons (16 bytes with SSE2 in unicode.cpp, 32 with AVX2 in
// unicode_avx2.cpp). Internal to those two files: everything here is local to the file that
// includes it, since the AVX2 file is compiled for other processors than the rest.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/unicode_tables.h"

namespace {

// Bits set in x: by table where the popcount instruction may be missing (it came to x86
// processors after SSE2).
inline int bits_set(std::uint32_t x)
{
#ifdef __POPCNT__
    return __builtin_popcount(x);
#else
    struct Table {
        unsigned char of[256];
        constexpr Table() : of()
        {
            for (int i = 1; i < 256; ++i) of[i] = static_cast<unsigned char>(of[i / 2] + (i & 1));
        }
    };
    static constexpr Table table;
    return table.of[x & 0xFF] + table.of[(x >> 8) & 0xFF] + table.of[(x >> 16) & 0xFF] +
           table.of[x >> 24];
#endif
}

// The lead and continuation bytes of a block, and how many bytes from its start hold whole
// characters of one to three bytes (a character the block cuts off left out); size 0 when a
// lead is not followed by just the continuation bytes it needs, or a byte begins no such
// character (C0, C1, F0-FF: four-byte characters are left to the callers' slow path).
template <class Bytes>
struct Block_shape {
    using Mask = typename Bytes::Mask;
    Mask high, continuation, lead2, lead3;
    std::size_t size;

    explicit Block_shape(const Bytes& b) : high(b.high())
    {
        constexpr int n = Bytes::size;
        continuation = lead2 = lead3 = 0;
        size = n;
        if (!high) return;
        const Mask c0 = b.at_least(0xC0), c2 = b.at_least(0xC2), e0 = b.at_least(0xE0),
                   f0 = b.at_least(0xF0);
        continuation = high & ~c0;
        lead2 = c2 & ~e0;
        lead3 = e0 & ~f0;
        const Mask expected = static_cast<Mask>(((lead2 << 1) | (lead3 << 1) | (lead3 << 2)) & Bytes::all);
        if (((c0 & ~c2) | f0) || expected != continuation) {
            size = 0;
        } else if (((lead2 | lead3) >> (n - 1)) & 1) {
            size = n - 1;
        } else if ((lead3 >> (n - 2)) & 1) {
            size = n - 2;
        }
    }
    Mask whole() const
    {
        return size >= Bytes::size ? Bytes::all : static_cast<Mask>((Mask(1) << size) - 1);
    }
};

// The bytes from s on that are whole valid characters of one to three bytes, up to the block's
// size; 0 when the block holds anything else.
template <class Bytes>
std::size_t valid_prefix(const char* s)
{
    const Bytes b(s);
    const Block_shape<Bytes> shape(b);
    if (!shape.high || !shape.size) return shape.size;
    using Mask = typename Bytes::Mask;
    // E0 takes A0-BF second (the others are overlong forms), ED 80-9F (the others surrogates).
    if (shape.lead3 & (b.equal(0xE0) | b.equal(0xED))) {
        const Mask high_second = shape.continuation & b.at_least(0xA0);
        const Mask bad = static_cast<Mask>(((b.equal(0xE0) << 1) & ~high_second) |
                                           ((b.equal(0xED) << 1) & high_second));
        if (bad & shape.whole()) return 0;
    }
    return shape.size;
}

// The width of the three-byte character at p, from the tables as char_width reads them (the
// inline functions of the engine's headers are not used here: see above).
inline int three_byte_width(const char* p)
{
    const auto byte = [p](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])); };
    const std::uint32_t code = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    const std::uint8_t* block = unicode_tables::width_blocks[unicode_tables::width_index[code >> 8]];
    return (block[(code & 0xFF) >> 2] >> (2 * (code & 3))) & 3;
}

// Bytes and columns of the whole characters at the start of the block; size 0 as above, or
// when a character's width is not in the tables' fast form. C2-CB and CE-D1 begin only
// characters of width 1 (U+0080-U+02FF, U+0380-U+047F), E4 (but for E4 B7, U+4DC0-U+4DFF),
// E5-E9, EB and EC only characters of width 2 (U+4000-U+9FFF, U+B000-U+CFFF): those are
// counted on the masks; any other lead is looked up with its second byte.
template <class Bytes>
void block_width(const char* s, std::size_t& size, int& width)
{
    const Bytes b(s);
    const Block_shape<Bytes> shape(b);
    size = shape.size;
    width = static_cast<int>(shape.size);
    if (!shape.high || !shape.size) return;
    using Mask = typename Bytes::Mask;
    const Mask whole = shape.whole();
    Mask narrow = 0, wide = 0;
    if (shape.lead2)
        narrow = shape.lead2 & ~(b.at_least(0xCC) & ~b.at_least(0xCE)) & ~b.at_least(0xD2);
    if (shape.lead3) {
        const Mask e5 = b.at_least(0xE5), ea = b.at_least(0xEA);
        wide = shape.lead3 & ((b.equal(0xE4) & ~(b.equal(0xB7) >> 1)) | (e5 & ~ea) |
                              (b.at_least(0xEB) & ~b.at_least(0xED)));
    }
    width = bits_set(static_cast<std::uint32_t>((~shape.high | narrow) & whole)) +
            2 * bits_set(static_cast<std::uint32_t>(wide & whole));
    for (Mask other = (shape.lead2 | shape.lead3) & whole & ~(narrow | wide); other;
         other &= other - 1) {
        const int at = __builtin_ctz(static_cast<std::uint32_t>(other));
        const unsigned c = static_cast<unsigned char>(s[at]);
        const unsigned b1 = static_cast<unsigned char>(s[at + 1]);
        int w = unicode_tables::lead_widths[((c - 0xC0) << 6) | (b1 & 0x3F)];
        if (w == 3) {  // mixed widths, or an overlong form or a surrogate, which count bytewise
            if ((c == 0xE0 && b1 < 0xA0) || (c == 0xED && b1 >= 0xA0)) {
                size = 0;
                return;
            }
            w = three_byte_width(s + at);
        }
        width += w;
    }
}

}  // namespace
