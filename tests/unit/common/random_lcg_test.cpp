#include "common/core/random_lcg.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomLcg, DrawsFollowTheGeneratorFromStateZero)
{
    RandSeed(0);
    // state 12345 -> 0; state 12345*1103515245+12345 mod 2^32 = 3554416254 -> 21468
    EXPECT_EQ(RandDraw(), 0);
    EXPECT_EQ(RandDraw(), 21468);
    EXPECT_EQ(glRandState, 3554416254u);
}

TEST(RandomLcg, UniformUsesTwoDrawsAndStaysBelowOne)
{
    RandSeed(12345);
    uint32_t s = 12345;
    auto draw = [&s] {
        s = s * 1103515245u + 12345u;
        return static_cast<int>((s / 65536u) % 32768u);
    };
    const int d1 = draw();
    const int d2 = draw();
    EXPECT_FLOAT_EQ(RandUniform(), static_cast<float>((d1 * d2) % 100000) / 100000.0f);
    for (int i = 0; i < 10000; ++i) {
        const float r = RandUniform();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

}  // namespace
