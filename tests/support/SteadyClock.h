#pragma once

#include <chrono>

namespace testsupport {

// Milliseconds on the steady clock, for a test's own deadlines.
inline double SteadyMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace testsupport
