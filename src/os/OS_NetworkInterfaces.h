#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The machine's IPv4 interfaces and its host name, as the system lists them.
namespace os {

// IPv4 addresses here are numbers, most significant byte first:
// 192.168.1.20 is 0xC0A80114.
struct NetworkInterface {
    std::string name;
    std::uint32_t address = 0;
    // Set only when the interface has a broadcast address.
    std::optional<std::uint32_t> broadcast;
    bool up = false;
    bool loopback = false;
};

// Every IPv4 interface in the system's order; empty when they cannot be listed.
std::vector<NetworkInterface> ListIPv4Interfaces();

// The first IPv4 address the machine's own host name resolves to; nothing when
// the name is unknown or does not resolve.
std::optional<std::uint32_t> ResolveHostNameAddress();

}  // namespace os
