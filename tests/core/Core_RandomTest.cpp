#include "core/Core_Random.h"
#include "os/OS_Random.h"

#include <gtest/gtest.h>

#include <climits>

// After seeding with 1 the draws are 41, 18467, 6334, 26500; each helper
// takes exactly one of them.
TEST(Random, EachHelperTakesExactlyOneDrawOfTheClassicSequence) {
    const float t = static_cast<float>(41 / 32767.0);
    SeedRandom(1);
    EXPECT_FLOAT_EQ(RandomFloatRange(10.0f, 0.0f), 10.0f - 10.0f * t);
    const Vector2D point = RandomPointBetween({0.0f, 10.0f}, {100.0f, 20.0f});
    const Color color = RandomColorBetween({0.0f, 1.0f, 0.0f, 0.5f}, {1.0f, 0.0f, 1.0f, 0.5f});
    EXPECT_EQ(os::Rand(), 26500);
    const float t2 = static_cast<float>(18467 / 32767.0);
    const float t3 = static_cast<float>(6334 / 32767.0);
    EXPECT_FLOAT_EQ(point.x, 100.0f * t2);
    EXPECT_FLOAT_EQ(point.y, 10.0f + 10.0f * t2);
    EXPECT_FLOAT_EQ(color.r, t3);
    EXPECT_FLOAT_EQ(color.g, 1.0f - t3);
    EXPECT_FLOAT_EQ(color.a, 0.5f);

    SeedRandom(1);
    EXPECT_EQ(RandomRoundedInt(0), 0);
    EXPECT_EQ(RandomRoundedInt(1), 1);    // t = 0.5636
    EXPECT_EQ(RandomRoundedInt(-1), 0);   // t = 0.1933
    EXPECT_EQ(RandomRoundedInt(-1), -1);  // t = 0.8088
    SeedRandom(1);
    EXPECT_EQ(RandomRoundedInt(100), 0);   // 0.125 rounds to 0
    EXPECT_EQ(RandomRoundedInt(100), 56);  // 56.36
}

// Extreme bounds would overflow in 32 bits (UBSan watches).
TEST(Random, ResultsStayInRangeWithoutOverflow) {
    SeedRandom(7);
    for (int i = 0; i < 2000; ++i) {
        const int negative = RandomRoundedInt(-3);
        EXPECT_TRUE(negative >= -3 && negative <= 0) << negative;
        const int reversed = RandomIntRange(10, 0);
        EXPECT_TRUE(reversed >= 0 && reversed <= 10) << reversed;
        EXPECT_EQ(RandomIntRange(5, 5), 5);
        const float f = RandomFloatRange(3.0f, -2.0f);
        EXPECT_TRUE(f >= -2.0f && f <= 3.0f) << f;
        EXPECT_LE(RandomRoundedInt(INT_MIN), 0);
        RandomIntRange(INT_MIN, INT_MAX);
        RandomIntRange(INT_MAX, INT_MIN);
    }
}
