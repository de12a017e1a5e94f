#pragma once

#include "network/Network_TunNet.h"

#include <cstdint>

namespace Tundra {

// What tests may set in a front end beyond its interface.
struct TunNetTestAccess {
    // The role fields the queries read, without a session: tests of code that
    // behaves differently on a host or a client.
    static void SetRoles(TunNet& network, bool isHost, bool hosting, bool connected, TunPlayer* localPlayer) {
        network.m_isHost = isHost;
        network.m_hosting = hosting;
        network.m_connected = connected;
        network.m_localPlayer = localPlayer;
    }
    // Every group of the front end, "All_Players" first.
    static const std::vector<Core::RefPtr<TunGroup>>& GetGroups(const TunNet& network) { return network.m_groups; }
    // The discovery port Start uses in place of the one it is given (0: the given one).
    static void SetDiscoveryPortOverride(std::uint16_t port) { TunNet::s_discoveryPortOverride = port; }
    // How long JoinSession waits for the connect and for the answer.
    static void SetJoinWaitLimit(std::uint32_t milliseconds) { TunNet::s_joinWaitLimitMilliseconds = milliseconds; }
    static Network::Tun_Session* GetSession(const TunNet& network) { return network.m_session; }
};

}  // namespace Tundra
