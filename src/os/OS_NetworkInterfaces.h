#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The machine's name and its IPv4 interfaces, for finding the address a LAN
// game is reachable at.
namespace os {

struct NetworkInterface {
    std::string name;
    std::uint32_t ipv4 = 0;       // host order
    std::uint32_t broadcast = 0;  // host order; 0 when it has none
    bool up = false;
    bool loopback = false;
    bool hasBroadcast = false;
};

// Every IPv4 address of every interface, in the system's order; empty on failure.
std::vector<NetworkInterface> ListIPv4Interfaces();
// Empty on failure.
std::string GetHostName();

}  // namespace os
