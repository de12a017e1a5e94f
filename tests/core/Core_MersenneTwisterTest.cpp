#include "core/Core_MersenneTwister.h"

#include <gtest/gtest.h>

// Reseeded after use, so that a stale position would show too.
TEST(MersenneTwister, SeedingFollowsTheRecurrenceAndGivesTheReferenceSequence) {
    Core::MersenneTwister generator(0xDEADBEEFu);
    EXPECT_EQ(generator.GetStateWord(1), 1812433253u * (0xDEADBEEFu ^ (0xDEADBEEFu >> 30)) + 1u);
    generator.Next();
    generator.Seed(5489u);
    EXPECT_EQ(generator.Next(), 3499211612u);
    std::uint32_t value = 0;
    for (int i = 2; i <= 10000; ++i) {
        value = generator.Next();
    }
    EXPECT_EQ(value, 4123659995u);
}
