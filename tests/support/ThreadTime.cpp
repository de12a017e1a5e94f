#include "support/ThreadTime.h"

#include <cstdio>
#include <ctime>

namespace testsupport {

double ThreadProcessorMilliseconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1000.0 + static_cast<double>(used.tv_nsec) / 1e6;
}

double ThreadDemandMilliseconds() {
    unsigned long long running = 0, waiting = 0;
    if (FILE* stats = std::fopen("/proc/thread-self/schedstat", "r")) {
        const bool read = std::fscanf(stats, "%llu %llu", &running, &waiting) == 2;
        std::fclose(stats);
        if (read) {
            return static_cast<double>(running + waiting) / 1e6;
        }
    }
    return ThreadProcessorMilliseconds();
}

}  // namespace testsupport
