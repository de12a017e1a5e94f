#include "mygame/MyGame_UnknownBoss.h"

#include "core/Core_File.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_SkyGradient.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

TUN_DEFINE_CLASS(UnknownBoss)

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kUnknownBossDeathAnimation = 1;

// Where the fight is held: the body stands at x 900 (or 124 on the left)
// and 217 above the ground; the bar 513 and its frame 517 above it.
constexpr float kStandX = 900.0f;
constexpr float kLeftStandX = 124.0f;
constexpr float kStandHeight = 217.0f;
constexpr float kBarHeight = 513.0f;
constexpr float kBarFrameHeight = 517.0f;
const Vector2D kRightHome{830.0f, 430.0f};
const Vector2D kLeftHome{194.0f, 430.0f};

// The opening: steps a frame.
constexpr float kGlideX = 4.0f;
constexpr float kGlideY = 7.0f;
constexpr float kOpeningFade = 0.01f;
// The sky: darkened to these reds, brightened back to 1 as it dies.
constexpr float kSkyDarkenStep = 0.015f;
constexpr float kSkyBrightenStep = 0.008f;
constexpr float kOpeningSkyRed = 0.8f;
constexpr float kPhaseTwoSkyRed = 0.1f;
constexpr float kDyingFade = 0.006f;

// Teleports: none in the first seconds, then one chance in 50 a frame.
constexpr float kTeleportRest = 4.0f;
constexpr std::int32_t kTeleportOdds = 49;
constexpr float kTeleportFadeOut = 0.04f;
constexpr float kTeleportFadeIn = 0.02f;

constexpr float kContactDamage = 0.01f;
constexpr float kPhaseTwoHealth = 0.5f;
constexpr std::int32_t kEyeFrames = 3;
constexpr float kShotSpeed = 40.0f;
// Body velocities are physics units; aiming leads by the player's in world units.
constexpr float kVelocityToWorld = 15.0f;
constexpr float kUpperShotDepth = 3.31f;
constexpr float kLowerShotDepth = 3.11f;

// Each phase's pace.
struct Pace {
    float orbitFactor;
    float eyeInterval;
    float leftCharge;
    float leftCooldown;
    float rightCharge;
    float rightCooldown;
    float partFadeIn;
};
constexpr Pace kPhaseOne{0.5f, 1.0f, 0.5f, 2.0f, 0.5f, 2.5f, 0.02f};
constexpr Pace kPhaseTwo{0.6f, 0.7f, 0.3f, 0.75f, 0.4f, 1.25f, 0.04f};

}  // namespace

UnknownBoss::UnknownBoss() = default;

UnknownBoss::UnknownBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}

UnknownBoss::UnknownBoss(const UnknownBoss& other) : Enemy(other), m_fight(other.m_fight) {}

UnknownBoss::~UnknownBoss() = default;

void UnknownBoss::Save(Core::File& file) const {
    Enemy::Save(file);
    const FightValues& v = m_fight;
    file.WriteF32(v.leftCooldown);
    file.WriteF32(v.orbitStep);
    WriteVector(file, v.home);
    file.WriteF32(v.eyeTimer);
    file.WriteU8(v.leftFadingIn);
    file.WriteU8(v.rightFadingIn);
    file.WriteF32(v.leftCharge);
    file.WriteF32(v.rightCharge);
    file.WriteF32(v.rightCooldown);
    file << v.color;
    file.WriteU8(v.active);
    file.WriteU8(v.openingDone);
    file.WriteI32(v.verticalOffset);
    file.WriteU8(v.teleporting);
    file.WriteU8(v.side);
    file.WriteU8(v.fadingOut);
    file.WriteF32(v.teleportTimer);
}

void UnknownBoss::Load(Core::File& file) {
    Enemy::Load(file);
    if (file.HasFailed()) {
        return;
    }
    FightValues v;
    ReadFinite(file, v.leftCooldown);
    ReadFinite(file, v.orbitStep);
    ReadVector(file, v.home);
    ReadFinite(file, v.eyeTimer);
    ReadFlagByte(file, v.leftFadingIn);
    ReadFlagByte(file, v.rightFadingIn);
    ReadFinite(file, v.leftCharge);
    ReadFinite(file, v.rightCharge);
    ReadFinite(file, v.rightCooldown);
    for (float* channel : {&v.color.r, &v.color.g, &v.color.b, &v.color.a}) {
        ReadFinite(file, *channel);
    }
    ReadFlagByte(file, v.active);
    ReadFlagByte(file, v.openingDone);
    file.ReadI32(v.verticalOffset);
    ReadFlagByte(file, v.teleporting);
    ReadFlagByte(file, v.side);
    ReadFlagByte(file, v.fadingOut);
    ReadFinite(file, v.teleportTimer);
    if (file.HasFailed()) {
        return;
    }
    m_fight = v;
    // The level being read is not whole yet: the links wait for first use.
    m_healthBarFrame = nullptr;
    m_healthBar = nullptr;
    m_eye = nullptr;
    m_leftPart = nullptr;
    m_rightPart = nullptr;
    m_sky = nullptr;
    m_partsPending = 1;
}

void UnknownBoss::FindParts() {
    m_partsPending = 0;
    m_healthBarFrame = Tundra::FindObject<Tundra::Sprite>("BossHPBar");
    m_healthBar = Tundra::FindObject<BossHp>("BossHP");
    m_eye = Tundra::FindObject<Tundra::Sprite>("UnknownEye");
    m_leftPart = Tundra::FindObject<Tundra::Sprite>("UnknownLeft");
    m_rightPart = Tundra::FindObject<Tundra::Sprite>("UnknownRight");
    m_sky = Tundra::FindObject<SkyGradient>("SkyGradient");
}

std::array<Tundra::Sprite*, 3> UnknownBoss::MountedParts() const {
    return {m_eye.Get(), m_leftPart.Get(), m_rightPart.Get()};
}

void UnknownBoss::FindPartsAfterLoad() {
    if (m_partsPending != 0) {
        FindParts();
    }
}

void UnknownBoss::OnStart() {
    Enemy::OnStart();
    FindParts();
    for (Tundra::Sprite* part : MountedParts()) {
        if (part != nullptr && part->GetMount() != this) {
            Mount(part);
        }
    }
    m_fight = FightValues{};
    SetOpacityOfAll(0.0f);
}

void UnknownBoss::Activate(std::int32_t verticalOffset) {
    m_fight.active = 1;
    m_fight.verticalOffset = verticalOffset;
}

void UnknownBoss::Update(float dt) {
    FindPartsAfterLoad();
    if (Globals().paused != 0) {
        return;
    }
    if (m_fight.active != 0) {
        if (m_fight.openingDone == 0) {
            UpdateOpening();
        } else if (!(GetHealth() > 0.0f)) {
            UpdateDying();
        } else {
            UpdateFight(dt);
        }
    }
    // The parts take the body's tint (a burn's among them).
    m_fight.color = GetModulationColor();
    for (Tundra::Sprite* part : MountedParts()) {
        if (part != nullptr) {
            part->SetModulationColor(m_fight.color);
        }
    }
}

float UnknownBoss::GroundY(float above) const { return static_cast<float>(m_fight.verticalOffset) + above; }

bool UnknownBoss::IsPhaseTwo() const { return GetHealth() <= kPhaseTwoHealth; }

// Fades in while it glides to its place; the fight starts the frame after.
void UnknownBoss::UpdateOpening() {
    if (GetPositionX() != kStandX) {
        if (m_healthBarFrame) {
            m_healthBarFrame->SetPosition({kStandX, GroundY(kBarFrameHeight)});
        }
        if (m_healthBar) {
            m_healthBar->SetPosition({kStandX, GroundY(kBarHeight)});
            m_healthBar->SetAnchorX(kStandX);
        }
    }
    if (m_sky && m_sky->GetModulationColor().r > kOpeningSkyRed) {
        ShadeSky(-kSkyDarkenStep);
    }
    if (GetOpacity() < 1.0f) {
        SetOpacityOfAll(GetOpacity() + kOpeningFade);
    }
    if (GetPositionX() > kStandX) {
        SetPositionX(GetPositionX() - kGlideX);
    }
    const float standY = GroundY(kStandHeight);
    if (GetPositionY() > standY) {
        SetPositionY(GetPositionY() - kGlideY);
    }
    if (GetPositionX() <= kStandX && GetPositionY() <= standY && GetOpacity() >= 1.0f) {
        SetPosition({kStandX, standY});
        m_fight.openingDone = 1;
    }
}

// Fades out while the sky brightens, then clears the stage and hides.
void UnknownBoss::UpdateDying() {
    if (GetCurrentAnimationIndex() != kUnknownBossDeathAnimation) {
        return;
    }
    if (GetOpacity() > 0.0f) {
        SetOpacity(GetOpacity() - kDyingFade);
    }
    if (m_sky && m_sky->GetModulationColor().r < 1.0f) {
        ShadeSky(kSkyBrightenStep);
    }
    const bool skyBright = !m_sky || m_sky->GetModulationColor().r >= 1.0f;
    if (GetOpacity() <= 0.0f && skyBright) {
        if (GameLevel* stage = GetRunningStage()) {
            stage->SetCleared();
        }
        SetVisible(false);
        for (Tundra::Sprite* part : {m_leftPart.Get(), m_rightPart.Get()}) {
            if (part != nullptr) {
                part->SetVisible(false);
            }
        }
    }
}

void UnknownBoss::UpdateFight(float dt) {
    Enemy::Update(dt);
    // A burn may have ended it, or it may have left the screen.
    if (!(GetHealth() > 0.0f) || IsDestroyRequested()) {
        return;
    }
    UpdateTeleport(dt);
    if (GetOpacity() < 1.0f) {
        return;
    }
    const bool phaseTwo = IsPhaseTwo();
    const Pace& pace = phaseTwo ? kPhaseTwo : kPhaseOne;
    if (Tundra::IsCollidedWithSprite(GetCollisionObject(), "Player", true)) {
        if (GameLevel* stage = GetRunningStage()) {
            stage->DamagePlayer(kContactDamage);
        }
    }
    if (phaseTwo) {
        if (m_sky && m_sky->GetModulationColor().r > kPhaseTwoSkyRed) {
            ShadeSky(-kSkyDarkenStep);
        }
        if (m_eye) {
            m_eye->SetCurrentAnimationIndex(1, false);
        }
    }
    m_fight.orbitStep = dt * pace.orbitFactor;
    const float angle = m_fight.orbitStep * kPi;
    const float cosine = std::cos(angle);
    const float sine = std::sin(angle);
    const Vector2D& home = m_fight.home;
    const Vector2D offset = GetPosition() - home;
    SetPosition({home.x + offset.x * cosine - offset.y * sine, home.y + offset.x * sine + offset.y * cosine});
    m_fight.eyeTimer = m_fight.eyeTimer + dt;
    if (m_fight.eyeTimer > pace.eyeInterval) {
        const std::int32_t frame = RandomInt(0, kEyeFrames);
        if (m_eye) {
            m_eye->SetCurrentFrameIndex(frame, false);
        }
        m_fight.eyeTimer = 0.0f;
    }
    UpdatePart(m_leftPart.Get(), dt, true, phaseTwo);
    UpdatePart(m_rightPart.Get(), dt, false, phaseTwo);
    FadePartIn(m_leftPart.Get(), m_fight.leftFadingIn, pace.partFadeIn);
    FadePartIn(m_rightPart.Get(), m_fight.rightFadingIn, pace.partFadeIn);
}

// Vanishes after a rest, now and then, and comes back on the other side.
void UnknownBoss::UpdateTeleport(float dt) {
    if (m_fight.teleporting == 0) {
        m_fight.teleportTimer = m_fight.teleportTimer + dt;
        if (m_fight.teleportTimer > kTeleportRest && GetOpacity() >= 1.0f && RandomInt(0, kTeleportOdds) == 0) {
            m_fight.teleporting = 1;
            m_fight.teleportTimer = 0.0f;
            m_fight.fadingOut = 1;
        }
        return;
    }
    if (m_fight.fadingOut == 0) {
        if (GetOpacity() >= 1.0f) {
            SetOpacityOfAll(1.0f);
            m_fight.teleporting = 0;
        } else {
            SetOpacityOfAll(GetOpacity() + kTeleportFadeIn);
        }
        return;
    }
    if (GetOpacity() > 0.0f) {
        SetOpacityOfAll(GetOpacity() - kTeleportFadeOut);
        return;
    }
    if (m_fight.home.x == kLeftHome.x) {
        SetPosition({kStandX, GroundY(kStandHeight)});
        TurnToSide(kRightSide);
        m_fight.home = kRightHome;
        m_fight.side = kRightSide;
    } else {
        SetPosition({kLeftStandX, GroundY(kStandHeight)});
        TurnToSide(kLeftSide);
        m_fight.home = kLeftHome;
        m_fight.side = kLeftSide;
    }
    m_fight.fadingOut = 0;
}

// A part rests, then charges (showing frame 0), then fires.
void UnknownBoss::UpdatePart(Tundra::Sprite* part, float dt, bool left, bool phaseTwo) {
    if (part == nullptr) {
        return;
    }
    const Pace& pace = phaseTwo ? kPhaseTwo : kPhaseOne;
    float& cooldown = left ? m_fight.leftCooldown : m_fight.rightCooldown;
    float& charge = left ? m_fight.leftCharge : m_fight.rightCharge;
    if (cooldown > 0.0f) {
        cooldown = cooldown - dt;
        return;
    }
    part->SetCurrentFrameIndex(0, false);
    charge = charge + dt;
    if (charge > (left ? pace.leftCharge : pace.rightCharge)) {
        FirePart(*part, left, phaseTwo);
        cooldown = left ? pace.leftCooldown : pace.rightCooldown;
        charge = 0.0f;
    }
}

// A shot at the player, led by its velocity; the part goes dark and fades
// back in.
void UnknownBoss::FirePart(Tundra::Sprite& part, bool left, bool phaseTwo) {
    GameLevel* stage = GetRunningStage();
    Player* player = stage != nullptr ? stage->GetPlayer() : nullptr;
    if (player != nullptr) {
        Vector2D velocity;
        player->GetVelocity(velocity);
        Vector2D aim = player->GetPosition() - part.GetPosition();
        aim.x = aim.x + velocity.x * kVelocityToWorld;
        aim = Vector2D::Normalized(aim) * kShotSpeed;
        const std::int32_t kind = left ? BossProjectile::kLeftFadingShot : BossProjectile::kRightFadingShot;
        if (BossProjectile* shot = CreateBossProjectileMoving(kind, part.GetPosition(), aim)) {
            const bool upper = left != phaseTwo;
            shot->SetZOrder(upper ? kUpperShotDepth : kLowerShotDepth);
            shot->SetFlipHorizontal(m_fight.side != 0);
        }
    }
    part.SetCurrentFrameIndex(1, false);
    part.SetOpacity(0.0f);
    (left ? m_fight.leftFadingIn : m_fight.rightFadingIn) = 1;
}

void UnknownBoss::FadePartIn(Tundra::Sprite* part, std::uint8_t& fadingIn, float rate) {
    if (part == nullptr || fadingIn == 0) {
        return;
    }
    if (part->GetOpacity() >= 1.0f) {
        part->SetOpacity(1.0f);
        fadingIn = 0;
    } else {
        part->SetOpacity(part->GetOpacity() + rate);
    }
}

void UnknownBoss::SetOpacityOfAll(float opacity) {
    SetOpacity(opacity);
    for (Tundra::Sprite* part : MountedParts()) {
        if (part != nullptr) {
            part->SetOpacity(opacity);
        }
    }
}

// Faces the side and sets the parts on it; the home still names the side
// it leaves.
void UnknownBoss::TurnToSide(std::uint8_t side) {
    const bool flip = side != 0;
    const bool toLeft = m_fight.home.x == kRightHome.x;
    const float x = GetPositionX();
    SetFlipHorizontal(flip);
    if (m_eye) {
        m_eye->SetFlipHorizontal(flip);
        m_eye->SetPositionX(toLeft ? x + 54.0f : x - 54.0f);
    }
    if (m_leftPart) {
        m_leftPart->SetPositionX(toLeft ? x + 90.0f : x - 23.0f);
        m_leftPart->SetZOrder(toLeft ? 3.1f : 3.3f);
        m_leftPart->SetFlipHorizontal(flip);
    }
    if (m_rightPart) {
        m_rightPart->SetPositionX(toLeft ? x + 20.0f : x - 100.0f);
        m_rightPart->SetZOrder(toLeft ? 3.3f : 3.1f);
        m_rightPart->SetFlipHorizontal(flip);
    }
}

void UnknownBoss::ShadeSky(float step) {
    Color color = m_sky->GetModulationColor();
    color.r = color.r + step;
    color.g = color.g + step;
    color.b = color.b + step;
    m_sky->SetModulationColor(color);
}

void UnknownBoss::OnHealthChanged() {
    FindPartsAfterLoad();
    Enemy::OnHealthChanged();
    if (m_healthBar) {
        m_healthBar->SetHealth(GetHealth());
    }
}

void UnknownBoss::OnDeath() {
    FindPartsAfterLoad();
    for (Tundra::Sprite* sprite : {static_cast<Tundra::Sprite*>(this), m_leftPart.Get(), m_rightPart.Get()}) {
        if (sprite != nullptr) {
            sprite->SetCurrentAnimationIndex(kUnknownBossDeathAnimation, false);
            sprite->Play(true);
            sprite->SetLoop(false);
        }
    }
    Tundra::Sprite* const bar = m_healthBar.Get();
    for (Tundra::Sprite* hidden : {m_eye.Get(), m_healthBarFrame.Get(), bar}) {
        if (hidden != nullptr) {
            hidden->SetVisible(false);
        }
    }
    EndDebuff();
}

void UnknownBoss::Destroy() {
    FindPartsAfterLoad();
    Enemy::Destroy();
    for (Tundra::Sprite* part : MountedParts()) {
        if (part != nullptr) {
            part->Destroy();
        }
    }
}
