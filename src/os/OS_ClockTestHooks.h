#pragma once

#include <cstdint>

// Test hooks of the clock, kept apart from what the engine includes.
namespace os {

// Timer-resolution requests not yet ended.
int OutstandingTimerPeriods();

namespace headless {
// The headless clock stands still until a test moves it.
void SetClockNanoseconds(std::int64_t nanoseconds);
void AdvanceClockMilliseconds(double milliseconds);
void SetPerformanceCounterAvailable(bool available);
}  // namespace headless

}  // namespace os
