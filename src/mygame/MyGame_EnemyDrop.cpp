#include "mygame/MyGame_EnemyDrop.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_WidgetClone.h"
#include "tundra/Tundra_CollisionQueries.h"

TUN_DEFINE_CLASS(EnemyDrop)

namespace {

constexpr float kLeft = -100.0f;
constexpr float kRight = 1200.0f;
constexpr float kBottom = -100.0f;
constexpr float kTop = 1000.0f;
// The ground's scrolling speed.
constexpr float kDriftSpeed = 100.0f;
constexpr float kGrowthRate = 5.0f;
constexpr float kStartScale = 0.25f;
const Vector2D kRiseVelocity{0.0f, 5.0f};

bool IsOutside(const Vector2D& p) { return p.x < kLeft || p.x > kRight || p.y > kTop || p.y < kBottom; }

float GrowTowardFull(float scale, float dt) { return scale + (1.0f - scale) * dt * kGrowthRate; }

}  // namespace

EnemyDrop::EnemyDrop(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

EnemyDrop::EnemyDrop(const EnemyDrop& other) : Sprite(other) {}

void EnemyDrop::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0 || IsDestroyRequested()) {
        return;
    }
    if (IsOutside(GetPosition())) {
        Destroy();
        return;
    }
    SetPositionX(GetPositionX() - dt * kDriftSpeed);
    SetScale(GrowTowardFull(GetScaleX(), dt), GrowTowardFull(GetScaleY(), dt));
    if (!Tundra::IsCollidedWithSprite(GetCollisionObject(), "Player", true)) {
        return;
    }
    const MyGame* game = GetGame();
    GameLevel* stage = GetRunningStage();
    if (game != nullptr && stage != nullptr) {
        stage->AddDrops(static_cast<std::int32_t>(game->GetProfile().currentStage) + 1);
    }
    Destroy();
}

void EnemyDrop::SetPaused(bool paused) {
    if (paused) {
        Pause();
    } else {
        Play(true);
    }
}

EnemyDrop* SpawnEnemyDrop(Vector2D position) {
    auto* drop = CloneTemplateToWorld<EnemyDrop>(kEnemyDropTemplate);
    if (drop == nullptr) {
        return nullptr;
    }
    drop->SetOldPosition(position);
    drop->SetPosition(position);
    drop->SetVelocity(kRiseVelocity);
    drop->SetScale(kStartScale, kStartScale);
    return drop;
}
