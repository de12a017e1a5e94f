#include "mygame/MyGame_BossProjectile.h"

#include "core/Core_File.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ShotRules.h"
#include "mygame/MyGame_Templates.h"
#include "mygame/MyGame_WidgetClone.h"

#include <cmath>

TUN_DEFINE_CLASS(BossProjectile)

namespace {

constexpr float kStartDuration = 1.5f;
constexpr float kShotDamage = 0.05f;
constexpr float kColumnDamage = 0.1f;
constexpr float kStrikeDamage = 0.075f;
// Per frame, not per second.
constexpr float kStrikeFadeInStep = 0.04f;
constexpr float kFadeOutStep = 0.1f;
// A burst drifts back with the ground and up a little.
constexpr float kBurstRiseSpeed = 25.0f;
constexpr float kBurstDriftSpeed = 100.0f;
constexpr float kTurnedRotation = -90.0f;

constexpr ShotArea kArea{-100.0f, 1200.0f, -100.0f, 800.0f};

}  // namespace

BossProjectile::BossProjectile() : m_warningMachine(BuildBossAttWarn(this)) {}

BossProjectile::BossProjectile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations), m_warningMachine(BuildBossAttWarn(this)) {}

BossProjectile::BossProjectile(const BossProjectile& other)
    : Sprite(other),
      m_kind(other.m_kind),
      m_timer(other.m_timer),
      m_duration(other.m_duration),
      m_homePosition(other.m_homePosition),
      m_wasPlaying(other.m_wasPlaying),
      m_fading(other.m_fading),
      m_warningMachine(static_cast<StateMachine*>(other.m_warningMachine->CloneState())),
      m_timedStart(other.m_timedStart) {
    m_warningMachine->SetOwnerRecursive(this);
}

BossProjectile::~BossProjectile() = default;

void BossProjectile::Save(Core::File& file) const {
    Sprite::Save(file);
    m_warningMachine->Save(file);
    file.WriteI32(m_kind);
    file.WriteF32(m_timer);
    file.WriteF32(m_duration);
    file.WriteF32(m_homePosition.x);
    file.WriteF32(m_homePosition.y);
    file.WriteU8(m_wasPlaying);
    file.WriteU8(m_fading);
    file.WriteU8(m_timedStart);
}

void BossProjectile::Load(Core::File& file) {
    Sprite::Load(file);
    if (file.HasFailed()) {
        return;
    }
    // Read into a copy, kept only when the whole stream is sound.
    const Core::RefPtr<StateMachine> machine(static_cast<StateMachine*>(m_warningMachine->CloneState()));
    machine->Load(file);
    std::int32_t kind = 0;
    float timer = 0.0f;
    float duration = 0.0f;
    Vector2D home;
    std::uint8_t wasPlaying = 0;
    std::uint8_t fading = 0;
    std::uint8_t timedStart = 0;
    file.ReadI32(kind);
    file.ReadF32(timer);
    file.ReadF32(duration);
    file.ReadF32(home.x);
    file.ReadF32(home.y);
    file.ReadU8(wasPlaying);
    file.ReadU8(fading);
    file.ReadU8(timedStart);
    if (kind < 0 || kind >= kKindCount || !std::isfinite(timer) || !std::isfinite(duration) || !Math::IsFinite(home) ||
        wasPlaying > 1 || fading > 1 || timedStart > 1) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_warningMachine = machine;
    m_kind = kind;
    m_timer = timer;
    m_duration = duration;
    m_homePosition = home;
    m_wasPlaying = wasPlaying;
    m_fading = fading;
    m_timedStart = timedStart;
}

void BossProjectile::OnStart() {
    Sprite::OnStart();
    m_timer = 0.0f;
    m_fading = 0;
    if (m_timedStart == 0) {
        m_duration = kStartDuration;
        m_homePosition = GetPosition();
    }
}

void BossProjectile::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0 || IsDestroyRequested()) {
        return;
    }
    // Held: hurting the player reaches into the stage, which may let go of
    // this shot meanwhile.
    const Core::RefPtr<BossProjectile> self(GetReferenceCount() > 0 ? this : nullptr);
    switch (m_kind) {
        case kWarningMarker:
            UpdateWarningMarker(dt);
            break;
        case kFlyingShot:
            UpdateFlyingShot(dt);
            break;
        case kColumn:
            UpdateColumn();
            break;
        case kStrike:
            UpdateStrike(dt);
            break;
        case kLeftFadingShot:
        case kRightFadingShot:
            UpdateFadingShot();
            break;
        default:
            break;
    }
}

// The bob runs on in the frame the marker goes.
void BossProjectile::UpdateWarningMarker(float dt) {
    m_timer += dt;
    if (m_timer > m_duration) {
        Destroy();
    }
    m_warningMachine->Update(dt);
}

void BossProjectile::UpdateFlyingShot(float dt) {
    if (IsOutside(GetPosition(), kArea)) {
        Play(true);
        SetVelocity({0.0f, 0.0f});
    }
    if (HurtOpenPlayerOnContact(GetCollisionObject(), kShotDamage)) {
        Play(true);
        SetVelocity({0.0f, 0.0f});
    }
    if (IsPlaying()) {
        SetPosition({GetPositionX() - dt * kBurstDriftSpeed, GetPositionY() + dt * kBurstRiseSpeed});
    }
    if (IsEndOfAnimation()) {
        Destroy();
    }
}

// Only the player's x counts: the column reaches from the ground to the sky.
void BossProjectile::UpdateColumn() {
    if (IsEndOfAnimation()) {
        Destroy();
        return;
    }
    const GamePlayer* player = OpenPlayer();
    if (player == nullptr) {
        return;
    }
    const float halfWidth = static_cast<float>(GetFrameHeight(kColumn) / 2);
    const float x = GetPositionX();
    const float playerX = player->GetPositionX();
    if (x - halfWidth <= playerX && playerX <= x + halfWidth) {
        DamageStagePlayer(kColumnDamage);
    }
}

// Waits out its duration, fades in, then hits while it plays once.
void BossProjectile::UpdateStrike(float dt) {
    m_timer += dt;
    if (m_timer <= m_duration) {
        return;
    }
    if (IsEndOfAnimation()) {
        Destroy();
        return;
    }
    if (GetOpacity() < 1.0f) {
        SetOpacity(GetOpacity() + kStrikeFadeInStep);
        return;
    }
    if (HurtOpenPlayerOnContact(GetCollisionObject(), kStrikeDamage)) {
        SetVelocity({0.0f, 0.0f});
    }
    if (!IsPlaying()) {
        SetLoop(false);
        Play(true);
    }
}

void BossProjectile::UpdateFadingShot() {
    if (IsOutside(GetPosition(), kArea)) {
        Destroy();
        return;
    }
    if (HurtOpenPlayerOnContact(GetCollisionObject(), kShotDamage)) {
        m_fading = 1;
    }
    if (m_fading != 0) {
        if (GetOpacity() > 0.0f) {
            SetOpacity(GetOpacity() - kFadeOutStep);
        } else {
            SetOpacity(0.0f);
            m_fading = 0;
        }
    }
    if (GetOpacity() <= 0.0f) {
        Destroy();
    }
}

void BossProjectile::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }

BossProjectile* BossProjectile::Create(std::int32_t kind, const Vector2D& position) {
    if (kind < 0 || kind >= kKindCount || !Math::IsFinite(position)) {
        return nullptr;
    }
    auto* projectile = CloneTemplateToWorld<BossProjectile>(kBossProjTemplate);
    if (projectile == nullptr) {
        return nullptr;
    }
    projectile->SetPosition(position);
    projectile->SetOldPosition(position);
    projectile->m_kind = kind;
    projectile->SetCurrentAnimationIndex(kind, false);
    return projectile;
}

BossProjectile* CreateBossProjectileMoving(std::int32_t kind, Vector2D position, Vector2D velocity) {
    if (!Math::IsFinite(velocity)) {
        return nullptr;
    }
    BossProjectile* projectile = BossProjectile::Create(kind, position);
    if (projectile != nullptr) {
        projectile->SetVelocity(velocity);
    }
    return projectile;
}

// The layer starts the clone at its next update, after this returns: the
// start keeps what is set here.
BossProjectile* CreateBossProjectileTimed(std::int32_t kind, Vector2D position, float duration) {
    if (!std::isfinite(duration)) {
        return nullptr;
    }
    BossProjectile* projectile = BossProjectile::Create(kind, position);
    if (projectile != nullptr) {
        projectile->m_duration = duration;
        projectile->m_homePosition = position;
        projectile->m_timedStart = 1;
    }
    return projectile;
}

BossProjectile* CreateBossProjectileTurned(std::int32_t kind, Vector2D position) {
    BossProjectile* projectile = BossProjectile::Create(kind, position);
    if (projectile != nullptr) {
        projectile->SetRotationAngle(kTurnedRotation);
    }
    return projectile;
}
