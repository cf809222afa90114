// The block walks of utf8_blocks.h 32 bytes at a time, for processors with AVX2. This file
// alone is compiled for them, and unicode.cpp calls it only after asking the processor; so it
// includes nothing whose code another file could share (no inline function of a header with
// external linkage), lest the linker keep this file's copy for everyone.
#include <immintrin.h>

#include "engine/avx2.h"
#include "engine/byte_splats.h"
#include "engine/utf8_blocks.h"

namespace {

class Bytes32 {
public:
    using Mask = std::uint32_t;
    static constexpr int size = 32;
    static constexpr Mask all = 0xFFFFFFFFu;
    explicit Bytes32(const char* s) : v_(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s))) {}
    Mask high() const { return static_cast<Mask>(_mm256_movemask_epi8(v_)); }
    Mask at_least(unsigned char b) const
    {
        return static_cast<Mask>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(v_, splat(b - 1))));
    }
    Mask equal(unsigned char b) const
    {
        return static_cast<Mask>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v_, splat(b))));
    }

private:
    static __m256i splat(int b)
    {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(byte_splats.of[b & 0xFF]));
    }

    __m256i v_;
};

// Sixty-four bytes as two of 32: the work on the masks, and the constants the comparisons
// build, come once for twice the bytes.
class Bytes64 {
public:
    using Mask = std::uint64_t;
    static constexpr int size = 64;
    static constexpr Mask all = ~Mask{0};
    explicit Bytes64(const char* s) : low_(s), high_(s + 32) {}
    Mask high() const { return join(low_.high(), high_.high()); }
    Mask at_least(unsigned char b) const { return join(low_.at_least(b), high_.at_least(b)); }
    Mask equal(unsigned char b) const { return join(low_.equal(b), high_.equal(b)); }

private:
    static Mask join(std::uint32_t low, std::uint32_t high) { return low | Mask{high} << 32; }
    Bytes32 low_, high_;
};

}  // namespace

namespace {

// The UTF-8 check of a whole text by table lookups (after Keiser and Lemire, "Validating UTF-8
// in less than one instruction per byte"): each byte is looked at with the one, two and three
// before it, 32 at a time; the high and low halves of the byte before and the high half of the
// byte itself each select the errors they allow, and an error is what all three allow.
constexpr unsigned char too_short = 1 << 0;   // 11______ 0_______, 11______ 11______
constexpr unsigned char too_long = 1 << 1;    // 0_______ 10______
constexpr unsigned char overlong_3 = 1 << 2;  // 11100000 100_____
constexpr unsigned char too_large = 1 << 3;   // 11110100 1001____, 11110100 101_____, 11110101+ 10______
constexpr unsigned char surrogate = 1 << 4;   // 11101101 101_____
constexpr unsigned char overlong_2 = 1 << 5;  // 1100000_ 10______
constexpr unsigned char too_large_1000 = 1 << 6;  // 11110101+ 1000____
constexpr unsigned char overlong_4 = 1 << 6;  // 11110000 1000____
constexpr unsigned char two_conts = 1 << 7;   // 10______ 10______
constexpr unsigned char carry = too_short | too_long | two_conts;

__m256i table(const unsigned char (&t)[16])
{
    const __m128i half = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t));
    return _mm256_broadcastsi128_si256(half);
}

constexpr unsigned char byte_1_high[16] = {
    too_long, too_long, too_long, too_long, too_long, too_long, too_long, too_long,
    two_conts, two_conts, two_conts, two_conts,
    too_short | overlong_2, too_short, too_short | overlong_3 | surrogate,
    too_short | too_large | too_large_1000 | overlong_4};
constexpr unsigned char byte_1_low[16] = {
    carry | overlong_3 | overlong_2 | overlong_4, carry | overlong_2, carry, carry,
    carry | too_large, carry | too_large | too_large_1000, carry | too_large | too_large_1000,
    carry | too_large | too_large_1000, carry | too_large | too_large_1000,
    carry | too_large | too_large_1000, carry | too_large | too_large_1000,
    carry | too_large | too_large_1000, carry | too_large | too_large_1000,
    carry | too_large | too_large_1000 | surrogate, carry | too_large | too_large_1000,
    carry | too_large | too_large_1000};
constexpr unsigned char byte_2_high[16] = {
    too_short, too_short, too_short, too_short, too_short, too_short, too_short, too_short,
    too_long | overlong_2 | two_conts | overlong_3 | too_large_1000 | overlong_4,
    too_long | overlong_2 | two_conts | overlong_3 | too_large,
    too_long | overlong_2 | two_conts | surrogate | too_large,
    too_long | overlong_2 | two_conts | surrogate | too_large,
    too_short, too_short, too_short, too_short};

class Utf8_check {
public:
    Utf8_check()
        : high_1_(table(byte_1_high)), low_1_(table(byte_1_low)), high_2_(table(byte_2_high)),
          nibble_(_mm256_set1_epi8(0x0F)), error_(_mm256_setzero_si256()),
          previous_(_mm256_setzero_si256()), incomplete_(_mm256_setzero_si256())
    {
    }
    void add(__m256i input)
    {
        if (_mm256_movemask_epi8(input) == 0) {
            // ASCII: only a character the block before left unfinished is wrong.
            error_ = _mm256_or_si256(error_, incomplete_);
        } else {
            const __m256i prev_1 = before(input, 1), prev_2 = before(input, 2), prev_3 = before(input, 3);
            const __m256i special = _mm256_and_si256(
                _mm256_and_si256(lookup(high_1_, high_half(prev_1)),
                                 lookup(low_1_, _mm256_and_si256(prev_1, nibble_))),
                lookup(high_2_, high_half(input)));
            // Where the byte two before starts three bytes or more, or the one three before four,
            // this byte must continue; two_conts says where it does after another one.
            const __m256i third = _mm256_subs_epu8(prev_2, _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
            const __m256i fourth = _mm256_subs_epu8(prev_3, _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
            const __m256i must = _mm256_and_si256(_mm256_or_si256(third, fourth),
                                                  _mm256_set1_epi8(static_cast<char>(0x80)));
            error_ = _mm256_or_si256(error_, _mm256_xor_si256(must, special));
        }
        // The last three bytes start characters they do not finish.
        const __m256i last = _mm256_setr_epi8(
            -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
            -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xF0 - 1),
            static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
        incomplete_ = _mm256_subs_epu8(input, last);
        previous_ = input;
    }
    bool valid() const
    {
        const __m256i all = _mm256_or_si256(error_, incomplete_);
        return _mm256_testz_si256(all, all) != 0;
    }

private:
    // The bytes n before each of input's, the first from the block before.
    __m256i before(__m256i input, int n) const
    {
        const __m256i straddle = _mm256_permute2x128_si256(previous_, input, 0x21);
        switch (n) {
        case 1: return _mm256_alignr_epi8(input, straddle, 15);
        case 2: return _mm256_alignr_epi8(input, straddle, 14);
        default: return _mm256_alignr_epi8(input, straddle, 13);
        }
    }
    __m256i high_half(__m256i v) const { return _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble_); }
    static __m256i lookup(__m256i t, __m256i index) { return _mm256_shuffle_epi8(t, index); }

    const __m256i high_1_, low_1_, high_2_, nibble_;
    __m256i error_, previous_, incomplete_;
};

}  // namespace

bool is_valid_utf8_avx2(const char* s, std::size_t n)
{
    Utf8_check check;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        check.add(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
    if (i < n) {
        // The rest after ASCII zeros, which end an unfinished character as an error.
        alignas(32) char rest[32] = {};
        for (std::size_t k = 0; i + k < n; ++k) rest[k] = s[i + k];
        check.add(_mm256_load_si256(reinterpret_cast<const __m256i*>(rest)));
    }
    return check.valid();
}

// Blocks of 64 while they last, then of 32.
void width_run_avx2(const char* s, std::size_t n, std::int64_t room, std::size_t& size,
                    std::int64_t& width, bool& reached)
{
    width_run<Bytes64>(s, n, room, size, width, reached);
    if (reached) return;
    std::size_t more;
    std::int64_t more_width;
    width_run<Bytes32>(s + size, n - size, room - width, more, more_width, reached);
    size += more;
    width += more_width;
}
