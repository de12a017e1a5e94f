#pragma once

#include <cstdint>

// Time sources: a high-resolution counter (counts per second given by the
// frequency) and a 32-bit millisecond tick that wraps after about 49 days.
namespace os {

// Counter ticks are nanoseconds of the monotonic clock; the real backend
// never fails. Returns false (and leaves *count alone) when unavailable.
bool QueryPerformanceCounter(std::int64_t* count);
bool QueryPerformanceFrequency(std::int64_t* frequency);

// Milliseconds of the monotonic clock, truncated to 32 bits.
std::uint32_t TimeGetTime();

// Timer-resolution requests: Linux timers are already fine-grained, so these
// only keep count of outstanding requests.
void TimeBeginPeriod(std::uint32_t milliseconds);
void TimeEndPeriod(std::uint32_t milliseconds);

}  // namespace os
