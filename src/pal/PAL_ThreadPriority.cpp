#include "pal/PAL_ThreadPriority.h"

#include <sched.h>

namespace {

// from + (to - from) / 2, truncating towards zero; computed wide so that the
// difference cannot overflow. The result lies between the two.
int Halfway(int from, int to) { return static_cast<int>(from + (static_cast<long long>(to) - from) / 2); }

}  // namespace

ThreadPriorityLevels ComputeThreadPriorityLevels(int minimum, int maximum) {
    ThreadPriorityLevels levels{};
    levels.lowest = minimum;
    levels.highest = maximum;
    levels.normal = static_cast<int>((static_cast<long long>(minimum) + maximum) / 2);
    levels.low = Halfway(minimum, levels.normal);
    levels.high = Halfway(levels.normal, maximum);
    return levels;
}

const ThreadPriorityLevels& GetThreadPriorityLevels() {
    static const ThreadPriorityLevels levels =
        ComputeThreadPriorityLevels(sched_get_priority_min(SCHED_OTHER), sched_get_priority_max(SCHED_OTHER));
    return levels;
}

int ThreadPriorityLowest() { return GetThreadPriorityLevels().lowest; }
int ThreadPriorityLow() { return GetThreadPriorityLevels().low; }
int ThreadPriorityNormal() { return GetThreadPriorityLevels().normal; }
int ThreadPriorityHigh() { return GetThreadPriorityLevels().high; }
int ThreadPriorityHighest() { return GetThreadPriorityLevels().highest; }
