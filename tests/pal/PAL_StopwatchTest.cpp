#include "core/Core_Clock.h"
#include "pal/PAL_Stopwatch.h"

#include <gtest/gtest.h>

namespace {

double g_now = 0.0;
double FakeClock() { return g_now; }

}  // namespace

TEST(Stopwatch, ReadsZeroUntilStartedAndAfterResetAndTheClockOtherwise) {
    const Core::ClockFunction previous = Core::GetClockFunction();
    Core::SetClockFunction(&FakeClock);
    g_now = 1000.0;
    Stopwatch stopwatch;
    g_now = 5000.0;
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
    stopwatch.Start();
    EXPECT_TRUE(stopwatch.IsRunning());
    g_now = 5016.5;
    EXPECT_EQ(stopwatch.GetElapsed(), 16.5);
    stopwatch.Start();  // already running: the start time stays
    g_now = 6000.25;
    EXPECT_EQ(stopwatch.GetElapsed(), 1000.25);
    stopwatch.Reset();
    EXPECT_FALSE(stopwatch.IsRunning());
    g_now = 7000.0;
    EXPECT_EQ(stopwatch.GetElapsed(), 0.0);
    Core::SetClockFunction(previous);
}
