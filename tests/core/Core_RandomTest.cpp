#include "core/Core_Random.h"
#include "os/OS_Random.h"

#include <gtest/gtest.h>

#include <climits>

// After seeding with 1 the draws are 41, 18467, 6334, 26500; each helper
// takes exactly one of them, and a rounded fraction of 0.5 goes down.
TEST(Random, EachHelperTakesExactlyOneDrawOfTheClassicSequence) {
    const auto t = [](int draw) { return static_cast<float>(draw / 32767.0); };
    SeedRandom(1);
    EXPECT_FLOAT_EQ(RandomFloatRange(10.0f, 0.0f), 10.0f - 10.0f * t(41));
    const Vector2D point = RandomPointBetween({0.0f, 10.0f}, {100.0f, 20.0f});
    EXPECT_TRUE(point.x == 100.0f * t(18467) && point.y == 10.0f + 10.0f * t(18467));
    const Color color = RandomColorBetween({0.0f, 1.0f, 0.0f, 0.5f}, {1.0f, 0.0f, 1.0f, 0.5f});
    EXPECT_TRUE(color.r == t(6334) && color.g == 1.0f - t(6334) && color.a == 0.5f);
    EXPECT_EQ(os::Rand(), 26500);
    // The state read back and set again goes on from there.
    const std::uint32_t state = os::GetRandState();
    const int next = os::Rand();
    os::SeedRand(state);
    EXPECT_EQ(os::Rand(), next);

    SeedRandom(1);
    const int rounded[] = {RandomRoundedInt(0), RandomRoundedInt(1), RandomRoundedInt(-1), RandomRoundedInt(-1)};
    EXPECT_TRUE(rounded[0] == 0 && rounded[1] == 1 && rounded[2] == 0 && rounded[3] == -1);
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
