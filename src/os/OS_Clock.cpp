#include "os/OS_Clock.h"

#include "os/OS_Backend.h"
#include "os/OS_ClockTestHooks.h"

#include <atomic>
#include <ctime>

namespace os {
namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

std::atomic<std::int64_t> g_headlessNanoseconds{0};
std::atomic<bool> g_headlessCounterAvailable{true};
std::atomic<int> g_timerPeriods{0};

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

std::int64_t Nanoseconds() {
    return IsHeadless() ? g_headlessNanoseconds.load(std::memory_order_relaxed) : MonotonicNanoseconds();
}

// Tests may take the counter away from the headless backend.
bool CounterAvailable() { return !IsHeadless() || g_headlessCounterAvailable.load(std::memory_order_relaxed); }

}  // namespace

bool QueryPerformanceCounter(std::int64_t* count) {
    if (count == nullptr || !CounterAvailable()) {
        return false;
    }
    *count = Nanoseconds();
    return true;
}

bool QueryPerformanceFrequency(std::int64_t* frequency) {
    if (frequency == nullptr || !CounterAvailable()) {
        return false;
    }
    *frequency = kNanosecondsPerSecond;
    return true;
}

std::uint32_t TimeGetTime() {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(Nanoseconds() / 1000000));
}

void TimeBeginPeriod(std::uint32_t) { g_timerPeriods.fetch_add(1, std::memory_order_relaxed); }

void TimeEndPeriod(std::uint32_t) { g_timerPeriods.fetch_sub(1, std::memory_order_relaxed); }

int OutstandingTimerPeriods() { return g_timerPeriods.load(std::memory_order_relaxed); }

namespace headless {

void SetClockNanoseconds(std::int64_t nanoseconds) {
    g_headlessNanoseconds.store(nanoseconds, std::memory_order_relaxed);
}

void AdvanceClockMilliseconds(double milliseconds) {
    g_headlessNanoseconds.fetch_add(static_cast<std::int64_t>(milliseconds * 1000000.0),
                                    std::memory_order_relaxed);
}

void SetPerformanceCounterAvailable(bool available) {
    g_headlessCounterAvailable.store(available, std::memory_order_relaxed);
}

}  // namespace headless
}  // namespace os
