#include "network/Network_TunNet.h"

#include "network/Network_PayloadWriter.h"
#include "network/Network_Session.h"

#include <algorithm>

namespace Tundra {

namespace {

// No player, the host's own included, fills the group list.
constexpr std::size_t kGroupsPerOwnerLimit = 64;

// A text's payload: u32 sender, u32 target, the text and a zero.
void WriteTextPayload(Network::PayloadWriter& writer, std::uint32_t senderId, std::uint32_t targetId,
                      const Core::String& text) {
    writer.Clear();
    writer.WriteU32(senderId);
    writer.WriteU32(targetId);
    writer.WriteString(text);
}

}  // namespace

bool TunNet::AddPlayer(TunPlayer* player) {
    if (GetCurrent() != this || player == nullptr) {
        return false;
    }
    const Core::RefPtr<TunPlayer> held(player);
    if (m_hosting) {
        player->CreateMirrorDevices();
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        player->WriteRecord(writer);
        // Sent before the player is listed, so not to the player itself.
        SendToGroup(static_cast<std::uint32_t>(TunPacket::PlayerJoined), writer.GetData(), writer.GetSize(), nullptr,
                    true);
    } else if (player->IsHost()) {
        // The host is where this connection leads, whatever its record says.
        Network::Tun_Address peer;
        if (m_session->GetRemoteAddress(kClientStreamSocket, peer)) {
            player->SetAddress(peer);
        }
    }
    if (!m_allPlayers->AddPlayer(player)) {
        return false;
    }
    Notify(*TUN_NEW(NetPlayerMessage, NetMessageKind::PlayerAdded, player));
    return true;
}

bool TunNet::PlayerLeft(TunPlayer* player) {
    if (GetCurrent() != this || player == nullptr) {
        return false;
    }
    const Core::RefPtr<TunPlayer> held(player);
    const bool isLocal = player->IsLocal();
    const bool isHost = player->IsHost();
    Notify(*TUN_NEW(NetPlayerMessage, NetMessageKind::PlayerLeaving, player));
    if (GetCurrent() != this) {
        return true;
    }
    m_allPlayers->RemovePlayer(player->GetID());
    ForgetGroupsOf(player->GetID());
    if (m_hosting) {
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        player->WriteRecord(writer);
        SendToGroup(static_cast<std::uint32_t>(TunPacket::PlayerLeft), writer.GetData(), writer.GetSize(), nullptr,
                    true);
    }
    if ((isLocal || isHost) && m_connected) {
        m_connected = false;
        CloseClientStream();
        m_session->CloseSocket(kClientDatagramSocket, false);
        ForgetEveryPlayersGroups();
        m_localPlayer = nullptr;
        Notify(*TUN_NEW(NetSessionMessage, NetMessageKind::SessionEnded, m_hostAddress));
    } else if (isHost && m_hosting) {
        m_hosting = false;
        m_session->CloseSocket(kHostStreamSocket, false);
        m_session->CloseSocket(kHostDatagramSocket, false);
        ForgetEveryPlayersGroups();
        m_localPlayer = nullptr;
        m_session->StopServer(false);
        Notify(*TUN_NEW(NetSessionMessage, NetMessageKind::SessionEnded, m_hostAddress));
    } else if (isLocal) {
        m_localPlayer = nullptr;
    }
    return true;
}

void TunNet::ForgetGroupsOf(std::uint32_t playerId) {
    std::vector<Core::RefPtr<TunGroup>> destroyed;
    for (const Core::RefPtr<TunGroup>& group : m_groups) {
        const TunPlayer* owner = group->GetOwner();
        if (owner != nullptr && owner->GetID() == playerId) {
            destroyed.push_back(group);
        }
        // Out of every group, its own too, which a script may still hold.
        group->RemovePlayer(playerId);
    }
    std::erase_if(m_groups, [playerId](const Core::RefPtr<TunGroup>& group) {
        return group->GetOwner() != nullptr && group->GetOwner()->GetID() == playerId;
    });
    if (!m_hosting) {
        return;
    }
    // As if the owner had destroyed each: its id and the group's.
    for (const Core::RefPtr<TunGroup>& group : destroyed) {
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteU32(playerId);
        writer.WriteU32(group->GetID());
        SendToGroup(static_cast<std::uint32_t>(TunPacket::GroupDestroy), writer.GetData(), writer.GetSize(), nullptr,
                    true);
    }
}

void TunNet::ForgetEveryPlayersGroups() {
    // Emptied too where a script still holds one.
    for (const Core::RefPtr<TunGroup>& group : m_groups) {
        group->Clear();
    }
    std::erase_if(m_groups, [](const Core::RefPtr<TunGroup>& group) { return group->GetOwner() != nullptr; });
}

TunPlayer* TunNet::FindPlayer(std::uint32_t id) const { return m_allPlayers->QueryPlayer(id); }

TunPlayer* TunNet::FindPlayerByName(const Core::String& name) const { return m_allPlayers->QueryPlayer(name); }

TunPlayer* TunNet::FindPlayerByAddress(const Network::Tun_Address& address) const {
    for (const Core::RefPtr<TunPlayer>& player : m_allPlayers->GetPlayers()) {
        if (player->GetAddress().SameEndpoint(address)) {
            return player.Get();
        }
    }
    return nullptr;
}

TunGroup* TunNet::FindGroup(std::uint32_t id, const TunPlayer* owner) const {
    for (const Core::RefPtr<TunGroup>& group : m_groups) {
        if (group->GetID() == id && (group->GetOwner() == nullptr || group->GetOwner() == owner)) {
            return group.Get();
        }
    }
    return nullptr;
}

TunGroup* TunNet::FindGroupByName(const Core::String& name, const TunPlayer* owner) const {
    for (const Core::RefPtr<TunGroup>& group : m_groups) {
        if (group->GetName() == name && (group->GetOwner() == nullptr || group->GetOwner() == owner)) {
            return group.Get();
        }
    }
    return nullptr;
}

std::vector<Core::RefPtr<TunPlayer>> TunNet::GetSessionPlayers() const { return m_allPlayers->GetPlayers(); }

std::uint32_t TunNet::GetSessionPlayersNumber() const { return m_allPlayers->GetPlayerCount(); }

bool TunNet::CreateGroup(TunGroup* group) {
    if (m_localPlayer == nullptr || group == nullptr) {
        return false;
    }
    const Core::RefPtr<TunGroup> held(group);
    if (std::find(m_groups.begin(), m_groups.end(), held) != m_groups.end()) {
        return false;
    }
    if (m_isHost) {
        if (!m_hosting) {
            return false;
        }
    } else {
        if (!m_connected || group->GetPlayerCount() == 0) {
            return false;
        }
    }
    TunPlayer* owner = m_isHost ? group->GetOwner() : m_localPlayer.Get();
    const auto owned = std::count_if(m_groups.begin(), m_groups.end(), [owner](const Core::RefPtr<TunGroup>& listed) {
        return listed->GetOwner() == owner;
    });
    if (owner != nullptr && static_cast<std::size_t>(owned) >= kGroupsPerOwnerLimit) {
        return false;
    }
    if (!m_isHost) {
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteU32(m_localPlayer->GetID());
        writer.WriteU32(group->GetID());
        writer.WriteString(group->GetName());
        for (const Core::RefPtr<TunPlayer>& member : group->GetPlayers()) {
            writer.WriteU32(member->GetID());
        }
        if (!SendToGroup(static_cast<std::uint32_t>(TunPacket::GroupCreate), writer.GetData(), writer.GetSize(),
                         nullptr, true)) {
            return false;
        }
        group->SetOwner(owner);
    }
    m_groups.push_back(held);
    return true;
}

bool TunNet::DestroyGroup(TunGroup* group) {
    if (m_localPlayer == nullptr || group == nullptr || group == m_allPlayers.Get()) {
        return false;
    }
    const Core::RefPtr<TunGroup> held(group);
    if (m_isHost) {
        if (!m_hosting) {
            return false;
        }
    } else {
        if (!m_connected) {
            return false;
        }
        Network::PayloadWriter writer(m_sendBuffer);
        writer.Clear();
        writer.WriteU32(m_localPlayer->GetID());
        writer.WriteU32(group->GetID());
        if (!SendToGroup(static_cast<std::uint32_t>(TunPacket::GroupDestroy), writer.GetData(), writer.GetSize(),
                         nullptr, true)) {
            return false;
        }
    }
    std::erase(m_groups, held);
    return true;
}

bool TunNet::SendTextMessage(bool reliable, const Core::String& text, bool echo) {
    return SendTextMessage(reliable, text, m_allPlayers.Get(), echo);
}

bool TunNet::SendTextMessage(bool reliable, const Core::String& text, TunGroup* group, bool echo) {
    if (m_localPlayer == nullptr || group == nullptr) {
        return false;
    }
    Network::PayloadWriter writer(m_sendBuffer);
    WriteTextPayload(writer, m_localPlayer->GetID(), group->GetID(), text);
    const bool sent =
        SendToGroup(static_cast<std::uint32_t>(TunPacket::Text), writer.GetData(), writer.GetSize(), group, reliable);
    EchoText(sent && echo, text);
    return sent;
}

bool TunNet::SendTextMessageToPlayer(bool reliable, const Core::String& text, TunPlayer* player, bool echo) {
    if (m_localPlayer == nullptr || player == nullptr) {
        return false;
    }
    Network::PayloadWriter writer(m_sendBuffer);
    WriteTextPayload(writer, m_localPlayer->GetID(), player->GetID(), text);
    const bool sent = SendToPlayer(static_cast<std::uint32_t>(TunPacket::Text), writer.GetData(), writer.GetSize(),
                                   player, reliable);
    EchoText(sent && echo, text);
    return sent;
}

void TunNet::EchoText(bool echo, const Core::String& text) {
    if (echo && m_localPlayer != nullptr) {
        Notify(*TUN_NEW(NetTextMessage, text, m_localPlayer.Get()));
    }
}

}  // namespace Tundra
