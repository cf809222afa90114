// The engine's byte classes. Locale plays no part: bytes of 128 and above are in no class.
#pragma once

#include <cstddef>
#include <string_view>

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_whitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline char fold_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

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
