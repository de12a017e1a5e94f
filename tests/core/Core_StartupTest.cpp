#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"
#include "os/OS_Backend.h"
#include "os/OS_Clock.h"

#include <gtest/gtest.h>

namespace {

// A counting stand-in for the platform's memory mutex.
int g_created = 0;
int g_destroyed = 0;
int g_lockDepth = 0;
int g_token = 0;
const Core::MemoryMutexInterface kFakeMutex{
    []() -> void* {
        ++g_created;
        return &g_token;
    },
    [](void*) { ++g_destroyed; },
    [](void*) { return ++g_lockDepth > 0; },
    [](void*) { return --g_lockDepth >= 0; },
};

class CoreStartupTest : public testing::Test {
protected:
    void SetUp() override {
        g_created = g_destroyed = g_lockDepth = 0;
        m_previous = Core::GetMemoryMutexInterface();
        Core::SetMemoryMutexInterface(&kFakeMutex);
        m_clock = Core::GetClockFunction();
    }
    void TearDown() override {
        Core::SetMemoryMutexInterface(m_previous);
        Core::SetClockFunction(m_clock);
        os::headless::SetPerformanceCounterAvailable(true);
    }

    const Core::MemoryMutexInterface* m_previous = nullptr;
    Core::ClockFunction m_clock = nullptr;
};

}  // namespace

TEST_F(CoreStartupTest, OnlyTheFirstStartupAndTheLastShutdownAct) {
    std::uint8_t guard = 7;
    CoreStartup(guard);
    EXPECT_EQ(guard, 1);
    EXPECT_EQ(g_created, 1);
    EXPECT_TRUE(Core::HasMemoryMutex());
    {
        Core::MemoryLock lock;
        EXPECT_EQ(g_lockDepth, 1);
    }
    EXPECT_EQ(g_lockDepth, 0);

    std::uint8_t second = 7;
    CoreStartup(second);
    EXPECT_EQ(second, 7);
    EXPECT_EQ(g_created, 1);
    CoreShutdown(second);
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_TRUE(Core::HasMemoryMutex());

    CoreShutdown(guard);
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_FALSE(Core::HasMemoryMutex());

    CoreShutdown(guard);  // without a start-up: ignored
    EXPECT_EQ(Core::GetStartupCount(), 0u);
    EXPECT_EQ(g_destroyed, 1);
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
}

TEST(CoreClock, RealClockIsMonotonicAndAdvances) {
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
