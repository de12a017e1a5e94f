#include "core/Core_MersenneTwister.h"

#include <gtest/gtest.h>

// Reseeded after use, so that a stale position would show too.
TEST(MersenneTwister, SeedingGivesTheReferenceSequence) {
    Core::MersenneTwister generator(0xDEADBEEFu);
    generator.Next();
    generator.Seed(5489u);
    EXPECT_EQ(generator.Next(), 3499211612u);
    std::uint32_t value = 0;
    for (int i = 2; i <= 10000; ++i) {
        value = generator.Next();
    }
    EXPECT_EQ(value, 4123659995u);
}

TEST(MersenneTwister, AStateTakenMidSequenceGoesOnTheSameWayAndABadIndexIsRefused) {
    Core::MersenneTwister generator(7u);
    for (int i = 0; i < 700; ++i) {
        generator.Next();
    }
    const Core::MersenneTwister::State state = generator.GetState();
    const std::uint32_t next = generator.Next();
    Core::MersenneTwister other(1u);
    EXPECT_TRUE(other.SetState(state));
    EXPECT_EQ(other.Next(), next);

    Core::MersenneTwister::State bad = state;
    bad.index = Core::MersenneTwister::kStateSize + 1;
    EXPECT_FALSE(other.SetState(bad));
    EXPECT_EQ(other.Next(), generator.Next());
}
