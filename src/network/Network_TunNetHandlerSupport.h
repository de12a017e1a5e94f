#pragma once

#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_TunNet.h"

// What the host and client packet handlers share.
namespace Tundra::handlers {

// A handler that cannot use a message frees it itself: the drain that
// delivered it would keep it otherwise. The fields are cleared so that
// freeing the event's list later cannot free it twice.
inline void FreeEventMessage(Network::Tun_Event& event) {
    Network::RawMessage message = event.DetachMessage();
    Network::FreeMessage(message);
}

// The remote player of that id whose address is the packet's source: no
// packet speaks for a player it did not come from.
inline TunPlayer* FindSender(const TunNet& network, std::uint32_t id, const Network::Tun_Address& source) {
    TunPlayer* player = network.FindPlayer(id);
    if (player == nullptr || player->IsLocal() || !player->GetAddress().SameEndpoint(source)) {
        return nullptr;
    }
    return player;
}

}  // namespace Tundra::handlers
