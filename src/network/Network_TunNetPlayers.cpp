#include "network/Network_TunNet.h"

#include "network/Network_Session.h"

namespace Tundra {

bool TunNet::AddPlayer(TunPlayer*) { return false; }
bool TunNet::PlayerLeft(TunPlayer*) { return false; }
TunPlayer* TunNet::FindPlayer(std::uint32_t) const { return nullptr; }
TunPlayer* TunNet::FindPlayerByName(const Core::String&) const { return nullptr; }
TunPlayer* TunNet::FindPlayerByAddress(const Network::Tun_Address&) const { return nullptr; }
TunGroup* TunNet::FindGroup(std::uint32_t, const TunPlayer*) const { return nullptr; }
TunGroup* TunNet::FindGroupByName(const Core::String&, const TunPlayer*) const { return nullptr; }
std::vector<Core::RefPtr<TunPlayer>> TunNet::GetSessionPlayers() const { return {}; }
std::uint32_t TunNet::GetSessionPlayersNumber() const { return 0; }
bool TunNet::CreateGroup(TunGroup*) { return false; }
bool TunNet::DestroyGroup(TunGroup*) { return false; }
bool TunNet::SendTextMessage(bool, const Core::String&, bool) { return false; }
bool TunNet::SendTextMessage(bool, const Core::String&, TunGroup*, bool) { return false; }
bool TunNet::SendTextMessageToPlayer(bool, const Core::String&, TunPlayer*, bool) { return false; }

}  // namespace Tundra
