// The block walks of utf8_blocks.h 32 bytes at a time, for processors with AVX2. This file
// alone is compiled for them, and unicode.cpp calls it only after asking the processor; so it
// includes nothing whose code another file could share (no inline function of a header with
// external linkage), lest the linker keep this file's copy for everyone.
#include <immintrin.h>

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
        return static_cast<Mask>(_mm256_movemask_epi8(
                   _mm256_cmpgt_epi8(v_, _mm256_set1_epi8(static_cast<char>(b - 1))))) & high();
    }
    Mask equal(unsigned char b) const
    {
        return static_cast<Mask>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(v_, _mm256_set1_epi8(static_cast<char>(b)))));
    }

private:
    __m256i v_;
};

}  // namespace

std::size_t valid_run_avx2(const char* s, std::size_t n) { return valid_run<Bytes32>(s, n); }

void width_run_avx2(const char* s, std::size_t n, std::int64_t room, std::size_t& size,
                    std::int64_t& width, bool& reached)
{
    width_run<Bytes32>(s, n, room, size, width, reached);
}
