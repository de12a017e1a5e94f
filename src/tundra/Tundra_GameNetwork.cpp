#include "network/Network_NetMessage.h"
#include "network/Network_TunNet.h"
#include "tundra/Tundra_Game.h"

#include <cstring>

namespace Tundra {
namespace {
// The game's session settings: dispatch budget and wait (ms), send rate,
// discovery and game ports, and announcements every 250 ms.
constexpr std::uint32_t kDispatchBudget = 5;
constexpr std::uint32_t kDispatchWait = 3;
constexpr std::uint32_t kUpdatesPerSecond = 60;
constexpr std::uint16_t kDiscoveryPort = 3000;
constexpr std::uint16_t kGamePort = 0;
constexpr std::uint32_t kBroadcastScope = 1;
constexpr float kBroadcastInterval = 0.25f;

// A join answer is the player id the host gave (0 or more) or a refusal's
// negative reason: the hook hears 0 for every acceptance.
int JoinAnswer(const NetDataMessage& message) {
    std::int32_t value = 0;
    if (message.GetData() != nullptr) {
        std::memcpy(&value, message.GetData(), sizeof(value));
    }
    return value > 0 ? 0 : value;
}

}  // namespace

bool Game::NetworkStart(const Core::String& networkName) {
    if (m_network == nullptr) {
        return false;
    }
    m_network->Shutdown();
    if (!m_network->Start(false, &Game::NetworkEventDispatch, "", "", kDispatchBudget, kDispatchWait,
                          kUpdatesPerSecond, kDiscoveryPort, kGamePort)) {
        return false;
    }
    m_network->SetNetworkName(networkName);
    return true;
}

bool Game::HostNetworkGame(const Core::String& name, const Core::String& text, const Core::String& second,
                           std::uint32_t playerCount) {
    if (m_network == nullptr || !m_network->Shutdown()) {
        return false;
    }
    return m_network->Start(true, &Game::NetworkEventDispatch, name, second, kDispatchBudget, kDispatchWait,
                            kUpdatesPerSecond, kDiscoveryPort, kGamePort) &&
           m_network->HostSession(text, playerCount, kBroadcastScope, kBroadcastInterval);
}

bool Game::NetworkEventDispatch(NetMessage* message) {
    Game* game = GetInstance();
    if (game == nullptr || message == nullptr) {
        return false;
    }
    const auto* player = dynamic_cast<const NetPlayerMessage*>(message);
    const auto* data = dynamic_cast<const NetDataMessage*>(message);
    const auto* text = dynamic_cast<const NetTextMessage*>(message);
    switch (message->GetKind()) {
        case NetMessageKind::SessionHosted:
            game->OnSessionHosted();
            return true;
        case NetMessageKind::SessionJoined:
            game->OnJoinedSession();
            return true;
        case NetMessageKind::JoinRequest:
            return player != nullptr && game->OnPlayerJoinRequest(player->GetPlayer());
        case NetMessageKind::JoinAnswer:
            if (data != nullptr) {
                game->OnJoinAnswer(JoinAnswer(*data));
            }
            return true;
        case NetMessageKind::PlayerAdded:
            if (player != nullptr) {
                game->OnNetworkEventKind4(player->GetPlayer());
            }
            return true;
        case NetMessageKind::PlayerLeaving:
            if (player != nullptr) {
                game->OnNetworkEventKind5(player->GetPlayer());
            }
            return true;
        case NetMessageKind::Text:
            if (text != nullptr) {
                game->OnTextMessage(text->GetSender(), text->GetText());
            }
            return true;
        case NetMessageKind::Data:
            if (data != nullptr) {
                game->OnDataMessage(data->GetSender(), data->GetCode(), data->GetDataSize(), data->GetData());
            }
            return true;
        case NetMessageKind::SessionEnded:
            game->SessionEnded();
            return true;
    }
    return true;
}

void Game::SessionEnded() {
    // A client's copies of the host's objects go with the session, and it
    // listens for announcements again. The hook may shut networking down or
    // start a host: the roles are asked again after it.
    if (m_network != nullptr && !m_network->IsHost()) {
        m_network->DropReplicatedObjects();
    }
    OnSessionEnded();
    if (m_network != nullptr && !m_network->IsHost()) {
        m_network->OpenDiscoverySocket();
    }
}

void Game::RefreshOnlineSessions() {
    m_onlineSessions.clear();
    if (m_network == nullptr) {
        return;
    }
    const Core::String& name = m_network->GetNetworkName();
    for (const TunBroadcast& session : m_network->GetFoundSessions()) {
        if (session.GetNetworkID() == name) {
            m_onlineSessions.push_back(session);
        }
    }
}

}  // namespace Tundra
