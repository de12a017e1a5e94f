#pragma once

#include <cstdint>

namespace os {

// Suspends the calling thread for at least the given milliseconds, also when
// a signal interrupts the wait. 0 gives up the rest of the time slice.
void Sleep(std::uint32_t milliseconds);

// Suspends the calling thread for at least the given microseconds, also when
// a signal interrupts the wait: for waits that end within a millisecond.
// 0 returns at once.
void SleepMicroseconds(std::uint64_t microseconds);

}  // namespace os
