#pragma once

#include <cstdint>

namespace os {

// Suspends the calling thread for at least the given milliseconds, also when
// a signal interrupts the wait. 0 gives up the rest of the time slice.
void Sleep(std::uint32_t milliseconds);

}  // namespace os
