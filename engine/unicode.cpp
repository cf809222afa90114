#include "engine/unicode.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

std::size_t skip_ascii(std::string_view text, std::size_t i)
{
    const char* s = text.data();
    const std::size_t n = text.size();
#ifdef __SSE2__
    for (; i + 16 <= n; i += 16) {
        const int highs = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        if (highs) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(highs)));
    }
#endif
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::memcpy(&x, s + i, 8);
        if (x & highs) return i + static_cast<std::size_t>(__builtin_ctzll(x & highs) >> 3);
    }
    while (i < n && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
}

namespace {

#ifdef __SSE2__
// The 16 bytes at s by class: ASCII, continuation bytes, the leads of two-byte (C2-DF) and
// three-byte (E0-EF) characters, and the rest (C0, C1, F0-FF), which the callers leave to the
// one-character-at-a-time path.
struct Byte_classes {
    __m128i flipped;  // the bytes minus 0x80, so that signed comparisons order them unsigned
    unsigned ascii, continuation, lead2, lead3, rest;

    explicit Byte_classes(const char* s)
    {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        flipped = _mm_xor_si128(v, _mm_set1_epi8(static_cast<char>(0x80)));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        ascii = ~high & 0xFFFF;
        if (!high) {
            continuation = lead2 = lead3 = rest = 0;
            return;
        }
        const unsigned c0 = at_least(0xC0), c2 = at_least(0xC2), e0 = at_least(0xE0),
                       f0 = at_least(0xF0);
        continuation = high & ~c0;
        lead2 = c2 & ~e0;
        lead3 = e0 & ~f0;
        rest = (c0 & ~c2) | f0;
    }
    // Which bytes are b or more, b being 0x80 or more.
    unsigned at_least(unsigned char b) const
    {
        return static_cast<unsigned>(_mm_movemask_epi8(
            _mm_cmpgt_epi8(flipped, _mm_set1_epi8(static_cast<char>((b ^ 0x80) - 1)))));
    }
    // How many bytes from the start hold whole characters, each lead followed by just the
    // continuation bytes it needs (a character the block cuts off is left out); 0 when that
    // does not hold or a byte is of the rest.
    std::size_t whole_prefix() const
    {
        const unsigned expected = (lead2 << 1) | (lead3 << 1) | (lead3 << 2);
        if ((expected & 0xFFFF) != continuation || rest) return 0;
        if ((lead2 | lead3) & 0x8000) return 15;
        if (lead3 & 0x4000) return 14;
        return 16;
    }
};
#endif

}  // namespace

Width_block width_block(const char* s)
{
#ifdef __SSE2__
    const Byte_classes b(s);
    if (b.ascii == 0xFFFF) return {16, 16};
    const std::size_t size = b.whole_prefix();
    if (size == 0) return {0, 0};
    // C2-CB and CE-D1 begin only characters of width 1 (U+0080-U+02FF, U+0380-U+047F), E5-E9,
    // EB and EC only characters of width 2 (U+5000-U+9FFF, U+B000-U+CFFF): they are counted
    // in the vector, by byte lanes; the other leads are looked up with their second byte.
    const __m128i x = b.flipped;
    const auto in = [&x](int lo, int hi) {  // lanes holding lo to hi, both 0x80 or more
        return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>((lo ^ 0x80) - 1))),
                             _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>((hi ^ 0x80) + 1))));
    };
    const __m128i narrow = _mm_or_si128(in(0xC2, 0xCB), in(0xCE, 0xD1));
    // E4 too but for E4 B7 (U+4DC0-U+4DFF); a lead's second byte is in the next lane.
    const __m128i e4 = _mm_andnot_si128(
        _mm_cmpeq_epi8(_mm_srli_si128(x, 1), _mm_set1_epi8(static_cast<char>(0xB7 ^ 0x80))),
        _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0xE4 ^ 0x80))));
    const __m128i wide = _mm_or_si128(_mm_or_si128(in(0xE5, 0xE9), in(0xEB, 0xEC)), e4);
    const __m128i ascii = _mm_cmplt_epi8(x, _mm_setzero_si128());
    const __m128i lanes = _mm_set_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m128i kept = _mm_cmplt_epi8(lanes, _mm_set1_epi8(static_cast<char>(size)));
    const __m128i weights = _mm_and_si128(
        kept, _mm_or_si128(_mm_and_si128(_mm_or_si128(ascii, narrow), _mm_set1_epi8(1)),
                           _mm_and_si128(wide, _mm_set1_epi8(2))));
    const __m128i sums = _mm_sad_epu8(weights, _mm_setzero_si128());
    int width = _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
    const unsigned counted = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(narrow, wide)));
    const unsigned whole = (1u << size) - 1;
    for (unsigned other = (b.lead2 | b.lead3) & whole & ~counted; other; other &= other - 1) {
        const int at = __builtin_ctz(other);
        const unsigned c = static_cast<unsigned char>(s[at]);
        const unsigned b1 = static_cast<unsigned char>(s[at + 1]);
        int w = unicode_tables::lead_widths[((c - 0xC0) << 6) | (b1 & 0x3F)];
        if (w == 3) {  // a stretch of mixed widths, or no character at all
            const Decoded d = decode_utf8(s + at, 3);
            if (d.size != 3) return {0, 0};
            w = char_width(d.code);
        }
        width += w;
    }
    return {size, width};
#else
    (void)s;
    return {0, 0};
#endif
}

std::int64_t text_width(std::string_view text)
{
    std::int64_t width = 0;
    const char* s = text.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            const std::size_t end = skip_ascii(text, i);
            width += static_cast<std::int64_t>(end - i);
            i = end;
            continue;
        }
        const Width_step step = width_step(s + i, n - i);
        width += step.width;
        i += step.size;
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

bool has_high_byte(std::string_view text) { return skip_ascii(text, 0) != text.size(); }

// The checks of decode_utf8, without building the code point: whole inputs are checked.
bool is_valid_utf8(std::string_view text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned c = s[i];
        const auto tail = [&](std::size_t k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
#ifdef __SSE2__
        // Sixteen bytes at a time where they are ASCII, two-byte or three-byte characters.
        if (i + 16 <= n) {
            const Byte_classes b(reinterpret_cast<const char*>(s + i));
            if (b.ascii == 0xFFFF) {
                i += 16;
                continue;
            }
            // E0 takes A0-BF second (the others are overlong forms), ED 80-9F (the others are
            // surrogates).
            const unsigned e0 = b.lead3 & ~b.at_least(0xE1), ed = b.at_least(0xED) & ~b.at_least(0xEE);
            const unsigned high_second = b.continuation & b.at_least(0xA0);
            const unsigned bad_second = ((e0 << 1) & ~high_second) | ((ed << 1) & high_second);
            const std::size_t size = b.whole_prefix();
            if (size && !(bad_second & ((1u << size) - 1))) {
                i += size;
                continue;
            }
        }
#endif
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            if (!tail(1)) return false;
            i += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            // E0 80-9F are overlong forms, ED A0-BF surrogates.
            if (!tail(1) || !tail(2) || (c == 0xE0 && s[i + 1] < 0xA0) ||
                (c == 0xED && s[i + 1] >= 0xA0))
                return false;
            i += 3;
        } else if (c >= 0xF0 && c <= 0xF4) {
            // F0 80-8F are overlong, F4 90 and above beyond U+10FFFF.
            if (!tail(1) || !tail(2) || !tail(3) || (c == 0xF0 && s[i + 1] < 0x90) ||
                (c == 0xF4 && s[i + 1] >= 0x90))
                return false;
            i += 4;
        } else {
            return false;
        }
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
