#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

namespace Tundra {

bool TunNet::SendToHost(std::uint32_t type, const void* payload, std::uint32_t size, bool reliable) {
    return m_connected && m_session->SendMessage(reliable ? kClientStreamSocket : kClientDatagramSocket, type, payload,
                                                 size, m_hostAddress);
}

bool TunNet::SendToGroup(std::uint32_t type, const void* payload, std::uint32_t size, TunGroup* group,
                         bool reliable) {
    if (GetCurrent() != this) {
        return false;
    }
    if (!m_isHost) {
        return SendToHost(type, payload, size, reliable);
    }
    if (!m_hosting) {
        return false;
    }
    // A copy: nothing a send does may change whom it goes to.
    const std::vector<Core::RefPtr<TunPlayer>> players = (group != nullptr ? group : m_allPlayers.Get())->GetPlayers();
    bool sent = true;
    for (const Core::RefPtr<TunPlayer>& player : players) {
        if (!player->IsLocal()) {
            sent = m_session->SendMessage(reliable ? kHostStreamSocket : kHostDatagramSocket, type, payload, size,
                                          player->GetAddress()) &&
                   sent;
        }
    }
    return sent;
}

bool TunNet::SendToPlayer(std::uint32_t type, const void* payload, std::uint32_t size, TunPlayer* player,
                          bool reliable) {
    if (GetCurrent() != this) {
        return false;
    }
    if (!m_isHost) {
        return SendToHost(type, payload, size, reliable);
    }
    return m_hosting && player != nullptr &&
           m_session->SendMessage(reliable ? kHostStreamSocket : kHostDatagramSocket, type, payload, size,
                                  player->GetAddress());
}

}  // namespace Tundra
