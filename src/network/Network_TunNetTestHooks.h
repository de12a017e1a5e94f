#pragma once

#include "network/Network_TunNet.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// A session that tests pretend to be in, and what the front end was asked.
struct TunNetTestState {
    bool networkGame = false;
    bool host = false;
    TunPlayer localPlayer{0};
    // Whether Start and HostSession succeed, and the modes Start was asked for.
    bool canStart = false;
    bool canHost = false;
    std::vector<std::uint32_t> startModes;
    int deviceUpdates = 0;
    int updates = 0;
    int clears = 0;
    struct Sent {
        std::uint32_t type;
        std::vector<std::uint8_t> payload;
        bool toAll;
        bool reliable;
    };
    std::vector<Sent> sent;
};
TunNetTestState& GetTunNetTestState();

}  // namespace Tundra
