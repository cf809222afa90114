#include "engine/unicode.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

std::int64_t text_width(std::string_view text)
{
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    std::int64_t width = 0;
    const char* s = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        if (i + 8 <= n) {
            std::uint64_t x;
            std::memcpy(&x, s + i, 8);
            if (!(x & highs)) {
                width += 8;
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++width;
            ++i;
            continue;
        }
        const Decoded d = decode_utf8(s + i, n - i);
        width += char_width(d.code);
        i += d.size;
    }
    return width;
}

char32_t fold_char(char32_t code)
{
    if (code < 0x80) return code >= 'A' && code <= 'Z' ? code + 32 : code;
    using unicode_tables::Fold_run;
    const Fold_run* begin = unicode_tables::fold_runs;
    const Fold_run* end = begin + unicode_tables::fold_run_count;
    // The last run that starts at or before code.
    const Fold_run* at = std::upper_bound(begin, end, code,
                                          [](char32_t c, const Fold_run& run) { return c < run.first; });
    if (at == begin) return code;
    --at;
    const char32_t offset = code - at->first;
    if (offset % at->stride != 0 || offset / at->stride >= at->count) return code;
    return static_cast<char32_t>(static_cast<std::int32_t>(code) + at->delta);
}

void append_utf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code >= invalid_byte) {
        out += static_cast<char>(code - invalid_byte);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string fold_case(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        append_utf8(out, fold_char(d.code));
        i += d.size;
    }
    return out;
}

// Every long line is asked this before it is wrapped, so it goes 32 bytes at a time where
// SSE2 is there (every x86-64 machine, and the 32-bit program's compilers may enable it).
bool has_high_byte(std::string_view text)
{
    const char* s = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
#ifdef __SSE2__
    for (; i + 32 <= n; i += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 16));
        if (_mm_movemask_epi8(_mm_or_si128(a, b))) return true;
    }
#endif
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, s + i, 8);
        if (x & highs) return true;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return true;
    return false;
}

bool is_valid_utf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded d = decode_utf8(text.data() + i, text.size() - i);
        if (d.code >= invalid_byte) return false;
        i += d.size;
    }
    return true;
}

bool has_chars(std::string_view text, std::size_t count)
{
    std::size_t i = 0;
    for (; count > 0 && i < text.size(); --count)
        i += decode_utf8(text.data() + i, text.size() - i).size;
    return count == 0;
}

std::size_t count_chars(std::string_view text)
{
    if (!has_high_byte(text)) return text.size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += decode_utf8(text.data() + i, text.size() - i).size;
    return count;
}
