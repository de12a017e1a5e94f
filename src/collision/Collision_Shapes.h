#pragma once

#include "collision/Collision_CollisionId.h"
#include "collision/Collision_CollisionObject.h"
#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

#include <cstdint>

namespace Collision2D {

// A circle of a collision frame, with the id game code reads back from the
// results to tell which shape was hit.
class DynamicCollisionCircle : public Math::Circle2D {
public:
    DynamicCollisionCircle() = default;
    DynamicCollisionCircle(const Math::Circle2D& circle, std::uint32_t userId) : Math::Circle2D(circle), m_userId(userId) {}

    void SetUserId(std::uint32_t userId) { m_userId = userId; }
    std::uint32_t GetUserId() const { return m_userId; }

    friend bool operator==(const DynamicCollisionCircle& a, const DynamicCollisionCircle& b) {
        return a.center == b.center && a.radius == b.radius && a.m_userId == b.m_userId;
    }

private:
    std::uint32_t m_userId = 0;
};

// A segment of a collision frame; it collides as a line of the owning
// object's thickness.
class DynamicCollisionLineSegment : public Math::LineSegment2D {
public:
    DynamicCollisionLineSegment() = default;
    DynamicCollisionLineSegment(const Math::LineSegment2D& segment, std::uint32_t userId)
        : Math::LineSegment2D(segment), m_userId(userId) {}

    void SetUserId(std::uint32_t userId) { m_userId = userId; }
    std::uint32_t GetUserId() const { return m_userId; }

    friend bool operator==(const DynamicCollisionLineSegment& a, const DynamicCollisionLineSegment& b) {
        return a.pointA == b.pointA && a.pointB == b.pointB && a.m_userId == b.m_userId;
    }

private:
    std::uint32_t m_userId = 0;
};

// Immovable world geometry of a layer, owned by the engine once added.
class StaticCollisionCircle : public DynamicCollisionCircle, public CollisionObject {
public:
    StaticCollisionCircle() : CollisionObject(ObjectKind::StaticCircle) {}
    explicit StaticCollisionCircle(const Math::Circle2D& circle)
        : DynamicCollisionCircle(circle, 0), CollisionObject(ObjectKind::StaticCircle) {}

    void SetZCollision(std::uint8_t group) { m_group = ClampGroup(group); }
    std::uint8_t GetZCollision() const { return m_group; }

private:
    std::uint8_t m_group = 0;
};

class StaticCollisionLineSegment : public DynamicCollisionLineSegment, public CollisionObject {
public:
    StaticCollisionLineSegment() : CollisionObject(ObjectKind::StaticLineSegment) {}
    explicit StaticCollisionLineSegment(const Math::LineSegment2D& segment)
        : DynamicCollisionLineSegment(segment, 0), CollisionObject(ObjectKind::StaticLineSegment) {}

    void SetZCollision(std::uint8_t group) { m_group = ClampGroup(group); }
    std::uint8_t GetZCollision() const { return m_group; }

private:
    std::uint8_t m_group = 0;
};

}  // namespace Collision2D
