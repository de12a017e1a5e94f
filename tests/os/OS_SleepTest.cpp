#include "os/OS_Sleep.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/time.h>

namespace {
void IgnoreSignal(int) {}
}  // namespace

// A signal arriving during the sleep must not cut it short. The bound holds
// on any machine: a sleep may last longer, never shorter.
TEST(Sleep, LastsAtLeastTheTimeEvenWhenInterrupted) {
    struct Case {
        std::function<void()> sleep;
        std::chrono::microseconds expected;
    };
    const Case cases[] = {{[] { os::Sleep(30); }, std::chrono::milliseconds(30)},
                          {[] { os::SleepMicroseconds(30500); }, std::chrono::microseconds(30500)}};
    struct sigaction action{};
    struct sigaction previous{};
    action.sa_handler = &IgnoreSignal;
    ASSERT_EQ(sigaction(SIGALRM, &action, &previous), 0);
    for (const Case& c : cases) {
        itimerval fire{};
        fire.it_value.tv_usec = 5000;
        ASSERT_EQ(setitimer(ITIMER_REAL, &fire, nullptr), 0);

        const auto start = std::chrono::steady_clock::now();
        c.sleep();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_GE(elapsed, c.expected);
    }
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    os::Sleep(0);  // only yields
    os::SleepMicroseconds(0);
}
