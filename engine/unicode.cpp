#include "engine/unicode.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "engine/avx2.h"
#include "engine/utf8_blocks.h"

// The C library's answer to whether the processor has AVX2, where its header is C++ enough
// (clang takes it for C only).
#if defined(SORVANE_AVX2) && !defined(__clang__) && __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define SORVANE_LIBC_CPU_FEATURES
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

#ifdef __SSE2__
namespace {

// Sixteen bytes for the block walks of utf8_blocks.h.
class Bytes16 {
public:
    using Mask = std::uint32_t;
    static constexpr int size = 16;
    static constexpr Mask all = 0xFFFF;
    explicit Bytes16(const char* s) : v_(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))) {}
    Mask high() const { return static_cast<Mask>(_mm_movemask_epi8(v_)); }
    Mask at_least(unsigned char b) const
    {
        return static_cast<Mask>(_mm_movemask_epi8(_mm_cmpgt_epi8(v_, _mm_set1_epi8(static_cast<char>(b - 1)))));
    }
    Mask equal(unsigned char b) const
    {
        return static_cast<Mask>(_mm_movemask_epi8(_mm_cmpeq_epi8(v_, _mm_set1_epi8(static_cast<char>(b)))));
    }

private:
    __m128i v_;
};

}  // namespace
#endif

#ifdef SORVANE_AVX2
// The C library has asked the processor already at start; the compiler's own check would ask
// again, and each question costs microseconds on a virtual machine.
#ifdef SORVANE_LIBC_CPU_FEATURES
bool avx2_present()
{
    // Read once: every search asks, and the answer is a call into the C library away.
    static const bool present = CPU_FEATURE_ACTIVE(AVX2);
    return present;
}
#else
bool avx2_present() { return __builtin_cpu_supports("avx2"); }
#endif
#endif

Width_run width_run(const char* s, std::size_t n, std::int64_t room)
{
    Width_run run{0, 0, false};
#ifdef SORVANE_AVX2
    if (avx2_present()) {
        width_run_avx2(s, n, room, run.size, run.width, run.reached);
        return run;
    }
#endif
#ifdef __SSE2__
    width_run<Bytes16>(s, n, room, run.size, run.width, run.reached);
#else
    (void)s;
    (void)n;
    (void)room;
#endif
    return run;
}

namespace {

// The bytes at the start of the n at s that valid_run takes, blocks of sixteen.
std::size_t valid_blocks(const char* s, std::size_t n)
{
#ifdef __SSE2__
    return valid_run<Bytes16>(s, n);
#else
    (void)s;
    (void)n;
    return 0;
#endif
}

}  // namespace

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
#ifdef SORVANE_AVX2
    if (avx2_present()) return is_valid_utf8_avx2(text.data(), n);
#endif
    for (std::size_t i = 0; i < n;) {
        const unsigned c = s[i];
        const auto tail = [&](std::size_t k) { return i + k < n && (s[i + k] & 0xC0) == 0x80; };
        if (const std::size_t size = valid_blocks(reinterpret_cast<const char*>(s + i), n - i)) {
            i += size;
            continue;
        }
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
