#pragma once

#include "core/Core_Clock.h"

#include <chrono>
#include <functional>

// Real time for tests whose threads wait on the Core clock (sleeps, I/O
// passes, dispatch budgets): the headless clock stands still.
namespace testsupport {

// Milliseconds of the steady clock.
double SteadyMilliseconds();

// Puts the Core clock on real time while alive. Install it before anything
// starts a thread that waits on the clock and let it go after that thread
// has ended.
class MovingClock {
public:
    MovingClock();
    ~MovingClock();
    MovingClock(const MovingClock&) = delete;
    MovingClock& operator=(const MovingClock&) = delete;

private:
    const Core::ClockFunction m_previous;
};

// Polls every millisecond until the condition holds or the time is up; the
// condition's last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

}  // namespace testsupport
