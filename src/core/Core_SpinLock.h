#pragma once

#include <atomic>
#include <sched.h>

namespace Core {

// A lock for critical sections of a few instructions (a free-list push or
// pop), where a kernel mutex would cost more than the work it guards. After a
// short spin it yields, so a preempted holder is not starved on few cores.
class SpinLock {
public:
    void lock() noexcept {
        for (int spins = 0; m_locked.exchange(true, std::memory_order_acquire); ++spins) {
            while (m_locked.load(std::memory_order_relaxed)) {
                if (spins < 64) {
                    CpuRelax();
                    ++spins;
                } else {
                    sched_yield();
                }
            }
        }
    }

    void unlock() noexcept { m_locked.store(false, std::memory_order_release); }

private:
    static void CpuRelax() noexcept {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }

    std::atomic<bool> m_locked{false};
};

}  // namespace Core
