#pragma once

#include "network/Network_PayloadReader.h"
#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

#include <cstdint>
#include <span>

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
    // The most players a client lists (a join sets it to the most any host admits).
    static void SetMaxPlayers(TunNet& network, std::uint32_t maxPlayers) { network.m_maxPlayers = maxPlayers; }
    // Every group of the front end, "All_Players" first.
    static const std::vector<Core::RefPtr<TunGroup>>& GetGroups(const TunNet& network) { return network.m_groups; }
    // The discovery port Start uses in place of the one it is given (0: the given one).
    static void SetDiscoveryPortOverride(std::uint16_t port) { TunNet::s_discoveryPortOverride = port; }
    // How long JoinSession waits for the connect and for the answer.
    static void SetJoinWaitLimit(std::uint32_t milliseconds) { TunNet::s_joinWaitLimitMilliseconds = milliseconds; }
    static Network::Tun_Session* GetSession(const TunNet& network) { return network.m_session; }
    // Events the session's I/O thread queued and no drain has handed over yet.
    static std::uint32_t GetQueuedEvents(TunNet& network) {
        std::uint32_t remaining = 0;
        if (network.m_session != nullptr) {
            // No time to deliver in: only counts.
            network.m_session->ProcessEvents(0, 0, nullptr, &remaining);
        }
        return remaining;
    }
    // Hands one replication payload (types 7, 8, 9, 13, 16) to the front end
    // as its packet handler does; on the host, 8 counts from the remote
    // player at the source and is forwarded.
    static void ReceiveReplication(TunNet& network, TunPacket type, std::span<const std::uint8_t> payload,
                                   const Network::Tun_Address& source = {}) {
        Network::PayloadReader reader(payload.data(), static_cast<std::uint32_t>(payload.size()));
        switch (type) {
        case TunPacket::ObjectCreate: network.ReceiveObjectCreate(reader); break;
        case TunPacket::ObjectRemove: {
            const TunPlayer* requester = network.IsHost() ? network.FindPlayerByAddress(source) : nullptr;
            if (!network.IsHost() || (requester != nullptr && !requester->IsLocal())) {
                network.ReceiveObjectRemove(reader, requester);
            }
            break;
        }
        case TunPacket::ObjectState: network.ReceiveObjectState(reader); break;
        case TunPacket::Snapshot: network.ReceiveSnapshot(reader); break;
        case TunPacket::SnapshotRequest: network.ReceiveSnapshotRequest(reader, source); break;
        default: break;
        }
    }
    // The host's type 9 sends of one send tick.
    static void SendObjectStates(TunNet& network) { network.SendObjectStates(); }
};

}  // namespace Tundra
