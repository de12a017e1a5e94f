#pragma once

#include <array>
#include <cstdint>

namespace Collision2D {
class CollisionActor;
}
class MyLevelFactory;

constexpr std::uint32_t kCollisionActorCount = 65;
using CollisionActorTable = std::array<Collision2D::CollisionActor*, kCollisionActorCount>;

// The authored objects of every level: what the level factory asks of the
// content while it builds a level.
class LevelContent {
public:
    virtual ~LevelContent() = default;
    // Builds the actors into the table; the game's collision-asset list
    // owns them.
    virtual void LoadCollisionActors(MyLevelFactory& factory) = 0;
    // Places the objects of layer `layer` of level `level` on the factory's
    // current layer of that index, then reads the layer's static-collision
    // file.
    virtual void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) = 0;
    // Forgets every handle to a placed object: the level is going.
    virtual void ForgetObjects() = 0;
};
