#include "mygame/MyGame_HorizontalLineSprite.h"

#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame.h"
#include "tundra/Tundra_Layer.h"

TUN_DEFINE_CLASS(HorizontalLineSprite)

namespace {

constexpr int kGroundSegmentNumber = 23;
constexpr float kLineThickness = 8.0f;
constexpr std::uint8_t kLineGroup = 0;
// The groups that stand on ground: the player's and the walkers'.
constexpr std::uint8_t kStandingGroups[] = {0, 3};

}  // namespace

HorizontalLineSprite::OwnedActor HorizontalLineSprite::MakeCollisionActor(float width) {
    OwnedActor actor(TUN_NEW(Collision2D::CollisionActor));
    auto* animation = TUN_NEW(Collision2D::CollisionAnimation);
    actor->AddCollisionAnimation(animation);
    auto* frame = TUN_NEW(Collision2D::CollisionFrame);
    animation->AddCollisionFrame(frame);
    frame->SetBoundingRectangle({0.0f, -width, 0.0f, 0.0f}, true);
    frame->AddLineSegment({-width, 0.0f}, {0.0f, 0.0f}, kGroundSegmentNumber, true);
    return actor;
}

HorizontalLineSprite::HorizontalLineSprite(const Vector2D& position, float width)
    : m_width(width), m_actor(MakeCollisionActor(width)) {
    SetName("bgCollider");
    SetPosition(position);
    MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (world == nullptr) {
        return;
    }
    auto* object = TUN_NEW(Collision2D::DynamicObject);
    object->AddCollisionData(m_actor.get(), 0, 0);
    object->SetCollisionType(1);
    object->SetCollisionThickness(kLineThickness);
    object->SetZCollision(kLineGroup);
    for (const std::uint8_t group : kStandingGroups) {
        object->SetCanCollid(group, true);
    }
    object->SetUpdateOnIdle(true);
    AddCollision(object, world->GetCollisionId());
    world->AddGameObject(this);
    SetOldPosition(position);
}

HorizontalLineSprite::HorizontalLineSprite(const HorizontalLineSprite& other)
    : GameObject(other), m_width(other.m_width) {
    if (other.m_actor == nullptr) {
        return;
    }
    m_actor = MakeCollisionActor(m_width);
    // The copied collision object still names the other's actor.
    if (Collision2D::DynamicObject* object = GetCollisionObject()) {
        object->AddCollisionData(m_actor.get(), 0, 0);
    }
}

void HorizontalLineSprite::OnEnd() {
    GameObject::OnEnd();
    // The collision object goes first, so nothing names the freed actor.
    RemoveCollision();
    m_actor.reset();
}
