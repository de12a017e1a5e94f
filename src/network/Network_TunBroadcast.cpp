#include "network/Network_TunBroadcast.h"

namespace Tundra {

void TunBroadcast::PushToLua(lua_State*) const {}
void TunBroadcast::WriteAnnouncement(Network::PayloadWriter&, const Network::Tun_Address&, std::uint32_t,
                                     std::uint32_t, bool, const Core::String&, const Core::String&) {}
bool TunBroadcast::ReadAnnouncement(Network::PayloadReader&) { return false; }

}  // namespace Tundra
