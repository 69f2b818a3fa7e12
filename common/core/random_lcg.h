// The programs' random numbers: a 32-bit linear congruential generator whose
// state starts at 0 and is seeded from the millisecond tick count.
#pragma once

#include <cstdint>

extern uint32_t glRandState;

void RandSeed(uint32_t seed);
// Next draw, 0 ... 32767.
int RandDraw();
// Uniform in [0, 1): (d1 * d2 mod 100000) / 100000 from two draws.
float RandUniform();
