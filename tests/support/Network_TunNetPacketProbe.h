#pragma once

#include "network/Network_Address.h"
#include "network/Network_TunNet.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_WirePeer.h"

#include <cstdint>
#include <random>
#include <span>
#include <string>

// Hands packets straight to a front end's handlers, as its drain would, and
// describes what packets may change, so that hostile cases run by the
// thousand without sockets.
namespace testsupport {

enum class Handler : std::uint8_t { Host, Client };

// One received message of that type and payload from source on the socket,
// through the handler (which frees it).
void DeliverPacket(Tundra::TunNet& network, Handler handler, std::int32_t socketId,
                   const Network::Tun_Address& source, std::uint32_t type, std::span<const std::uint8_t> payload);

// Players, groups, found sessions, replicated objects, flags and the
// listener's log, as text: equal texts, equal state.
std::string DescribeFrontEnd(const Tundra::TunNet& network);

// A damaged copy: bytes flipped, set, cut off, inserted or dropped, or a
// length field inflated; never the same as the original.
Bytes Mutate(const Bytes& original, std::mt19937& random);

// How many mutations a hostile case runs per packet type: the environment's
// TUNDRA_MUTATIONS when set, else the default.
std::uint32_t MutationCount(std::uint32_t fallback);

}  // namespace testsupport
