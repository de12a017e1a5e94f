#include "collision/Collision_CollisionId.h"

namespace Collision2D {

void DecodeCollisionId(std::uint32_t id, std::uint16_t& number, std::uint8_t& group, std::uint8_t& layer) {
    number = static_cast<std::uint16_t>(id & 0xFFFFu);
    group = static_cast<std::uint8_t>(id >> 16 & 0xFFu);
    layer = static_cast<std::uint8_t>(id >> 24);
}

}  // namespace Collision2D
