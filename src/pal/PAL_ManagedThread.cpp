#include "pal/PAL_ManagedThread.h"

#include "os/OS_Sleep.h"
#include "pal/PAL_Stopwatch.h"

#include <cstdio>

ManagedThread::ManagedThread(Function init, Function run, void* argument, ThreadManager* owner, const char* name)
    : m_init(init), m_run(run), m_argument(argument), m_owner(owner) {
    std::snprintf(m_name, sizeof m_name, "%s", name != nullptr ? name : "unnamed");
}

bool ManagedThread::ShouldRun(ManagedThread* thread) {
    if (thread == nullptr) {
        return false;
    }
    // A stale read only delays the answer by one pass of the caller's loop.
    if (thread->m_stop.load(std::memory_order_relaxed) == 0 &&
        thread->m_owner.load(std::memory_order_relaxed) != nullptr) {
        return true;
    }
    thread->m_result.store(-1, std::memory_order_relaxed);
    return false;
}

ThreadManager* ManagedThread::GetOwner(const ManagedThread* thread) {
    return thread != nullptr ? thread->m_owner.load(std::memory_order_relaxed) : nullptr;
}

bool SleepUnlessStopped(std::uint32_t milliseconds, ManagedThread* thread) {
    if (thread == nullptr || milliseconds == 0) {
        if (thread != nullptr && !ManagedThread::ShouldRun(thread)) {
            return false;
        }
        os::Sleep(milliseconds);
        return true;
    }
    Stopwatch stopwatch;
    stopwatch.Start();
    for (;;) {
        if (!ManagedThread::ShouldRun(thread)) {
            return false;
        }
        os::Sleep(1);
        if (stopwatch.GetElapsed() >= milliseconds) {
            return true;
        }
    }
}
