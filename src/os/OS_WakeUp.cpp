#include "os/OS_WakeUp.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace os {

WakeUp::WakeUp() : m_handle(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeUp::~WakeUp() {
    if (m_handle >= 0) {
        close(m_handle);
    }
}

void WakeUp::Signal() {
    if (m_handle < 0) {
        return;
    }
    const std::uint64_t one = 1;
    // A full counter (EAGAIN) already wakes the next wait.
    while (write(m_handle, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool WakeUp::Drain() {
    if (m_handle < 0) {
        return false;
    }
    std::uint64_t count = 0;
    ssize_t result;
    while ((result = read(m_handle, &count, sizeof count)) < 0 && errno == EINTR) {
    }
    return result == static_cast<ssize_t>(sizeof count) && count > 0;
}

}  // namespace os
