#include "os/OS_Backend.h"
#include "os/OS_Clock.h"
#include "os/OS_Random.h"

#include <gtest/gtest.h>

TEST(Clock, HeadlessClockMovesOnlyWhenTold) {
    os::headless::SetClockNanoseconds(1000000);
    std::int64_t counter = 0;
    std::int64_t frequency = 0;
    ASSERT_TRUE(os::QueryPerformanceCounter(&counter));
    ASSERT_TRUE(os::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(counter, 1000000);
    EXPECT_EQ(frequency, 1000000000);
    EXPECT_EQ(os::TimeGetTime(), 1u);
    os::headless::AdvanceClockMilliseconds(41.0);
    EXPECT_EQ(os::TimeGetTime(), 42u);
    EXPECT_FALSE(os::QueryPerformanceCounter(nullptr));
}

TEST(Clock, MillisecondTickWrapsAt32Bits) {
    os::headless::SetClockNanoseconds((static_cast<std::int64_t>(1) << 32) * 1000000 + 7000000);
    EXPECT_EQ(os::TimeGetTime(), 7u);
}

TEST(Clock, RealCounterAlwaysSucceeds) {
    os::SelectBackend(os::Backend::Real);
    std::int64_t first = 0;
    std::int64_t second = 0;
    EXPECT_TRUE(os::QueryPerformanceCounter(&first));
    EXPECT_TRUE(os::QueryPerformanceCounter(&second));
    EXPECT_GE(second, first);
    os::SelectBackend(os::Backend::Headless);
}

TEST(CRuntimeRandom, MatchesTheClassicGenerator) {
    os::SeedRand(1);
    EXPECT_EQ(os::Rand(), 41);
    EXPECT_EQ(os::Rand(), 18467);
    os::SeedRand(12345);
    int maximum = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = os::Rand();
        ASSERT_GE(value, 0);
        maximum = std::max(maximum, value);
    }
    EXPECT_EQ(maximum, os::kRandMax);
}
