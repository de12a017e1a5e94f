#include "support/Network_TunNetPacketDelivery.h"

#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_TunNetTestHooks.h"

namespace testsupport {

void DeliverPacket(Tundra::TunNet& network, Handler handler, std::int32_t socketId,
                   const Network::Tun_Address& source, std::uint32_t type, std::span<const std::uint8_t> payload) {
    Network::Tun_Event event(Network::Tun_Event_Kind::MessageReceived, Tundra::TunNetTestAccess::GetSession(network),
                             socketId, source);
    event.callback = handler == Handler::Host ? &Tundra::TunNet::HostPacketHandler
                                              : &Tundra::TunNet::ClientPacketHandler;
    event.AttachMessage(Network::BuildMessage(type, payload.data(), static_cast<std::uint32_t>(payload.size())));
    Network::DeliverEvent(&event);
}

}  // namespace testsupport
