#include "mygame/MyGame_RollingSpike.h"

#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_RunningStage.h"
#include "tundra/Tundra_CollisionQueries.h"

TUN_DEFINE_CLASS(RollingSpike)

namespace {

constexpr float kDriftSpeed = 60.0f;
// Degrees a second of spin per unit of speed, and at rest.
constexpr float kSpinPerSpeed = 50.0f;
constexpr float kRestingSpin = 150.0f;
// Every frame of contact, blinking or not.
constexpr float kContactDamage = 0.005f;

}  // namespace

RollingSpike::RollingSpike(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}

void RollingSpike::Update(float dt) {
    if (Globals().paused != 0) {
        return;
    }
    Enemy::Update(dt);
    // Alive it rolls with its animation stopped; its death plays it.
    if (!IsPlaying() && !IsDead()) {
        SetPositionX(GetPositionX() - dt * kDriftSpeed);
        Vector2D velocity;
        GetVelocity(velocity);
        SetAngularVelocity(velocity.Length() * kSpinPerSpeed + kRestingSpin);
        GameLevel* stage = GetRunningStage();
        if (stage != nullptr && Tundra::IsCollidedWithSprite(GetCollisionObject(), "Player", true)) {
            stage->DamagePlayer(kContactDamage);
        }
    }
    if (IsEndOfAnimation()) {
        SetVisible(false);
        Destroy();
    }
}

void RollingSpike::OnDeath() {
    SpawnDrop();
    Play(true);
    if (GameLevel* stage = GetRunningStage()) {
        stage->CountKill(GetEnemyKind());
    }
}
