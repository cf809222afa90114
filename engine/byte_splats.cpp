#include "engine/byte_splats.h"

namespace {

constexpr Byte_splats make_splats()
{
    Byte_splats splats{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 32; ++k) splats.of[b][k] = static_cast<unsigned char>(b);
    return splats;
}

}  // namespace

const Byte_splats byte_splats = make_splats();
