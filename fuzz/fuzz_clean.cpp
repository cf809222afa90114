// libFuzzer target: random bytes through the whole pipeline under settings from the same bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fuzz_run run = decode_fuzz_input(data, size);
    std::string first = run_fuzz_input(run);
    // The engine keeps no state between runs: a second run gives the same text.
    if (run_fuzz_input(run) != first) __builtin_trap();
    return 0;
}
