#include "mygame/MyGame_BearBoss.h"

#include "core/Core_File.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

TUN_DEFINE_CLASS(BearBoss)

namespace {

constexpr float kOpeningLength = 1.0f;
constexpr float kOpeningMarkerTime = 0.8f;
constexpr float kColumnDepth = 4.0f;
constexpr float kFightX = 900.0f;
constexpr float kBodyRise = 217.0f;
constexpr float kArmDamage = 0.01f;
constexpr float kFadeStep = 0.01f;
constexpr int kBearDeathAnimation = 2;
constexpr int kArmDeathAnimation = 1;
const Vector2D kPushBack{-80.0f, 50.0f};
// Markers and columns of the opening, left to right as they are made.
constexpr float kOpeningXs[] = {900.0f, 1000.0f, 800.0f};

constexpr const char* kLeftArmName = "BearLArm";
constexpr const char* kRightArmName = "BearRArm";

// A part read from a stream is the level's object of that name, or none.
bool IsPartNamed(const Tundra::GameObject* part, const char* name) {
    return part == nullptr || (StaysInItsLayer(part) && part->GetName() == name);
}

bool TouchesPlayer(const Tundra::Sprite* arm) {
    return arm != nullptr && Tundra::IsCollidedWithSprite(arm->GetCollisionObject(), "Player", true);
}

}  // namespace

BearBoss::BearBoss() : m_machine(BuildBearMachine(this)) {}

BearBoss::BearBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Enemy(animations), m_machine(BuildBearMachine(this)) {}

BearBoss::BearBoss(const BearBoss& other)
    : Enemy(other),
      m_rightArmAngle(other.m_rightArmAngle),
      m_leftArmAngle(other.m_leftArmAngle),
      m_cooldown(other.m_cooldown),
      m_attacking(other.m_attacking),
      m_attackChoice(other.m_attackChoice),
      m_strikeTarget(other.m_strikeTarget),
      m_armsDangerous(other.m_armsDangerous),
      m_active(other.m_active),
      m_color(other.m_color),
      m_swingCount(other.m_swingCount),
      m_verticalOffset(other.m_verticalOffset),
      m_openingDone(other.m_openingDone),
      m_openingTimer(other.m_openingTimer),
      m_markersPlaced(other.m_markersPlaced),
      m_machine(static_cast<StateMachine*>(other.m_machine->CloneState())) {
    m_machine->SetOwnerRecursive(this);
}

BearBoss::~BearBoss() = default;

void BearBoss::Activate(float verticalOffset) {
    if (!std::isfinite(verticalOffset)) {
        return;
    }
    m_verticalOffset = verticalOffset;
    m_active = 1;
}

void BearBoss::OnStart() {
    Enemy::OnStart();
    m_leftArm = Tundra::FindObject<Tundra::Sprite>(kLeftArmName);
    m_rightArm = Tundra::FindObject<Tundra::Sprite>(kRightArmName);
    m_leftArmAngle = 0.0f;
    m_rightArmAngle = 0.0f;
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr && arm->GetMount() != this) {
            Mount(arm);
        }
    }
    m_cooldown = kStartCooldown;
    m_verticalOffset = 0.0f;
    m_attacking = 0;
    m_openingTimer = 0.0f;
    m_armsDangerous = 0;
    m_active = 0;
    m_openingDone = 0;
    m_markersPlaced = 0;
    m_swingCount = 0;
    m_healthBarFrame = Tundra::FindObject<Tundra::Sprite>(kBossBarFrameName);
    m_bossHealthBar = Tundra::FindObject<BossHp>(kBossBarName);
    m_color = GetModulationColor();
}

void BearBoss::OnHealthChanged() {
    Enemy::OnHealthChanged();
    if (m_bossHealthBar) {
        m_bossHealthBar->SetHealth(GetHealth());
    }
}

// A burning boss no longer runs the enemy's update, which would end the burn.
void BearBoss::OnDeath() {
    EndDebuff();
    SetCurrentAnimationIndex(kBearDeathAnimation, false);
    Play(true);
    SetLoop(false);
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr) {
            arm->SetCurrentAnimationIndex(kArmDeathAnimation, false);
            arm->Play(true);
            arm->SetLoop(false);
        }
    }
    if (m_healthBarFrame) {
        m_healthBarFrame->SetVisible(false);
    }
    if (m_bossHealthBar) {
        m_bossHealthBar->SetVisible(false);
    }
}

void BearBoss::Destroy() {
    // The live list may hold the last reference.
    const Core::RefPtr<BearBoss> self(GetReferenceCount() > 0 ? this : nullptr);
    Enemy::Destroy();
    for (const Core::RefPtr<Tundra::Sprite>& arm : {m_leftArm, m_rightArm}) {
        if (arm) {
            arm->Destroy();
        }
    }
}

void BearBoss::Update(float dt) {
    if (Globals().paused != 0) {
        return;
    }
    if (m_active != 0) {
        if (m_openingDone == 0) {
            UpdateOpening(dt);
        } else if (GetHealth() > 0.0f) {
            UpdateFight(dt);
        } else {
            UpdateDying();
        }
    }
    m_color = GetModulationColor();
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr) {
            arm->SetModulationColor(m_color);
        }
    }
}

// Three markers at once, three columns a second later, then the boss steps
// into place; the fight starts with the next frame.
void BearBoss::UpdateOpening(float dt) {
    if (m_markersPlaced == 0) {
        for (float x : kOpeningXs) {
            CreateBossProjectileTimed(BossProjectile::kWarningMarker, {x, kMarkerHeight}, kOpeningMarkerTime);
        }
        m_markersPlaced = 1;
    }
    m_openingTimer = m_openingTimer + dt;
    if (m_openingTimer < kOpeningLength) {
        return;
    }
    for (float x : kOpeningXs) {
        if (BossProjectile* column = CreateBossProjectileTurned(BossProjectile::kColumn, {x, kColumnHeight})) {
            column->SetZOrder(kColumnDepth);
            column->SetLoop(false);
            column->Play(true);
        }
    }
    SetPosition({kFightX, m_verticalOffset + kBodyRise});
    if (m_healthBarFrame) {
        m_healthBarFrame->SetPosition({kFightX, m_verticalOffset + kBossBarFrameRise});
    }
    if (m_bossHealthBar) {
        m_bossHealthBar->SetPosition({kFightX, m_verticalOffset + kBossBarRise});
        m_bossHealthBar->SetAnchorX(kFightX);
    }
    m_openingDone = 1;
}

// The arms hurt and push back on every frame of contact: no invulnerability
// holds them off.
void BearBoss::UpdateFight(float dt) {
    Enemy::Update(dt);
    m_machine->Update(dt);
    if (m_armsDangerous == 0 || !(TouchesPlayer(m_rightArm.Get()) || TouchesPlayer(m_leftArm.Get()))) {
        return;
    }
    if (GameLevel* stage = GetRunningStage()) {
        stage->DamagePlayer(kArmDamage);
        if (Player* player = stage->GetPlayer()) {
            player->SetVelocity(kPushBack);
        }
    }
}

// Once the death animation has ended the boss fades out, then hides and
// tells the stage it is beaten.
void BearBoss::UpdateDying() {
    if (GetCurrentAnimationIndex() != kBearDeathAnimation || !IsEndOfAnimation()) {
        return;
    }
    if (GetOpacity() > 0.0f) {
        SetOpacity(GetOpacity() - kFadeStep);
        return;
    }
    if (GameLevel* stage = GetRunningStage()) {
        stage->SetCleared();
    }
    SetVisible(false);
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr) {
            arm->SetVisible(false);
        }
    }
}

void BearBoss::Save(Core::File& file) const {
    Enemy::Save(file);
    file << m_leftArm;
    file << m_rightArm;
    file.WriteF32(m_rightArmAngle);
    file.WriteF32(m_leftArmAngle);
    file.WriteF32(m_cooldown);
    file.WriteU8(m_attacking);
    file.WriteI32(m_attackChoice);
    WriteVector(file, m_strikeTarget);
    file.WriteU8(m_armsDangerous);
    file.WriteU8(m_active);
    file << m_healthBarFrame;
    file << m_bossHealthBar;
    for (float channel : {m_color.r, m_color.g, m_color.b, m_color.a}) {
        file.WriteF32(channel);
    }
    file.WriteI32(m_swingCount);
    file.WriteF32(m_verticalOffset);
    file.WriteU8(m_openingDone);
    file.WriteF32(m_openingTimer);
    file.WriteU8(m_markersPlaced);
    m_machine->Save(file);
}

void BearBoss::Load(Core::File& file) {
    Enemy::Load(file);
    if (file.HasFailed()) {
        return;
    }
    Core::RefPtr<Tundra::Sprite> leftArm;
    Core::RefPtr<Tundra::Sprite> rightArm;
    Core::RefPtr<Tundra::Sprite> healthBarFrame;
    Core::RefPtr<BossHp> bossHealthBar;
    float rightArmAngle = m_rightArmAngle;
    float leftArmAngle = m_leftArmAngle;
    float cooldown = m_cooldown;
    std::uint8_t attacking = m_attacking;
    std::int32_t attackChoice = m_attackChoice;
    Vector2D strikeTarget = m_strikeTarget;
    std::uint8_t armsDangerous = m_armsDangerous;
    std::uint8_t active = m_active;
    Color color = m_color;
    std::int32_t swingCount = m_swingCount;
    float verticalOffset = m_verticalOffset;
    std::uint8_t openingDone = m_openingDone;
    float openingTimer = m_openingTimer;
    std::uint8_t markersPlaced = m_markersPlaced;
    file >> leftArm;
    file >> rightArm;
    ReadFinite(file, rightArmAngle);
    ReadFinite(file, leftArmAngle);
    ReadFinite(file, cooldown);
    ReadFlagByte(file, attacking);
    file.ReadI32(attackChoice);
    ReadVector(file, strikeTarget);
    ReadFlagByte(file, armsDangerous);
    ReadFlagByte(file, active);
    file >> healthBarFrame;
    file >> bossHealthBar;
    for (float* channel : {&color.r, &color.g, &color.b, &color.a}) {
        ReadFinite(file, *channel);
    }
    file.ReadI32(swingCount);
    ReadFinite(file, verticalOffset);
    ReadFlagByte(file, openingDone);
    ReadFinite(file, openingTimer);
    ReadFlagByte(file, markersPlaced);
    const bool linksStay = IsPartNamed(leftArm.Get(), kLeftArmName) && IsPartNamed(rightArm.Get(), kRightArmName) &&
                           IsPartNamed(healthBarFrame.Get(), kBossBarFrameName) &&
                           IsPartNamed(bossHealthBar.Get(), kBossBarName);
    if (!linksStay || attackChoice < kNoAttack || attackChoice > kLightning || swingCount < 0) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_machine->Load(file);
    if (file.HasFailed()) {
        return;
    }
    m_leftArm = leftArm;
    m_rightArm = rightArm;
    m_rightArmAngle = rightArmAngle;
    m_leftArmAngle = leftArmAngle;
    m_cooldown = cooldown;
    m_attacking = attacking;
    m_attackChoice = attackChoice;
    m_strikeTarget = strikeTarget;
    m_armsDangerous = armsDangerous;
    m_active = active;
    m_healthBarFrame = healthBarFrame;
    m_bossHealthBar = bossHealthBar;
    m_color = color;
    m_swingCount = swingCount;
    m_verticalOffset = verticalOffset;
    m_openingDone = openingDone;
    m_openingTimer = openingTimer;
    m_markersPlaced = markersPlaced;
}
