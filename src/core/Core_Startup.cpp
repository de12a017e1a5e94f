#include "core/Core_Startup.h"

#include "core/Core_Clock.h"
#include "core/Core_TrackedMemory.h"
#include "os/OS_Clock.h"

namespace {
// Start-up and shut-down run on the main thread while no other thread runs.
std::uint32_t g_startupCount = 0;
}  // namespace

void CoreStartup(std::uint8_t& guard) {
    if (g_startupCount++ != 0) {
        return;
    }
    Core::CreateMemoryMutex();
    std::int64_t counter = 0;
    if (os::QueryPerformanceCounter(&counter)) {
        guard = 1;
        Core::SetClockFunction(&Core::PerformanceCounterMilliseconds);
    } else {
        guard = 0;
        os::TimeBeginPeriod(1);
        Core::SetClockFunction(&Core::MultimediaTimerMilliseconds);
    }
}

void CoreShutdown(std::uint8_t& guard) {
    // A shut-down without a start-up is ignored. The memory mutex stays:
    // threads that outlive the Core may still allocate.
    if (g_startupCount == 0 || --g_startupCount != 0) {
        return;
    }
    if (guard == 0) {
        os::TimeEndPeriod(1);
    }
}

namespace Core {
std::uint32_t GetStartupCount() { return g_startupCount; }
}  // namespace Core
