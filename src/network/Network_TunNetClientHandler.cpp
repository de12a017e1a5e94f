#include "network/Network_TunNet.h"

#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_Session.h"
#include "network/Network_TunNetHandlerSupport.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Level.h"

#include <span>

namespace Tundra {

bool TunNet::ClientPacketHandler(Network::Tun_Event* event) {
    if (event == nullptr) {
        return true;
    }
    TunNet* network = handlers::FrontEndFor(*event);
    if (network == nullptr) {
        return false;
    }
    switch (event->kind) {
    case Network::Tun_Event_Kind::MessageReceived:
        if (!network->m_ending) {
            network->ClientHandleMessage(*event);
        }
        break;
    case Network::Tun_Event_Kind::SocketClosed:
        if (event->socketId != kClientStreamSocket) {
            break;
        }
        if (network->m_unheardStreamCloses > 0) {
            --network->m_unheardStreamCloses;
        } else if (network->m_localPlayer != nullptr) {
            const Core::RefPtr<TunPlayer> localPlayer = network->m_localPlayer;
            network->PlayerLeft(localPlayer.Get());
        }
        break;
    default:
        break;
    }
    return true;
}

void TunNet::ClientHandleMessage(const Network::Tun_Event& event) {
    Network::PayloadReader reader(event.payload, event.payloadLength);
    const auto type = static_cast<TunPacket>(event.messageType);
    if (type == TunPacket::Announcement) {
        if (event.socketId == kDiscoverySocket) {
            ClientAnnouncement(event, reader);
        }
        return;
    }
    // Everything else comes from the host: on the connection to it, or as
    // a datagram from its address once joined.
    const bool fromHost =
        event.socketId == kClientStreamSocket ||
        (event.socketId == kClientDatagramSocket && m_connected && event.address.SameEndpoint(m_hostAddress));
    if (!fromHost) {
        return;
    }
    if (type == TunPacket::JoinResult) {
        ClientJoinResult(reader);
        return;
    }
    if (!m_connected || m_localPlayer == nullptr) {
        return;
    }
    switch (type) {
    case TunPacket::PlayerJoined:
        ClientPlayerJoined(reader);
        break;
    case TunPacket::PlayerLeft:
        ClientPlayerLeft(reader);
        break;
    case TunPacket::ObjectCreate:
        if (m_localPlayer->IsSynchronised()) {
            ReceiveObjectCreate(reader);
        }
        break;
    case TunPacket::ObjectRemove:
        ReceiveObjectRemove(reader, nullptr);
        break;
    case TunPacket::ObjectState:
        if (m_localPlayer->IsSynchronised()) {
            ReceiveObjectState(reader);
        }
        break;
    case TunPacket::Snapshot:
        ReceiveSnapshot(reader);
        break;
    case TunPacket::Text:
    case TunPacket::Data:
        ClientTextOrData(type, reader);
        break;
    case TunPacket::LevelName:
        ClientLevelName(reader);
        break;
    case TunPacket::PingRequest:
        reader.ReadU32();
        if (!reader.HasFailed()) {
            AnswerPing();
        }
        break;
    default:
        break;
    }
}

void TunNet::ClientAnnouncement(const Network::Tun_Event& event, Network::PayloadReader& reader) {
    if (m_connected) {
        return;
    }
    TunBroadcast record;
    if (record.ReadAnnouncement(reader)) {
        UpdateSessionList(record, event.address);
    }
}

void TunNet::ClientJoinResult(Network::PayloadReader& reader) {
    std::int32_t result = reader.ReadI32();
    // A result answers the join under way, once.
    if (reader.HasFailed() || m_connected || m_localPlayer == nullptr) {
        return;
    }
    const Core::RefPtr<NetDataMessage> answer =
        TUN_NEW(NetDataMessage, NetMessageKind::JoinAnswer, 0, 0, &result, nullptr);
    Notify(*answer);
    // The listener may have ended the session or the join.
    if (GetCurrent() != this || m_session == nullptr || m_localPlayer == nullptr || result < 0) {
        return;
    }
    m_connected = true;
    m_snapshotRequested = false;
    m_session->CloseDiscoverySocket(false);
    m_localPlayer->SetID(static_cast<std::uint32_t>(result));
}

void TunNet::ClientPlayerJoined(Network::PayloadReader& reader) {
    // A session holds no more players than it admits; records beyond are
    // not listed.
    if (GetSessionPlayersNumber() >= m_maxPlayers) {
        return;
    }
    const Core::RefPtr<TunPlayer> player = TUN_NEW(TunPlayer);
    if (!player->ReadRecord(reader) || FindPlayer(player->GetID()) != nullptr) {
        return;
    }
    AddPlayer(player.Get());
}

void TunNet::ClientPlayerLeft(Network::PayloadReader& reader) {
    const Core::RefPtr<TunPlayer> record = TUN_NEW(TunPlayer);
    if (!record->ReadRecord(reader)) {
        return;
    }
    // Only a player of the session leaves, and only the host's record ends it.
    const TunPlayer* known = FindPlayer(record->GetID());
    if (known == nullptr || known->IsLocal() || known->IsHost() != record->IsHost()) {
        return;
    }
    PlayerLeft(record.Get());
}

void TunNet::ClientTextOrData(TunPacket type, Network::PayloadReader& reader) {
    // The target plays no part: what the host forwards is for this machine.
    handlers::TextOrData packet;
    if (!packet.Read(type, reader)) {
        return;
    }
    const Core::RefPtr<TunPlayer> sender = FindPlayer(packet.senderId);
    if (sender != nullptr && !sender->IsLocal()) {
        Notify(*packet.MakeMessage(sender.Get()));
    }
}

void TunNet::ClientLevelName(Network::PayloadReader& reader) {
    const Core::String name = reader.ReadString();
    Game* game = Game::GetInstance();
    if (reader.HasFailed() || game == nullptr) {
        return;
    }
    const Level* level = game->GetCurrentLevel();
    // Between levels a switch is under way already.
    if (level == nullptr) {
        return;
    }
    if (name != level->GetTypeName()) {
        // The switch asks for the snapshot once the new level has started.
        m_snapshotRequested = true;
        game->GoToLevelByName(name);
        return;
    }
    // Already on the host's level (joined there): nothing else will ask.
    if (m_snapshotRequested || m_localPlayer->IsSynchronised()) {
        return;
    }
    std::vector<std::uint8_t> payload;
    Network::PayloadWriter writer(payload);
    writer.WriteU32(m_localPlayer->GetID());
    if (SendToGroup(static_cast<std::uint32_t>(TunPacket::SnapshotRequest), writer.GetData(), writer.GetSize(),
                    nullptr, true)) {
        m_snapshotRequested = true;
    }
}

}  // namespace Tundra
