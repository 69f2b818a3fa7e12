#include "common/core/random_lcg.h"

uint32_t glRandState = 0;

void RandSeed(uint32_t seed)
{
    glRandState = seed;
}

int RandDraw()
{
    glRandState = glRandState * 1103515245u + 12345u;
    return static_cast<int>((glRandState / 65536u) % 32768u);
}

float RandUniform()
{
    const int d1 = RandDraw();
    const int d2 = RandDraw();
    return static_cast<float>((d1 * d2) % 100000) / 100000.0f;
}
