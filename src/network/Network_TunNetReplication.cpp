#include "network/Network_TunNet.h"

#include "network/Network_Session.h"

#include "tundra/Tundra_GameObject.h"

namespace Tundra {

bool TunNet::AddBaseNetObject(GameObject*, const Core::String&) { return false; }
GameObject* TunNet::FindNetworkObject(const Core::String&) const { return nullptr; }
void TunNet::ClearNetworkObjects() {}
bool TunNet::AddNetworkObject(GameObject*, std::uint32_t, TunPlayer*) { return false; }
bool TunNet::RemoveNetworkObject(GameObject*) { return false; }
bool TunNet::AddReplicatedObject(GameObject*) { return false; }
bool TunNet::ForgetReplicatedObject(GameObject*) { return false; }
GameObject* TunNet::FindReplicatedObject(std::uint32_t, std::uint32_t) const { return nullptr; }
void TunNet::RemoveNetObjectsControlledBy(TunPlayer*) {}
void TunNet::DropReplicatedObjects() {}
void TunNet::SendObjectSnapshot(TunPlayer*) {}

}  // namespace Tundra
