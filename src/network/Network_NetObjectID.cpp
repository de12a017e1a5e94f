#include "network/Network_NetObjectID.h"

namespace Tundra {

std::uint32_t NetObjectID::NextObjectNumber() { return 0; }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::NetObjectID)
