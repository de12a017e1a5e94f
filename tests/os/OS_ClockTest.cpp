#include "os/OS_Backend.h"
#include "os/OS_Clock.h"
#include "os/OS_ClockTestHooks.h"
#include "os/OS_Random.h"

#include <gtest/gtest.h>

TEST(Clock, HeadlessClockMovesOnlyWhenToldAndTheTickWrapsAt32Bits) {
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
    os::headless::SetClockNanoseconds((static_cast<std::int64_t>(1) << 32) * 1000000 + 7000000);
    EXPECT_EQ(os::TimeGetTime(), 7u);
}

// glibc's rand goes to 2^31 - 1; every random helper divides by 32767.
TEST(CRuntimeRandom, StaysWithinTheClassicMaximum) {
    os::SeedRand(12345);
    int maximum = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = os::Rand();
        ASSERT_GE(value, 0);
        maximum = std::max(maximum, value);
    }
    EXPECT_EQ(maximum, os::kRandMax);
    EXPECT_EQ(os::kRandMax, 32767);
}
