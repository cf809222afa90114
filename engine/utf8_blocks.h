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
inline int bits_set(std::uint64_t x)
{
#ifdef __POPCNT__
    return __builtin_popcountll(x);
#else
    return bits_set(static_cast<std::uint32_t>(x)) + bits_set(static_cast<std::uint32_t>(x >> 32));
#endif
}

// The position of the lowest bit set in x, which is not 0.
inline int lowest_bit(std::uint32_t x) { return __builtin_ctz(x); }
inline int lowest_bit(std::uint64_t x) { return __builtin_ctzll(x); }

// The lead and continuation bytes of a block, and how many bytes from its start hold whole
// characters of one to three bytes (a character the block cuts off left out); size 0 when a
// lead is not followed by just the continuation bytes it needs, or a byte begins no such
// character (C0, C1, F0-FF: four-byte characters are left to the callers' slow path).
//
// Bytes (Bytes16, Bytes32, Bytes64) answers high(), the bytes of 0x80 and more; equal(b); and
// at_least(b) for b of 0x80 and more: the bytes of b and more, and ASCII with them (signed, the
// bytes of 0x80 and more are the negative ones, in the same order), which every use here
// either excludes by what it combines with or, for a byte after a lead, never meets.
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
        if (((c0 & ~c2) | (f0 & high)) || expected != continuation) {
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

// The kana, CJK punctuation and symbols of E3 (U+3000-U+3FFF) that are of width 2, as the
// tables have them: all of E3 83, E3 85 and E3 8A-BF, E3 80 below AA (U+3000-U+3029, before
// the combining tone marks), E3 81 but for 80 (U+3040, unassigned) and E3 82 but for 97-9A
// (U+3097-U+309A: two unassigned, two combining sound marks). The rest is looked up.
template <class Bytes>
typename Bytes::Mask wide_after_e3(const Bytes& b)
{
    using Mask = typename Bytes::Mask;
    const Mask second = static_cast<Mask>((b.at_least(0x8A) | b.equal(0x83) | b.equal(0x85)) >> 1);
    const Mask e380 = static_cast<Mask>((b.equal(0x80) >> 1) & ~(b.at_least(0xAA) >> 2));
    const Mask e381 = static_cast<Mask>((b.equal(0x81) >> 1) & ~(b.equal(0x80) >> 2));
    const Mask e382 = static_cast<Mask>((b.equal(0x82) >> 1) &
                                        ~((b.at_least(0x97) & ~b.at_least(0x9B)) >> 2));
    return second | e380 | e381 | e382;
}

// Bytes and columns of the whole characters at the start of the block; size 0 as above, or
// when a character's width is not in the tables' fast form. C2-CB and CE-D1 begin only
// characters of width 1 (U+0080-U+02FF, U+0380-U+047F), E2 80 too but for U+200B-U+200F and
// U+202A-U+202E (of width 0); E4 (but for E4 B7, U+4DC0-U+4DFF), E5-E9, EB and EC only
// characters of width 2 (U+4000-U+9FFF, U+B000-U+CFFF), EA B0-BF and ED 80-9D too (the
// syllables of Hangul, U+AC00-U+D77F), most of E3 (wide_after_e3) and the fullwidth forms:
// those are counted on the masks; any other lead is looked up with its second byte.
template <class Bytes>
struct Block_columns {
    using Mask = typename Bytes::Mask;
    std::size_t size;  // 0: a character not of those kinds
    Mask ones, twos;   // the first bytes of the characters of width 1, of width 2

    int width() const
    {
        return bits_set(ones) + 2 * bits_set(twos);
    }
    // Where the first character stands that would end past column room, for a room less than
    // width(): the columns up to a byte only grow, so halving finds it in a few steps.
    std::size_t first_past(std::int64_t room) const
    {
        std::size_t fit = 0, past = size;  // up to fit the characters fit, up to past not
        while (past - fit > 1) {
            const std::size_t mid = (fit + past) / 2;
            const auto below = static_cast<Mask>((Mask{1} << mid) - 1);
            const int columns = bits_set(static_cast<Mask>(ones & below)) +
                                2 * bits_set(static_cast<Mask>(twos & below));
            (columns > room ? past : fit) = mid;
        }
        return fit;
    }
};

template <class Bytes>
Block_columns<Bytes> block_columns(const char* s)
{
    using Mask = typename Bytes::Mask;
    const Bytes b(s);
    const Block_shape<Bytes> shape(b);
    if (!shape.high || !shape.size) return {shape.size, static_cast<Mask>(Bytes::all), 0};
    const Mask whole = shape.whole();
    Mask narrow = 0, wide = 0;
    if (shape.lead2)
        narrow = shape.lead2 & ~(b.at_least(0xCC) & ~b.at_least(0xCE)) & ~b.at_least(0xD2);
    if (shape.lead3) {
        const Mask e5 = b.at_least(0xE5), ea = b.at_least(0xEA);
        wide = shape.lead3 & ((b.equal(0xE4) & ~(b.equal(0xB7) >> 1)) | (e5 & ~ea) |
                              (b.at_least(0xEB) & ~b.at_least(0xED)) |
                              (b.equal(0xEA) & (b.at_least(0xB0) >> 1)) |
                              (b.equal(0xED) & ~(b.at_least(0x9E) >> 1)));
        if (const Mask e3 = shape.lead3 & b.equal(0xE3)) wide |= e3 & wide_after_e3(b);
        // The fullwidth forms: EF BC but for 80, EF BD below A1 (U+FF01-U+FF60).
        if (const Mask ef = shape.lead3 & b.equal(0xEF))
            wide |= ef & static_cast<Mask>(((b.equal(0xBC) >> 1) & ~(b.equal(0x80) >> 2)) |
                                           ((b.equal(0xBD) >> 1) & ~(b.at_least(0xA1) >> 2)));
        if (const Mask e2 = shape.lead3 & b.equal(0xE2)) {
            const Mask zero = (b.at_least(0x8B) & ~b.at_least(0x90)) |
                              (b.at_least(0xAA) & ~b.at_least(0xAF));
            narrow |= e2 & static_cast<Mask>((b.equal(0x80) >> 1) & ~(zero >> 2));
        }
    }
    Block_columns<Bytes> block{shape.size, static_cast<Mask>((~shape.high | narrow) & whole),
                               static_cast<Mask>(wide & whole)};
    for (Mask other = (shape.lead2 | shape.lead3) & whole & ~(narrow | wide); other;
         other &= other - 1) {
        const int at = lowest_bit(other);
        const unsigned c = static_cast<unsigned char>(s[at]);
        const unsigned b1 = static_cast<unsigned char>(s[at + 1]);
        int w = unicode_tables::lead_widths[((c - 0xC0) << 6) | (b1 & 0x3F)];
        if (w == 3) {  // mixed widths, or an overlong form or a surrogate, which count bytewise
            if ((c == 0xE0 && b1 < 0xA0) || (c == 0xED && b1 >= 0xA0)) return {0, 0, 0};
            w = three_byte_width(s + at);
        }
        const Mask bit = static_cast<Mask>(other & -other);
        if (w == 1) block.ones |= bit;
        if (w == 2) block.twos |= bit;
    }
    return block;
}

// valid_prefix and block_columns a block after another, in one loop, which keeps what the
// comparisons need at hand from block to block: the bytes of whole blocks from s on that are
// valid; and the bytes and columns of the blocks that fit in room, and when a block of common
// characters does not, up to its first character that ends past room (reached).
template <class Bytes>
std::size_t valid_run(const char* s, std::size_t n)
{
    std::size_t i = 0;
    while (n - i >= static_cast<std::size_t>(Bytes::size)) {
        const std::size_t size = valid_prefix<Bytes>(s + i);
        if (!size) break;
        i += size;
    }
    return i;
}

template <class Bytes>
void width_run(const char* s, std::size_t n, std::int64_t room, std::size_t& size_out,
               std::int64_t& width_out, bool& reached)
{
    std::size_t size = 0;
    std::int64_t width = 0;
    reached = false;
    while (n - size >= static_cast<std::size_t>(Bytes::size)) {
        const Block_columns<Bytes> block = block_columns<Bytes>(s + size);
        if (!block.size) break;
        const int columns = block.width();
        if (columns > room - width) {
            size += block.first_past(room - width);
            reached = true;
            break;
        }
        size += block.size;
        width += columns;
    }
    size_out = size;
    width_out = width;
}

}  // namespace
