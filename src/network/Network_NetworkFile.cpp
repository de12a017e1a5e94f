#include "network/Network_NetworkFile.h"

#include "tundra/Tundra_GameObject.h"

namespace Tundra {

void NetworkFile::WriteNetworkObject(const GameObject*) {}
GameObject* NetworkFile::ReadObject() { return nullptr; }

}  // namespace Tundra
