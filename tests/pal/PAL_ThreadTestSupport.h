#pragma once

#include "core/Core_Clock.h"
#include "os/OS_Sleep.h"

#include <gtest/gtest.h>

#include <chrono>

namespace threadtest {

// Polls condition in 1 ms steps for up to 10 s; true once it holds.
template <class Condition>
bool WaitFor(Condition condition) {
    for (int step = 0; step < 10000; ++step) {
        if (condition()) {
            return true;
        }
        os::Sleep(1);
    }
    return condition();
}

inline double SteadyMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The headless clock stands still, and sleeps bounded by the Core clock
// need a moving one.
class MovingClockTest : public testing::Test {
protected:
    void SetUp() override {
        m_clock = Core::GetClockFunction();
        Core::SetClockFunction(&SteadyMilliseconds);
    }
    void TearDown() override { Core::SetClockFunction(m_clock); }

private:
    Core::ClockFunction m_clock = nullptr;
};

}  // namespace threadtest
