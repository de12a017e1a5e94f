#pragma once

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

// Authored shapes and collider settings of the game's objects, for scenes.
namespace scenes {

using namespace Collision2D;

struct ActorDeleter {
    void operator()(CollisionActor* actor) const { FreeCollisionActor(actor); }
};
using Actor = std::unique_ptr<CollisionActor, ActorDeleter>;

struct Shape {
    bool circle;
    Vector2D a;  // centre or first point
    Vector2D b;  // second point
    float radius;
    int userId;
    bool mirror = true;
};

// One animation per list entry, frames frames long, every frame alike.
inline Actor MakeActor(std::initializer_list<std::initializer_list<Shape>> animations, TunRect rect, int frames = 1) {
    Actor actor(new CollisionActor);
    for (const auto& shapes : animations) {
        auto* animation = new CollisionAnimation;
        for (int f = 0; f < frames; ++f) {
            auto* frame = new CollisionFrame;
            frame->SetBoundingRectangle(rect, true);
            for (const Shape& s : shapes) {
                s.circle ? frame->AddCircle(s.a, s.radius, s.userId, s.mirror)
                         : frame->AddLineSegment(s.a, s.b, s.userId, s.mirror);
            }
            animation->AddCollisionFrame(frame);
        }
        actor->AddCollisionAnimation(animation);
    }
    return actor;
}

inline Shape Circle(Vector2D c, float r, int id, bool mirror = true) { return {true, c, {}, r, id, mirror}; }
inline Shape Segment(Vector2D a, Vector2D b, int id) { return {false, a, b, 0.0f, id}; }

// The collider tile: frames 0-1 the top edge, frame 2 the top and a step wall.
inline Actor TileActor() {
    Actor actor(new CollisionActor);
    auto* animation = new CollisionAnimation;
    for (int f = 0; f < 3; ++f) {
        auto* frame = new CollisionFrame;
        frame->SetBoundingRectangle({25, -25, 25, -25}, true);
        frame->AddLineSegment({f == 2 ? -22.0f : -24.0f, 18}, {24, 18}, 22, true);
        if (f == 2) {
            frame->AddLineSegment({-22, -24}, {-22, 18}, 0, true);
        }
        animation->AddCollisionFrame(frame);
    }
    actor->AddCollisionAnimation(animation);
    return actor;
}
inline Actor PlayerActor() { return MakeActor({{Circle({0, -14}, 30, 0, false)}}, {48, -48, 48, -48}); }
inline Actor FlyingEnemyActor() { return MakeActor({{Circle({0, -18}, 16, 0)}}, {48, -48, 48, -48}, 4); }
inline Actor ShotActor() { return MakeActor({{Circle({0, 0}, 10, 16)}}, {10, -10, 10, -10}); }
inline Actor BearArmActor() { return MakeActor({{Circle({0, -126}, 37, 0)}}, {165, -37, 37, -165}, 2); }
inline Actor TerrainLineActor(float width) { return MakeActor({{Segment({-width, 0}, {0, 0}, 23)}}, {0, -width, 0, 0}); }

struct Collider {
    std::uint8_t type;
    float thickness;
    std::uint8_t group;
    std::initializer_list<std::uint8_t> allows;
    bool idle;
};
inline constexpr Collider kTile{1, 8, 0, {0, 1, 2, 3}, true};
inline constexpr Collider kPlayer{1, 8, 0, {0, 1, 3}, true};
inline constexpr Collider kBullet{1, 8, 2, {0}, false};
inline constexpr Collider kFlyingEnemy{1, 8, 0, {0, 2}, false};
inline constexpr Collider kTerrainLine{1, 8, 0, {0, 3}, true};

inline DynamicObject* MakeObject(const CollisionActor* actor, const Collider& c, int animation = 0, int frame = 0) {
    auto* object = new DynamicObject;
    object->AddCollisionData(actor, animation, frame);
    object->SetCollisionType(c.type);
    object->SetCollisionThickness(c.thickness);
    object->SetBoundingRectangleCheckingTileMap(true);
    object->SetZCollision(c.group);
    for (const std::uint8_t g : c.allows) {
        object->SetCanCollid(g, true);
    }
    object->SetUpdateOnIdle(c.idle);
    return object;
}

// A hash of every record of every object of a layer, in entry order.
std::uint64_t HashRecords(const CollisionEngine& engine, std::uint8_t layer = 0);

}  // namespace scenes
