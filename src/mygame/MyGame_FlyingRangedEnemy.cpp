#include "mygame/MyGame_FlyingRangedEnemy.h"

#include "core/Core_File.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StageTheme.h"
#include "tundra/Tundra_Game.h"

#include <cmath>

TUN_DEFINE_CLASS(FlyingRangedEnemy)

namespace {

constexpr float kFirstShotDelay = 4.5f;
constexpr float kPathSpeed = 100.0f;
// The followers run at 100 units a second; flyers take 80.
constexpr float kFlightShare = 0.8f;
constexpr float kRingRadius = 80.0f;
// Radians a second around the ring.
constexpr float kRingTurnRate = 0.4f;
// Physics units of the shot's speed, and the spread of its aim in x.
constexpr float kShotSpeed = 30.0f;
constexpr std::int32_t kAimSpread = 30;
// The player's body velocity in world units per physics unit.
constexpr float kPhysicsToWorld = 15.0f;
// The fall grows by this factor a frame, and drifts 1 unit a frame left.
constexpr float kFallGrowth = 1.025f;
constexpr float kFallDrift = 1.0f;

const char* const kPathNames[FlyingRangedEnemy::kPathCount] = {
    "FlyingRangedEnemy_path1", "FlyingRangedEnemy_path2", "FlyingRangedEnemy_path3"};

}  // namespace

FlyingRangedEnemy::FlyingRangedEnemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Enemy(animations) {
    for (std::size_t i = 0; i < kPathCount; ++i) {
        PathFollower& follower = m_followers[i];
        follower.curve = TUN_NEW(Tundra::CompositeBezierCurve,
                                 Tundra::Game::GetDirectory() + "\\Resources\\Paths\\" + kPathNames[i]);
        follower.speed = kPathSpeed;
        follower.loop = 0;
    }
}

void FlyingRangedEnemy::Save(Core::File& file) const {
    Enemy::Save(file);
    for (const PathFollower& follower : m_followers) {
        follower.Save(file);
    }
    file.WriteF32(m_formationAngle);
    file << m_flightPosition;
    file.WriteI32(m_state);
    file.WriteF32(m_shotTimer);
    file.WriteI32(m_flightPattern);
}

void FlyingRangedEnemy::Load(Core::File& file) {
    Enemy::Load(file);
    std::array<PathFollower, kPathCount> followers = m_followers;
    for (PathFollower& follower : followers) {
        follower.Load(file);
    }
    float formationAngle = m_formationAngle;
    Vector2D flightPosition = m_flightPosition;
    std::int32_t state = m_state;
    float shotTimer = m_shotTimer;
    std::int32_t flightPattern = m_flightPattern;
    file.ReadF32(formationAngle);
    file >> flightPosition;
    file.ReadI32(state);
    file.ReadF32(shotTimer);
    file.ReadI32(flightPattern);
    if (file.HasFailed() || !std::isfinite(formationAngle) || !Math::IsFinite(flightPosition) ||
        (state != kFlying && state != kDying) || !std::isfinite(shotTimer)) {
        file.SetFailed();
        return;
    }
    m_followers = followers;
    m_formationAngle = formationAngle;
    m_flightPosition = flightPosition;
    m_state = state;
    m_shotTimer = shotTimer;
    m_flightPattern = flightPattern;
}

void FlyingRangedEnemy::OnStart() {
    Enemy::OnStart();
    m_flightPosition = GetPosition();
    m_shotTimer = kFirstShotDelay;
    m_state = kFlying;
}

void FlyingRangedEnemy::Update(float dt) {
    if (Globals().paused != 0) {
        return;
    }
    Enemy::Update(dt);
    if (GetHealth() > 0.0f) {
        m_shotTimer = m_shotTimer - dt;
        if (m_shotTimer < 0.0f) {
            Shoot();
            m_shotTimer = RandomFloat(2.5f, 3.5f);
        }
    }
    if (m_state == kFlying) {
        Fly(dt);
    } else if (m_state == kDying) {
        Fall();
    }
}

// Patterns 1 to 3 follow their path; 4 circles the first path's point (and
// hovers without that path: there is no point to circle); any other pattern
// hovers where it is.
void FlyingRangedEnemy::Fly(float dt) {
    Vector2D direction;
    if (m_flightPattern >= 1 && m_flightPattern <= static_cast<std::int32_t>(kPathCount)) {
        m_followers[static_cast<std::size_t>(m_flightPattern - 1)].Advance(dt * kFlightShare, m_flightPosition,
                                                                            direction);
    } else if (m_flightPattern == kRingPattern && m_followers[0].HasPath()) {
        m_followers[0].Advance(dt * kFlightShare, m_flightPosition, direction);
        m_flightPosition += Vector2D{std::cos(m_formationAngle) * kRingRadius, std::sin(m_formationAngle) * kRingRadius};
        m_formationAngle = m_formationAngle + dt * kRingTurnRate;
    }
    SetPosition(m_flightPosition);
}

// Drifts left and falls ever faster; gone once its death has played.
void FlyingRangedEnemy::Fall() {
    if (IsEndOfAnimation()) {
        Destroy();
    }
    SetEffectFactor(GetEffectFactor() * kFallGrowth);
    m_flightPosition.y -= GetEffectFactor();
    m_flightPosition.x -= kFallDrift;
    SetPosition(m_flightPosition);
}

void FlyingRangedEnemy::Shoot() {
    const Player* player = Globals().player;
    if (player == nullptr) {
        return;
    }
    Vector2D velocity;
    player->GetVelocity(velocity);
    Vector2D aim = player->GetPosition() - GetPosition();
    aim.x = aim.x + static_cast<float>(RandomInt(-kAimSpread, kAimSpread)) + velocity.x * kPhysicsToWorld;
    aim.Normalize();
    CreateProjectile(Projectile::kStraight, GetPosition(), aim * kShotSpeed);
}

void FlyingRangedEnemy::OnDeath() {
    SpawnDrop();
    m_state = kDying;
    m_flightPosition = GetPosition();
    SetCurrentAnimationIndex(GetCurrentStageTheme() * 2 + 1, false);
    SetLoop(false);
    if (GameLevel* stage = GetRunningStage()) {
        stage->CountKill(GetEnemyKind());
    }
}
