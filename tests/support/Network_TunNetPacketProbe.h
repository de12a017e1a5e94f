#pragma once

#include "network/Network_Address.h"
#include "network/Network_TunNet.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_TunNetPacketDelivery.h"
#include "support/Network_WirePeer.h"

#include <cstdint>
#include <random>
#include <string>

// What packets may change, described, and damaged packets, so that hostile
// cases run by the thousand straight through the handlers.
namespace testsupport {

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
