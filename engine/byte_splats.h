// Each byte value 32 times over, for the AVX2 walks to compare with: read from memory as they
// stand, where the compiler would otherwise build each constant in a register again for every
// block (three instructions each, twenty constants). Defined in a file of its own, so that the
// compiler cannot see their values and build them after all.
#pragma once

struct Byte_splats {
    alignas(32) unsigned char of[256][32];
};
extern const Byte_splats byte_splats;
