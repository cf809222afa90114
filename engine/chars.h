// The engine's byte classes. Locale plays no part: bytes of 128 and above are in no class.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_whitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline char fold_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// Where the last c of text stands, or npos: the C library's search where it has one.
inline std::size_t last_of(std::string_view text, char c)
{
#ifdef __GLIBC__
    const void* at = text.empty() ? nullptr : memrchr(text.data(), c, text.size());
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
#else
    return text.rfind(c);
#endif
}

// The length of text's leading whitespace, and of text without its trailing whitespace.
inline std::size_t leading_whitespace(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_whitespace(text[i])) ++i;
    return i;
}
inline std::size_t trimmed_right_size(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && is_whitespace(text[n - 1])) --n;
    return n;
}

// The position of the first blank in text at or after from, or text.size(): eight bytes at a
// time, since the passes spend most of their time walking over words.
inline std::size_t find_blank(std::string_view text, std::size_t from)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const char* s = text.data();
    const std::size_t n = text.size();
    for (; from + 8 <= n; from += 8) {
        std::uint64_t x;
        std::memcpy(&x, s + from, 8);
        const std::uint64_t space = x ^ (ones * ' '), tab = x ^ (ones * '\t');
        // A byte of space or tab that is 0 sets its high bit here; only bytes after the first
        // such byte can be set falsely, and the lowest set bit belongs to the first byte in
        // memory on the little-endian machines this is built for.
        const std::uint64_t found = ((space - ones) & ~space & highs) | ((tab - ones) & ~tab & highs);
        if (found) return from + static_cast<std::size_t>(__builtin_ctzll(found) >> 3);
    }
    while (from < n && !is_blank(s[from])) ++from;
    return from;
}
