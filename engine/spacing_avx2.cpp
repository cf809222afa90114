// next_gap_to_check's search of spacing.cpp 32 bytes at a time, for processors with AVX2 (see
// avx2.h; like unicode_avx2.cpp, it includes no inline function another file could share).
#include <immintrin.h>

#include "engine/avx2.h"
#include "engine/byte_splats.h"

std::size_t gap_blocks_avx2(const char* s, std::size_t from, std::size_t end, bool sentences,
                            bool& found)
{
    // The constants from memory: this runs once for each gap it finds, too short a time to
    // build them first.
    auto splat = [](char c) {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(byte_splats.of[static_cast<unsigned char>(c)]));
    };
    const __m256i space = splat(' '), tab = splat('\t');
    auto is = [&](__m256i v, char c) { return _mm256_cmpeq_epi8(v, splat(c)); };
    for (; from + 33 <= end; from += 32) {
        const auto at = [&](std::size_t k) {
            return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + from + k - 1));
        };
        const __m256i v = at(1), next = at(2);
        const __m256i spaces = _mm256_cmpeq_epi8(v, space);
        const __m256i blank_next = _mm256_or_si256(_mm256_cmpeq_epi8(next, space), _mm256_cmpeq_epi8(next, tab));
        __m256i hit = _mm256_or_si256(_mm256_cmpeq_epi8(v, tab), _mm256_and_si256(spaces, blank_next));
        if (sentences) {
            const __m256i p = at(0);
            const __m256i ender = _mm256_or_si256(
                _mm256_or_si256(_mm256_or_si256(is(p, '.'), is(p, '?')), _mm256_or_si256(is(p, '!'), is(p, '"'))),
                _mm256_or_si256(is(p, '\''), is(p, ')')));
            hit = _mm256_or_si256(hit, _mm256_and_si256(spaces, ender));
        }
        if (const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hit))) {
            found = true;
            return from + static_cast<std::size_t>(__builtin_ctz(mask));
        }
    }
    found = false;
    return from;
}
