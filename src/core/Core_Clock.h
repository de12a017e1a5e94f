#pragma once

namespace Core {

using ClockFunction = double (*)();

// Current time in milliseconds from the selected clock. Usable at any time:
// the clock starts as the performance counter and Core start-up confirms or
// replaces that choice.
double GetMilliseconds();

// The two time sources: the high-resolution counter, and the 32-bit
// millisecond tick (read as unsigned, so values from 2^31 on stay positive).
double PerformanceCounterMilliseconds();
double MultimediaTimerMilliseconds();

// Start-up selects the clock; tests install a fake one. Null is ignored.
void SetClockFunction(ClockFunction clock);
ClockFunction GetClockFunction();

}  // namespace Core
