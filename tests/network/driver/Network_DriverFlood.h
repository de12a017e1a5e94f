#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// A hostile peer against a hosting game: datagrams and stream messages of
// every packet type, truncated, oversized, with lying lengths, naming other
// players as their senders, from strangers' source ports, over connections
// opened and dropped. Nothing of it is a valid join on a stream.
namespace netdriver {

struct FloodTarget {
    // The host's game port (its stream and datagram sockets).
    std::uint16_t port = 0;
    // Ids the spoofed packets name as their senders.
    std::uint32_t hostId = 0;
    std::uint32_t clientId = 0;
};

struct FloodCount {
    std::size_t datagrams = 0;
    std::size_t connections = 0;
    std::size_t streamMessages = 0;
};

// Floods for the duration, opening and dropping `connections` stream
// connections meanwhile; calls pump about every 20 ms.
FloodCount Flood(const FloodTarget& target, std::chrono::milliseconds duration, std::size_t connections,
                 const std::function<void()>& pump);

}  // namespace netdriver
