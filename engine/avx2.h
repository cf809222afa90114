// The walks built for processors with AVX2 (the *_avx2.cpp files, compiled with -mavx2 for
// native x86-64 only), called after avx2_present() says this processor has it.
#pragma once

#ifdef SORVANE_AVX2
#include <cstddef>
#include <cstdint>

bool avx2_present();

// unicode_avx2.cpp
bool is_valid_utf8_avx2(const char* s, std::size_t n);
void width_run_avx2(const char* s, std::size_t n, std::int64_t room, std::size_t& size,
                    std::int64_t& width, bool& reached);

// spacing_avx2.cpp: next_gap_to_check's search 32 bytes at a time, from from (at least 1) while
// 33 bytes are left before end: the position it finds (found), else where it stopped.
std::size_t gap_blocks_avx2(const char* s, std::size_t from, std::size_t end, bool sentences,
                            bool& found);
#endif
