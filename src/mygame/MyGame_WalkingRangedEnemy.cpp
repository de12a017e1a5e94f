#include "mygame/MyGame_WalkingRangedEnemy.h"

#include "core/Core_File.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StageTheme.h"

#include <cmath>

TUN_DEFINE_CLASS(WalkingRangedEnemy)

namespace {

constexpr float kFirstThrowDelay = 1.0f;
constexpr float kThrowInterval = 3.0f;
// The throwing animation starts this long before the throw.
constexpr float kWindUp = 0.3f;
constexpr float kDriftSpeed = 100.0f;
// The hand is this far in front of the body.
constexpr float kHandOffset = 10.0f;

// The dying animations sit at odd indices, one per theme.
bool IsDyingAnimation(int index) { return index == 1 || index == 3 || index == 5; }

}  // namespace

WalkingRangedEnemy::WalkingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Enemy(animations) {}

void WalkingRangedEnemy::Save(Core::File& file) const {
    Enemy::Save(file);
    file.WriteF32(m_throwTimer);
}

void WalkingRangedEnemy::Load(Core::File& file) {
    Enemy::Load(file);
    float throwTimer = m_throwTimer;
    file.ReadF32(throwTimer);
    if (file.HasFailed() || !std::isfinite(throwTimer)) {
        file.SetFailed();
        return;
    }
    m_throwTimer = throwTimer;
}

void WalkingRangedEnemy::OnStart() {
    Enemy::OnStart();
    m_throwTimer = kFirstThrowDelay;
}

void WalkingRangedEnemy::Update(float dt) {
    if (Globals().paused != 0) {
        return;
    }
    Enemy::Update(dt);
    SetPositionX(GetPositionX() - dt * kDriftSpeed);
    if (IsDyingAnimation(GetCurrentAnimationIndex())) {
        if (IsEndOfAnimation()) {
            SetVisible(false);
            Destroy();
        }
        return;
    }
    if (m_throwTimer < kWindUp && !IsPlaying()) {
        Play(true);
    }
    if (GetHealth() > 0.0f) {
        m_throwTimer = m_throwTimer - dt;
        if (m_throwTimer < 0.0f) {
            Throw();
            m_throwTimer = kThrowInterval;
        }
    }
    if (const Player* player = Globals().player) {
        SetFlipHorizontal(GetPositionX() <= player->GetPositionX());
    }
}

void WalkingRangedEnemy::Throw() {
    const Player* player = Globals().player;
    if (player == nullptr) {
        return;
    }
    Vector2D from = GetPosition();
    from.x = GetFlipHorizontal() ? from.x - kHandOffset : from.x + kHandOffset;
    CreateArcProjectile(Projectile::kArc, from, player->GetPosition());
}

void WalkingRangedEnemy::OnDeath() {
    SpawnDrop();
    SetCurrentAnimationIndex(GetCurrentStageTheme() * 2 + 1, false);
    SetLoop(false);
    Play(true);
    if (GameLevel* stage = GetRunningStage()) {
        stage->CountKill(GetEnemyKind());
    }
}
