#include "core/Core_Clock.h"
#include "pal/PAL_Stopwatch.h"

#include <gtest/gtest.h>

namespace {

double g_now = 0.0;
double FakeClock() { return g_now; }

class StopwatchTest : public testing::Test {
protected:
    void SetUp() override {
        m_previous = Core::GetClockFunction();
        g_now = 1000.0;
        Core::SetClockFunction(&FakeClock);
    }
    void TearDown() override { Core::SetClockFunction(m_previous); }

    Core::ClockFunction m_previous = nullptr;
};

}  // namespace

TEST_F(StopwatchTest, NeverStartedOrResetReadsZero) {
    Stopwatch stopwatch;
    g_now = 5000.0;
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
    stopwatch.Start();
    g_now = 5300.0;
    stopwatch.Reset();
    EXPECT_FALSE(stopwatch.IsRunning());
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
    g_now = 5400.0;
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
}

TEST_F(StopwatchTest, ElapsedFollowsTheClockFromTheFirstStart) {
    Stopwatch stopwatch;
    stopwatch.Start();
    EXPECT_TRUE(stopwatch.IsRunning());
    g_now = 1016.5;
    EXPECT_EQ(stopwatch.GetElapsed(), 16.5);
    stopwatch.Start();  // already running: the start time stays
    g_now = 2000.25;
    EXPECT_EQ(stopwatch.GetElapsed(), 1000.25);
}
