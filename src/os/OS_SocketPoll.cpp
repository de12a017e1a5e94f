#include "os/OS_SocketPoll.h"

#include "os/OS_SocketError.h"
#include "os/OS_WakeUp.h"

#include <poll.h>
#include <time.h>

#include <cerrno>
#include <vector>

namespace os {
namespace {

std::int64_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

short PlatformEvents(std::uint16_t wanted) {
    short events = 0;
    if ((wanted & kPollReadable) != 0) {
        events |= POLLIN;
    }
    if ((wanted & kPollWritable) != 0) {
        events |= POLLOUT;
    }
    return events;
}

std::uint16_t ReturnedEvents(short events) {
    std::uint16_t returned = 0;
    if ((events & POLLIN) != 0) {
        returned |= kPollReadable;
    }
    if ((events & POLLOUT) != 0) {
        returned |= kPollWritable;
    }
    if ((events & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        returned |= kPollError;
    }
    return returned;
}

// An interrupted poll waits again for what is left of its time.
int PollRetrying(pollfd* descriptors, nfds_t count, std::int32_t timeoutMs) {
    const std::int64_t end = MonotonicMilliseconds() + timeoutMs;
    int result = poll(descriptors, count, timeoutMs);
    while (result < 0 && errno == EINTR) {
        std::int32_t left = timeoutMs;
        if (timeoutMs > 0) {
            const std::int64_t remaining = end - MonotonicMilliseconds();
            left = static_cast<std::int32_t>(remaining > 0 ? remaining : 0);
        }
        result = poll(descriptors, count, left);
    }
    return result;
}

}  // namespace

int PollSockets(PollEntry* entries, std::size_t count, WakeUp* wakeUp, std::int32_t timeoutMs, bool* woken) {
    if (woken != nullptr) {
        *woken = false;
    }
    // Reused by each thread's next call: the I/O thread polls every pass.
    thread_local std::vector<pollfd> descriptors;
    descriptors.clear();
    for (std::size_t i = 0; i < count; ++i) {
        entries[i].returned = 0;
        // A negative descriptor is skipped by poll itself.
        descriptors.push_back({entries[i].handle, PlatformEvents(entries[i].wanted), 0});
    }
    const bool watchWakeUp = wakeUp != nullptr && wakeUp->IsValid();
    if (watchWakeUp) {
        descriptors.push_back({wakeUp->GetHandle(), POLLIN, 0});
    }
    const int result = PollRetrying(descriptors.data(), descriptors.size(), timeoutMs < 0 ? -1 : timeoutMs);
    if (result < 0) {
        RecordSocketErrno();
        return -1;
    }
    int ready = 0;
    for (std::size_t i = 0; i < count; ++i) {
        entries[i].returned = ReturnedEvents(descriptors[i].revents);
        ready += entries[i].returned != 0 ? 1 : 0;
    }
    if (watchWakeUp && descriptors.back().revents != 0) {
        const bool signalled = wakeUp->Drain();
        if (woken != nullptr) {
            *woken = signalled;
        }
    }
    return ready;
}

bool WaitForSocket(SocketHandle handle, std::uint16_t wanted, std::int32_t timeoutMs) {
    PollEntry entry{handle, wanted, 0};
    return PollSockets(&entry, 1, nullptr, timeoutMs, nullptr) > 0;
}

}  // namespace os
