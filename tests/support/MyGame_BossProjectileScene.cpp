#include "support/MyGame_BossProjectileScene.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionFrame.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_MyLevelFactory.h"

#include <vector>

namespace mygametest {

TUN_DEFINE_CLASS(ActingObject)

namespace {

constexpr int kActor = 64;

struct ShotFrame {
    Collision2D::TunRect rectangle;
    // Radius 0: no circle.
    Vector2D centre{};
    float radius = 0.0f;
};

// Per animation, its frames: the marker, the Bear's ball, the lightning
// column, the Alpaca's strike and the final boss's two shots.
std::vector<std::vector<ShotFrame>> ShotShapes() {
    const Collision2D::TunRect square52{52.0f, -52.0f, 52.0f, -52.0f};
    const Collision2D::TunRect square61{61.0f, -61.0f, 61.0f, -61.0f};
    const ShotFrame plain52{square52};
    const ShotFrame strike{square52, {0.0f, -1.0f}, 35.0f};
    return {
        {{{45.0f, -28.0f, 28.0f, -45.0f}}},
        {{square52, {1.0f, 0.0f}, 33.0f}, plain52, plain52, {{52.0f, -52.0f, 53.0f, -53.0f}},
         {{52.0f, -52.0f, 53.0f, -53.0f}}},
        std::vector<ShotFrame>(10, ShotFrame{{40.0f, -450.0f, 450.0f, -40.0f}}),
        {plain52, strike, strike, strike, plain52},
        {{square61, {0.0f, 0.0f}, 46.0f}, {square61}},
        {{square61, {-4.0f, -2.0f}, 41.0f}, {square61}},
    };
}

void FillShotActor(Collision2D::CollisionActor& actor) {
    for (const std::vector<ShotFrame>& frames : ShotShapes()) {
        auto* animation = TUN_NEW(Collision2D::CollisionAnimation);
        for (const ShotFrame& shapes : frames) {
            auto* frame = TUN_NEW(Collision2D::CollisionFrame);
            frame->SetBoundingRectangle(shapes.rectangle, true);
            if (shapes.radius > 0.0f) {
                frame->AddCircle(shapes.centre, shapes.radius, 0, true);
            }
            animation->AddCollisionFrame(frame);
        }
        actor.AddCollisionAnimation(animation);
    }
}

}  // namespace

void PlaceBossProjTemplate(const LayerBuild& build) {
    Collision2D::CollisionActor* actor = build.factory.GetCollisionActors()[kActor];
    if (actor != nullptr && actor->GetAnimationCount() == 0) {
        FillShotActor(*actor);
    }
    PlaceSpriteRow(build, {.name = "BossProjTemplate",
                           .make = &MakeSprite<BossProjectile>,
                           .animations = {{"BossAttWarn", 1, 1, Delays(1, 0.25f)},
                                          {"BearBall", 3, 2, Delays(5, 0.1f)},
                                          {"BearLightning", 2, 5, DelayRuns({{0.01f, 1}, {0.02f, 9}})},
                                          {"AlpacaBomb", 3, 2, {0.25f, 0.2f, 0.15f, 0.1f, 0.1f}},
                                          {"UnLeft", 2, 1, Delays(2)},
                                          {"UnRight", 2, 1, Delays(2)}},
                           .actorIndex = kActor,
                           .collider = ColliderSettings{1, 8.0f, 1, {0}, true},
                           .position = {-578.0f, 773.0f},
                           .z = 3.5f,
                           .stopped = true,
                           .animation = BossProjectile::kFlyingShot,
                           .body = BodySettings{0.0f, std::nullopt}});
}

void ActingObject::Update(float dt) {
    GameObject::Update(dt);
    if (!m_action) {
        return;
    }
    if (m_everyFrame) {
        m_action();
        return;
    }
    const std::function<void()> action = std::move(m_action);
    m_action = nullptr;
    action();
    Destroy();
}

}  // namespace mygametest
