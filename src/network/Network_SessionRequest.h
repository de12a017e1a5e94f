#pragma once

#include "network/Network_Address.h"

#include <atomic>
#include <cstdint>

namespace Network {

class Tun_Socket;

// Work a caller leaves for the session's I/O thread: a close, a connect or a
// queued send. A close names its record, so that a socket reopened under the
// same id is never taken for the one being closed.
struct SessionRequest {
    std::int32_t id = -1;
    // Close: the record to close.
    Tun_Socket* record = nullptr;
    // Connect: the destination; send: the destination; close of an accepted
    // connection: its peer.
    Tun_Address address;
    // Send: the whole message, owned by the request until it is sent.
    std::uint8_t* message = nullptr;
    std::uint32_t length = 0;
    // Close with wait: set under the session's exit mutex once the record is gone.
    std::atomic<bool>* completion = nullptr;
};

}  // namespace Network
