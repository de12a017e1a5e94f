#pragma once

#include "network/Network_Session.h"

#include <cstdint>

namespace Network {

// What tests may see of a session beyond its interface.
struct SessionTestAccess {
    // Passes the I/O thread has begun: an idle session makes next to none.
    static std::uint64_t GetIoPassCount(const Tun_Session& session) {
        return session.m_ioPasses.load(std::memory_order_relaxed);
    }
};

}  // namespace Network
