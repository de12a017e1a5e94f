#pragma once

#include "collision/Collision_CollisionId.h"
#include "collision/Collision_Shapes.h"
#include "core/Core_File.h"

#include <cstdint>

// Field helpers shared by the collision streams. Counts are checked against
// fixed limits and lists are read element by element, so a hostile count
// fails once the bytes run out instead of allocating ahead of them.
namespace Collision2D {

inline constexpr std::uint32_t kMaxShapesPerFrame = 4096;
inline constexpr std::uint32_t kMaxActorEntries = 65536;

// A count above limit fails the stream and reads as 0.
inline std::uint32_t ReadCount(Core::File& file, std::uint32_t limit) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (count > limit) {
        file.SetFailed();
    }
    return file.HasFailed() ? 0 : count;
}

// Only 0 and 1 are booleans; anything else is a corrupt stream.
inline bool ReadBool(Core::File& file) {
    std::uint8_t value = 0;
    file.ReadU8(value);
    if (value > 1) {
        file.SetFailed();
    }
    return value == 1;
}

inline void WriteVector(Core::File& file, const Vector2D& v) {
    file.WriteF32(v.x);
    file.WriteF32(v.y);
}

inline Vector2D ReadVector(Core::File& file) {
    Vector2D v;
    file.ReadF32(v.x);
    file.ReadF32(v.y);
    return v;
}

inline void WriteRect(Core::File& file, const TunRect& r) {
    for (const float value : {r.top, r.left, r.right, r.bottom}) {
        file.WriteF32(value);
    }
}

inline void ReadRect(Core::File& file, TunRect& r) {
    file.ReadF32(r.top);
    file.ReadF32(r.left);
    file.ReadF32(r.right);
    file.ReadF32(r.bottom);
}

inline void WriteCircle(Core::File& file, const DynamicCollisionCircle& c) {
    c.Write(file);
    file.WriteU32(c.GetUserId());
}

inline DynamicCollisionCircle ReadCircle(Core::File& file) {
    Math::Circle2D circle;
    circle.Read(file);
    std::uint32_t userId = 0;
    file.ReadU32(userId);
    return {circle, userId};
}

inline void WriteSegment(Core::File& file, const DynamicCollisionLineSegment& s) {
    s.Write(file);
    file.WriteU32(s.GetUserId());
}

inline DynamicCollisionLineSegment ReadSegment(Core::File& file) {
    Math::LineSegment2D segment;
    segment.Read(file);
    std::uint32_t userId = 0;
    file.ReadU32(userId);
    return {segment, userId};
}

}  // namespace Collision2D
