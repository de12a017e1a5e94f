#pragma once

#include "collision/Collision_CollisionActor.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_GameObject.h"

#include <memory>

// The standing line on top of a raised block of the ground: an invisible
// object named "bgCollider" whose collision object is one horizontal
// segment (number 23, which the player's ground test looks for) ending at
// the object's position.
class HorizontalLineSprite : public Tundra::GameObject {
    TUN_DECLARE_CLASS(HorizontalLineSprite);
    // For the class registry: no line and no collision object.
    HorizontalLineSprite() = default;
    // The line from x - width to x, added with its collision object to the
    // world layer of the running game (without one it stays outside every layer).
    HorizontalLineSprite(const Vector2D& position, float width);
    // The copy of the collision object gets collision records of its own.
    HorizontalLineSprite(const HorizontalLineSprite& other);
    ~HorizontalLineSprite() override = default;

    // Removes the collision object and frees its records (a second end
    // finds nothing left to free).
    void OnEnd() override;

    float GetWidth() const { return m_width; }
    // The actor the collision object was built from; null once freed.
    const Collision2D::CollisionActor* GetCollisionActor() const { return m_actor.get(); }

private:
    struct ActorDeleter {
        void operator()(Collision2D::CollisionActor* actor) const { Collision2D::FreeCollisionActor(actor); }
    };
    using OwnedActor = std::unique_ptr<Collision2D::CollisionActor, ActorDeleter>;

    // One animation with one frame: the segment and its bounding rectangle.
    static OwnedActor MakeCollisionActor(float width);

    float m_width = 0.0f;
    // Owns its animation and frame; freed by the end hook, else with the object.
    OwnedActor m_actor;
};
