#pragma once

#include "core/Core_String.h"

#include <cstdint>

namespace Network {

// The IPv4 address a host is reached by on its LAN: the address it announces
// and binds its game to.
struct LocalHost {
    // Host order: 192.168.1.20 is 0xC0A80114.
    std::uint32_t address = 0;
    // Dotted form, "192.168.1.20".
    Core::String text;
};

// The first up, non-loopback IPv4 interface that has a broadcast address;
// without one, the address the host name resolves to; without that,
// 127.0.0.1. The name lookup alone gives a loopback address on many machines
// (127.0.1.1), which no LAN peer could reach.
LocalHost ResolveLocalHost();

}  // namespace Network
