#include "support/Collision_CircleShape.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "tundra/Tundra_Game.h"

namespace testsupport {

Collision2D::DynamicObject* MakeCircleShape(Tundra::Game& game, float radius, int userId) {
    auto* frame = new Collision2D::CollisionFrame;
    frame->SetBoundingRectangle({radius, -radius, radius, -radius}, true);
    frame->AddCircle({0.0f, 0.0f}, radius, userId, true);
    auto* animation = new Collision2D::CollisionAnimation;
    animation->AddCollisionFrame(frame);
    auto* actor = new Collision2D::CollisionActor;
    actor->AddCollisionAnimation(animation);
    game.AddCollisionAssets(actor);
    auto* object = new Collision2D::DynamicObject;
    object->AddCollisionData(actor, 0, 0);
    object->SetCollisionType(1);
    object->SetCanCollid(0, true);
    return object;
}

}  // namespace testsupport
