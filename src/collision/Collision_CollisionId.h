#pragma once

#include <cstdint>

namespace Collision2D {

// A rectangle in y-up units: top > bottom for a non-empty one.
struct TunRect {
    float top = 0.0f;
    float left = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    friend bool operator==(const TunRect&, const TunRect&) = default;
};

// A collision id is (layer << 24) | (group << 16) | number. The number says
// what the id names; slot 0 of every range stays empty, so 0 names nothing.
inline constexpr std::uint16_t kStaticCircleBase = 535;       // slots 1..3000
inline constexpr std::uint16_t kStaticLineSegmentBase = 3535;  // slots 1..5000
inline constexpr std::uint16_t kTileMapBase = 8535;            // reserved: 8536..9534
inline constexpr std::uint16_t kDynamicObjectBase = 9535;      // entries 1..56000
inline constexpr std::uint32_t kMaxStaticCircles = 3000;
inline constexpr std::uint32_t kMaxStaticLineSegments = 5000;
inline constexpr std::uint32_t kMaxDynamicObjects = 65535 - kDynamicObjectBase;
// Groups are one byte; 255 is folded into 254 so that every setter stores
// the same value for it.
inline constexpr std::uint8_t kMaxGroup = 254;

inline constexpr std::uint32_t EncodeCollisionId(std::uint8_t layer, std::uint8_t group, std::uint16_t number) {
    return std::uint32_t{layer} << 24 | std::uint32_t{group} << 16 | number;
}

void DecodeCollisionId(std::uint32_t id, std::uint16_t& number, std::uint8_t& group, std::uint8_t& layer);

inline std::uint8_t ClampGroup(std::uint8_t group) { return group > kMaxGroup ? kMaxGroup : group; }

}  // namespace Collision2D
