#include "os/OS_Sleep.h"

#include <cerrno>
#include <ctime>
#include <sched.h>

namespace os {

void Sleep(std::uint32_t milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    SleepMicroseconds(static_cast<std::uint64_t>(milliseconds) * 1000u);
}

void SleepMicroseconds(std::uint64_t microseconds) {
    if (microseconds == 0) {
        return;
    }
    timespec remaining{};
    remaining.tv_sec = static_cast<time_t>(microseconds / 1000000u);
    remaining.tv_nsec = static_cast<long>(microseconds % 1000000u) * 1000L;
    // An interrupted sleep continues with the time it had left.
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace os
