#include "support/MovingClock.h"

#include "os/OS_Sleep.h"

namespace testsupport {

double SteadyMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

MovingClock::MovingClock() : m_previous(Core::GetClockFunction()) { Core::SetClockFunction(&SteadyMilliseconds); }

MovingClock::~MovingClock() { Core::SetClockFunction(m_previous); }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return condition();
        }
        os::Sleep(1);
    }
    return true;
}

}  // namespace testsupport
