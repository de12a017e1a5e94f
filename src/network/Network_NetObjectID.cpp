#include "network/Network_NetObjectID.h"

namespace Tundra {

std::uint32_t NetObjectID::NextObjectNumber() {
    static std::uint32_t next = 1;
    return next++;
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::NetObjectID)
