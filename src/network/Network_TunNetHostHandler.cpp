#include "network/Network_TunNet.h"

#include "network/Network_Session.h"

namespace Tundra {

bool TunNet::HostPacketHandler(Network::Tun_Event*) { return false; }

}  // namespace Tundra
