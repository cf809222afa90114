// The characters of the engine's text, which is UTF-8: decoding, display width and case
// folding. A byte that does not begin a valid UTF-8 sequence (a stray continuation byte, an
// overlong form, a surrogate, a truncated sequence) is one character of its own: one column
// wide, folding to itself and never equal to a real character. So text that is not UTF-8 loses
// nothing, and 8-bit text whose bytes form no UTF-8 sequence is measured byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/unicode_tables.h"

// What an invalid byte b decodes to: invalid_byte + b, above every code point.
constexpr char32_t invalid_byte = 0x110000;

struct Decoded {
    char32_t code;
    std::size_t size;  // bytes, 1 to 4
};

// The character that starts at s, n > 0 bytes being available.
inline Decoded decode_utf8(const char* s, std::size_t n)
{
    const auto b = [s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned c = b(0);
    if (c < 0x80) return {c, 1};
    const auto tail = [&](std::size_t i) { return i < n && (b(i) & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF && tail(1)) return {((c & 0x1Fu) << 6) | (b(1) & 0x3Fu), 2};
    if (c >= 0xE0 && c <= 0xEF && tail(1) && tail(2)) {
        const char32_t code = ((c & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
        if (code >= 0x800 && (code < 0xD800 || code > 0xDFFF)) return {code, 3};
    } else if (c >= 0xF0 && c <= 0xF4 && tail(1) && tail(2) && tail(3)) {
        const char32_t code = ((c & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) |
                              ((b(2) & 0x3Fu) << 6) | (b(3) & 0x3Fu);
        if (code >= 0x10000 && code <= 0x10FFFF) return {code, 4};
    }
    return {invalid_byte + c, 1};
}

// Columns: 1 up to U+00FF and for an invalid byte; 0 for general categories Mn, Me and Cf and
// U+1160 to U+11FF; 2 for East Asian Width W and F; 1 otherwise.
inline int char_width(char32_t code)
{
    if (code < 0x100 || code >= invalid_byte) return 1;
    const std::uint8_t* block = unicode_tables::width_blocks[unicode_tables::width_index[code >> 8]];
    return (block[(code & 0xFF) >> 2] >> (2 * (code & 3))) & 3;
}

// One character's bytes and columns, as decode_utf8 and char_width give them; the common two-
// and three-byte characters are read off one table by their first two bytes.
struct Width_step {
    std::size_t size;
    int width;
};
inline Width_step width_step(const char* s, std::size_t n)
{
    const unsigned c = static_cast<unsigned char>(s[0]);
    if (c < 0x80) return {1, 1};
    if (c >= 0xC2 && c <= 0xEF && n >= 2) {
        const unsigned b1 = static_cast<unsigned char>(s[1]);
        if ((b1 & 0xC0) == 0x80) {
            const int width = unicode_tables::lead_widths[((c - 0xC0) << 6) | (b1 & 0x3F)];
            if (c < 0xE0) return {2, width};
            if (width < 3 && n >= 3 && (static_cast<unsigned char>(s[2]) & 0xC0) == 0x80)
                return {3, width};
        }
    }
    const Decoded d = decode_utf8(s, n);
    return {d.size, char_width(d.code)};
}

// The first bytes of the n at s as whole characters of the common kinds (ASCII, the two- and
// three-byte ones but for a few stretches of mixed widths), taken a block of 16 or 32 bytes at
// a time while each block's columns fit in what is left of room: size is how many bytes, up to
// the last whole character of the last block taken, and width their columns. Where a block of
// such characters does not fit, size goes on to its first character that would end past room
// and reached is set (width stays the columns before that block). Otherwise it stops before a
// block that holds anything else, and where fewer bytes than a block are left; a caller goes
// on from there one character at a time.
struct Width_run {
    std::size_t size;
    std::int64_t width;
    bool reached;
};
Width_run width_run(const char* s, std::size_t n, std::int64_t room);

// The position of the first byte of 0x80 or more in text at or after from, or text.size().
std::size_t skip_ascii(std::string_view text, std::size_t from);

// The columns text takes, tabs counted as one.
std::int64_t text_width(std::string_view text);

// Simple case folding: one character to one (statuses C and S).
char32_t fold_char(char32_t code);
// The text with every character folded; invalid bytes stay as they are.
std::string fold_case(std::string_view text);

// Appends code as UTF-8; an invalid byte is appended as that byte.
void append_utf8(std::string& out, char32_t code);

bool is_valid_utf8(std::string_view text);
// Whether text holds a byte of 0x80 or more.
bool has_high_byte(std::string_view text);
// The number of characters in text.
std::size_t count_chars(std::string_view text);
// Whether text holds at least count characters.
bool has_chars(std::string_view text, std::size_t count);
