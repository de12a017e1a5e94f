#include "core/Core_Clock.h"

#include "os/OS_Clock.h"

#include <atomic>
#include <cstdint>

namespace Core {
namespace {
std::atomic<ClockFunction> g_clock{&PerformanceCounterMilliseconds};
}

double GetMilliseconds() { return g_clock.load(std::memory_order_relaxed)(); }

double PerformanceCounterMilliseconds() {
    std::int64_t counter = 0;
    std::int64_t frequency = 0;
    if (!os::QueryPerformanceCounter(&counter) || !os::QueryPerformanceFrequency(&frequency) || frequency <= 0) {
        return 0.0;
    }
    return (1000.0 / static_cast<double>(frequency)) * static_cast<double>(counter);
}

double MultimediaTimerMilliseconds() { return static_cast<double>(os::TimeGetTime()); }

void SetClockFunction(ClockFunction clock) {
    if (clock != nullptr) {
        g_clock.store(clock, std::memory_order_relaxed);
    }
}

ClockFunction GetClockFunction() { return g_clock.load(std::memory_order_relaxed); }

}  // namespace Core
