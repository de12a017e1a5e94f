#pragma once

#include "os/OS_Socket.h"

#include <cstddef>
#include <cstdint>

// Waiting on several sockets at once, and on a wake-up descriptor.
namespace os {

class WakeUp;

enum PollEvent : std::uint16_t {
    kPollReadable = 1,
    kPollWritable = 2,
    // Reported whatever was asked: an error or hang-up on the socket (a
    // failed connect shows this with kPollWritable).
    kPollError = 4,
};

struct PollEntry {
    SocketHandle handle = kInvalidSocket;
    std::uint16_t wanted = 0;    // PollEvent bits
    std::uint16_t returned = 0;  // filled by PollSockets
};

constexpr std::int32_t kPollNoTimeLimit = -1;

// Waits until an entry is ready, the wake-up (may be null) is signalled, or
// timeoutMs passes (kPollNoTimeLimit: no limit; 0: just looks). A signal is
// taken back and reported through *woken (may be null). Returns the number of
// ready entries, 0 on time-out or wake-up alone, -1 on failure. Any number of
// entries; an entry with an invalid handle is left out.
int PollSockets(PollEntry* entries, std::size_t count, WakeUp* wakeUp, std::int32_t timeoutMs, bool* woken);

// One socket: true when it showed one of the wanted events (or an error)
// within timeoutMs.
bool WaitForSocket(SocketHandle handle, std::uint16_t wanted, std::int32_t timeoutMs);

}  // namespace os
