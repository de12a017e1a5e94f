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
