#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "os/OS_Backend.h"
#include "os/OS_ClockTestHooks.h"

#include <gtest/gtest.h>

namespace {

class CoreStartupTest : public testing::Test {
protected:
    void SetUp() override { m_clock = Core::GetClockFunction(); }
    void TearDown() override {
        Core::SetClockFunction(m_clock);
        os::headless::SetPerformanceCounterAvailable(true);
    }

    Core::ClockFunction m_clock = nullptr;
};

}  // namespace

// The memory mutex, once made, outlives every shut-down.
TEST_F(CoreStartupTest, OnlyTheFirstStartupAndTheLastShutdownAct) {
    std::uint8_t guard = 7;
    CoreStartup(guard);
    EXPECT_EQ(guard, 1);
    EXPECT_TRUE(Core::HasMemoryMutex());
    std::uint8_t second = 7;
    CoreStartup(second);
    EXPECT_EQ(second, 7);
    CoreShutdown(second);
    EXPECT_EQ(Core::GetStartupCount(), 1u);
    CoreShutdown(guard);
    CoreShutdown(guard);  // without a start-up: ignored
    EXPECT_EQ(Core::GetStartupCount(), 0u);
    EXPECT_TRUE(Core::HasMemoryMutex());
    EXPECT_EQ(os::OutstandingTimerPeriods(), 0);
}

TEST_F(CoreStartupTest, WithoutAPerformanceCounterTheMillisecondTimerServes) {
    os::headless::SetPerformanceCounterAvailable(false);
    // A tick past 2^31 ms must still read as a positive time.
    os::headless::SetClockNanoseconds(static_cast<std::int64_t>(3000000000u) * 1000000);
    std::uint8_t guard = 1;
    CoreStartup(guard);
    EXPECT_EQ(guard, 0);
    EXPECT_EQ(os::OutstandingTimerPeriods(), 1);
    EXPECT_DOUBLE_EQ(Core::GetMilliseconds(), 3000000000.0);
    CoreShutdown(guard);
    EXPECT_EQ(os::OutstandingTimerPeriods(), 0);
}

TEST_F(CoreStartupTest, ClockWorksBeforeStartupAndFollowsTheCounter) {
    os::headless::SetClockNanoseconds(5000000);
    EXPECT_DOUBLE_EQ(Core::GetMilliseconds(), 5.0);
    os::headless::AdvanceClockMilliseconds(2.5);
    EXPECT_DOUBLE_EQ(Core::GetMilliseconds(), 7.5);

    os::SelectBackend(os::Backend::Real);
    const double start = Core::PerformanceCounterMilliseconds();
    double previous = start;
    while (previous - start < 2.0) {
        const double now = Core::PerformanceCounterMilliseconds();
        ASSERT_GE(now, previous);
        previous = now;
    }
    os::SelectBackend(os::Backend::Headless);
}
