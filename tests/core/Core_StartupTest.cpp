#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "os/OS_Backend.h"
#include "os/OS_ClockTestHooks.h"

#include <gtest/gtest.h>

// Only the first start-up and the last shut-down act; the memory mutex, once
// made, outlives every shut-down. Without a performance counter the
// millisecond timer serves, and a tick past 2^31 ms still reads positive.
TEST(CoreStartup, CountedStartupChoosesTheClockAndKeepsTheMutex) {
    const Core::ClockFunction previous = Core::GetClockFunction();
    for (const bool counter : {true, false}) {
        os::headless::SetPerformanceCounterAvailable(counter);
        os::headless::SetClockNanoseconds(static_cast<std::int64_t>(3000000000u) * 1000000);
        std::uint8_t guard = 7;
        std::uint8_t second = 7;
        CoreStartup(guard);
        CoreStartup(second);
        EXPECT_EQ(guard, counter ? 1 : 0);
        EXPECT_EQ(second, 7);
        EXPECT_TRUE(Core::HasMemoryMutex());
        EXPECT_EQ(os::OutstandingTimerPeriods(), counter ? 0 : 1);
        EXPECT_DOUBLE_EQ(Core::GetMilliseconds(), 3000000000.0);
        os::headless::AdvanceClockMilliseconds(2.5);
        EXPECT_DOUBLE_EQ(Core::GetMilliseconds(), counter ? 3000000002.5 : 3000000002.0);
        CoreShutdown(second);
        EXPECT_EQ(Core::GetStartupCount(), 1u);
        CoreShutdown(guard);
        CoreShutdown(guard);  // without a start-up: ignored
        EXPECT_EQ(Core::GetStartupCount(), 0u);
        EXPECT_TRUE(Core::HasMemoryMutex());
        EXPECT_EQ(os::OutstandingTimerPeriods(), 0);
    }
    os::headless::SetPerformanceCounterAvailable(true);
    Core::SetClockFunction(previous);

    // The real counter never goes back.
    os::SelectBackend(os::Backend::Real);
    const double start = Core::PerformanceCounterMilliseconds();
    for (double previous = start, now = start; now - start < 2.0; previous = now) {
        now = Core::PerformanceCounterMilliseconds();
        EXPECT_GE(now, previous);
    }
    os::SelectBackend(os::Backend::Headless);
}
