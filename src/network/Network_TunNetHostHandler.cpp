#include "network/Network_TunNet.h"

#include "core/Core_Clock.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_Session.h"
#include "network/Network_TunNetHandlerSupport.h"

#include <span>

namespace Tundra {

namespace {

// Join results that refuse.
constexpr std::int32_t kSessionFull = -1;
constexpr std::int32_t kWrongPassword = -2;
constexpr std::int32_t kIdTaken = -3;
constexpr std::int32_t kRefusedByGame = -4;

}  // namespace

bool TunNet::HostPacketHandler(Network::Tun_Event* event) {
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
            network->HostHandleMessage(*event);
        }
        break;
    case Network::Tun_Event_Kind::AcceptedConnectionClosed:
        network->HostConnectionClosed(*event);
        break;
    case Network::Tun_Event_Kind::SocketClosed:
        if (event->socketId == kHostStreamSocket && network->m_localPlayer != nullptr) {
            const Core::RefPtr<TunPlayer> hostPlayer = network->m_localPlayer;
            network->PlayerLeft(hostPlayer.Get());
        }
        break;
    default:
        break;
    }
    return true;
}

void TunNet::HostHandleMessage(const Network::Tun_Event& event) {
    Network::PayloadReader reader(event.payload, event.payloadLength);
    const auto type = static_cast<TunPacket>(event.messageType);
    switch (type) {
    case TunPacket::JoinRequest:
        HostJoinRequest(event, reader);
        break;
    case TunPacket::GroupCreate:
        HostGroupCreate(event, reader);
        break;
    case TunPacket::GroupDestroy:
        HostGroupDestroy(event, reader);
        break;
    case TunPacket::ObjectRemove: {
        // Only a player may ask for a removal, of its own objects; the packet
        // names no sender, its source does.
        const TunPlayer* source = FindPlayerByAddress(event.address);
        if (source != nullptr && !source->IsLocal()) {
            ReceiveObjectRemove(reader, source);
        }
        break;
    }
    case TunPacket::Text:
    case TunPacket::Data:
        HostTextOrData(event, type, reader);
        break;
    case TunPacket::Keyboard:
    case TunPacket::Mouse:
        HostKeyboardOrMouse(event, type, reader);
        break;
    case TunPacket::SnapshotRequest:
        ReceiveSnapshotRequest(reader, event.address);
        break;
    case TunPacket::PingAnswer: {
        const std::uint32_t senderId = reader.ReadU32();
        if (!reader.HasFailed() && handlers::FindSender(*this, senderId, event.address) != nullptr) {
            RecordPingAnswer(senderId, Core::GetMilliseconds());
        }
        break;
    }
    default:
        break;
    }
}

void TunNet::HostJoinRequest(const Network::Tun_Event& event, Network::PayloadReader& reader) {
    // A join comes on a connection of its own, once: never as a datagram
    // (anyone could fill the session) nor from a joined player.
    if (event.socketId != kHostStreamSocket || FindPlayerByAddress(event.address) != nullptr || m_session == nullptr) {
        return;
    }
    const auto answer = [&](std::int32_t value) {
        std::vector<std::uint8_t> payload;
        Network::PayloadWriter writer(payload);
        writer.WriteI32(value);
        return m_session->SendMessage(event.socketId, static_cast<std::uint32_t>(TunPacket::JoinResult),
                                      writer.GetData(), writer.GetSize(), event.address);
    };
    // Only a player's connection stays: a refused one would hold one of the
    // host's places for good.
    const auto refuse = [&](std::int32_t value) {
        answer(value);
        m_session->ClosePeerOnceSent(event.socketId, event.address);
    };
    const Core::String password = reader.ReadString();
    TunPlayer record;
    // A request that cannot be read can never join.
    if (reader.HasFailed() || !record.ReadRecord(reader)) {
        m_session->ClosePeer(event.socketId, event.address, false);
        return;
    }
    if (GetSessionPlayersNumber() >= m_maxPlayers) {
        refuse(kSessionFull);
        return;
    }
    if (m_session->GetOpenFlag() != 0 && password != m_session->GetText()) {
        refuse(kWrongPassword);
        return;
    }
    // The player is where its connection comes from, whatever the record
    // says, and only the host's own player is the host.
    const Core::RefPtr<TunPlayer> player = TUN_NEW(TunPlayer, record.GetName(), false, false, event.address);
    player->SetID(NextPlayerId());
    if (FindPlayer(player->GetID()) != nullptr) {
        refuse(kIdTaken);
        return;
    }
    const Core::RefPtr<NetMessage> request = TUN_NEW(NetPlayerMessage, NetMessageKind::JoinRequest, player.Get());
    const bool admitted = Notify(*request);
    // The listener may have ended the session.
    if (GetCurrent() != this || !m_hosting || m_session == nullptr) {
        return;
    }
    if (!admitted) {
        refuse(kRefusedByGame);
        return;
    }
    // Admitted before it hears the answer: what it sends on hearing it may
    // be long.
    m_session->AdmitPeer(event.address);
    if (!answer(static_cast<std::int32_t>(player->GetID()))) {
        m_session->ClosePeer(event.socketId, event.address, false);
        return;
    }
    const std::vector<Core::RefPtr<TunPlayer>> present = GetSessionPlayers();
    for (const Core::RefPtr<TunPlayer>& other : present) {
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        other->WriteRecord(writer);
        m_session->SendMessage(event.socketId, static_cast<std::uint32_t>(TunPacket::PlayerJoined), writer.GetData(),
                               writer.GetSize(), event.address);
    }
    AddPlayer(player.Get());
}

void TunNet::HostGroupCreate(const Network::Tun_Event& event, Network::PayloadReader& reader) {
    const std::uint32_t senderId = reader.ReadU32();
    const std::uint32_t groupId = reader.ReadU32();
    const Core::String name = reader.ReadString();
    std::vector<std::uint32_t> memberIds;
    while (reader.GetRemaining() > 0) {
        memberIds.push_back(reader.ReadU32());
    }
    if (reader.HasFailed()) {
        return;
    }
    TunPlayer* sender = handlers::FindSender(*this, senderId, event.address);
    if (sender == nullptr) {
        return;
    }
    // CreateGroup refuses a group beyond its owner's limit.
    const Core::RefPtr<TunGroup> group = TUN_NEW(TunGroup, name, sender);
    group->SetID(groupId);
    for (const std::uint32_t memberId : memberIds) {
        group->AddPlayer(FindPlayer(memberId));
    }
    CreateGroup(group.Get());
}

void TunNet::HostGroupDestroy(const Network::Tun_Event& event, Network::PayloadReader& reader) {
    const std::uint32_t senderId = reader.ReadU32();
    const std::uint32_t groupId = reader.ReadU32();
    if (reader.HasFailed()) {
        return;
    }
    const TunPlayer* sender = handlers::FindSender(*this, senderId, event.address);
    if (sender == nullptr) {
        return;
    }
    // A client destroys only what it created: never "All_Players" nor
    // another owner's group.
    const Core::RefPtr<TunGroup> group = FindGroup(groupId, sender);
    if (group != nullptr && group->GetOwner() == sender) {
        DestroyGroup(group.Get());
    }
}

void TunNet::HostTextOrData(const Network::Tun_Event& event, TunPacket type, Network::PayloadReader& reader) {
    handlers::TextOrData packet;
    if (!packet.Read(type, reader)) {
        return;
    }
    const Core::RefPtr<TunPlayer> sender = handlers::FindSender(*this, packet.senderId, event.address);
    if (sender == nullptr) {
        return;
    }
    // What was read is what goes on: nothing behind the fields.
    const std::uint8_t* forwarded = event.payload;
    const std::uint32_t forwardedSize = reader.GetPosition();
    const auto packetType = static_cast<std::uint32_t>(type);
    // What goes on counts against the sender's share at each member. What
    // came as a datagram is dropped where that share is used up: waiting
    // there would slow the sender's stream, never its datagrams.
    const auto overShare = event.socketId == kHostDatagramSocket ? Network::Tun_Session::ForwardScope::OverShare::Drop
                                                                 : Network::Tun_Session::ForwardScope::OverShare::Wait;
    // The target is a group the sender may use, else one player (a client's
    // text to a player names the player).
    if (const Core::RefPtr<TunGroup> group = FindGroup(packet.targetId, sender.Get()); group != nullptr) {
        {
            // What the game sends as it hears the message is the host's own.
            const Network::Tun_Session::ForwardScope forwarding(*m_session, event.address, overShare);
            SendToGroup(packetType, forwarded, forwardedSize, group.Get(), true);
        }
        const TunPlayer* local = GetLocalPlayer();
        if (local != nullptr && group->QueryPlayer(local->GetID()) == local) {
            Notify(*packet.MakeMessage(sender.Get()));
        }
        return;
    }
    const Core::RefPtr<TunPlayer> target = FindPlayer(packet.targetId);
    if (target == nullptr) {
        return;
    }
    if (target->IsLocal()) {
        Notify(*packet.MakeMessage(sender.Get()));
    } else {
        const Network::Tun_Session::ForwardScope forwarding(*m_session, event.address, overShare);
        SendToPlayer(packetType, forwarded, forwardedSize, target.Get(), true);
    }
}

void TunNet::HostKeyboardOrMouse(const Network::Tun_Event& event, TunPacket type, Network::PayloadReader& reader) {
    const std::uint32_t senderId = reader.ReadU32();
    const std::span<const std::uint8_t> snapshot = reader.ReadRest();
    if (reader.HasFailed()) {
        return;
    }
    const TunPlayer* sender = handlers::FindSender(*this, senderId, event.address);
    if (sender == nullptr) {
        return;
    }
    if (type == TunPacket::Keyboard) {
        if (Input::Keyboard* keyboard = sender->GetKeyboard(); keyboard != nullptr) {
            keyboard->ReadSnapshot(snapshot);
        }
    } else if (Input::Mouse* mouse = sender->GetMouse(); mouse != nullptr) {
        mouse->ReadSnapshot(snapshot);
    }
}

void TunNet::HostConnectionClosed(const Network::Tun_Event& event) {
    const Core::RefPtr<TunPlayer> player = FindPlayerByAddress(event.address);
    if (player != nullptr && !player->IsLocal()) {
        PlayerLeft(player.Get());
    }
}

}  // namespace Tundra
