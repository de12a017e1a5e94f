#pragma once

#include "network/Network_Address.h"
#include "network/Network_TunNet.h"

#include <cstdint>
#include <span>

// Hands a packet straight to a front end's handler, as its drain would.
namespace testsupport {

enum class Handler : std::uint8_t { Host, Client };

// One received message of that type and payload from source on the socket,
// through the handler (which frees it).
void DeliverPacket(Tundra::TunNet& network, Handler handler, std::int32_t socketId,
                   const Network::Tun_Address& source, std::uint32_t type, std::span<const std::uint8_t> payload);

}  // namespace testsupport
