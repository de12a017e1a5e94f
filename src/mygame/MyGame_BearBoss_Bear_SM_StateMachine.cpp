// "Bear_SM": the Bear's attacks. A swing raises both arms, holds them a
// second and brings them down one after the other, each throwing a shot; a
// lightning attack lowers the arms over markers at the player's x, holds
// them a second and raises them again as columns strike. At half health or
// less a swing is three pairs and lightning strikes three times.
#include "mygame/MyGame_BearBoss.h"

#include "core/Core_Random.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StateBuilder.h"

#include <array>
#include <utility>

namespace {

using State = Tundra::State<BearBoss>;

constexpr float kRestRate = 150.0f;
constexpr float kLowerRate = 200.0f;
constexpr float kRaiseRate = 150.0f;
constexpr float kLightningRaiseRate = 350.0f;
constexpr float kRightSwingRate = 150.0f;
constexpr float kLeftSwingRate = 350.0f;
constexpr float kArmsDown = -180.0f;
constexpr float kArmsUp = 45.0f;
constexpr float kSwungDown = -75.0f;
constexpr float kHold = 1.0f;
constexpr float kHalfHealth = 0.5f;
constexpr std::int32_t kPairsAtLowHealth = 3;
constexpr float kMarkerTime = 1.5f;
constexpr float kStrikeSpacing = 100.0f;
constexpr int kRestAnimation = 0;
constexpr int kSwingAnimation = 1;
// Physics velocities to world units a second.
constexpr float kVelocityToWorld = 15.0f;
// Where each arm's hand lets go of its shot, from the arm's position.
const Vector2D kRightHand{175.0f, 30.0f};
const Vector2D kLeftHand{170.0f, 20.0f};

float Rotation(const Tundra::Sprite* arm, float angle) { return arm != nullptr ? arm->GetRotationAngle() : angle; }

Player* StagePlayer() {
    GameLevel* stage = GetRunningStage();
    return stage != nullptr ? stage->GetPlayer() : nullptr;
}

}  // namespace

BearBoss::StateMachine* BearBoss::BuildBearMachine(BearBoss* owner) {
    struct Spec {
        const char* name;
        State::Callback enter;
        State::Callback update;
        State::Callback exit;
        std::array<std::pair<std::int32_t, State::Condition>, 2> transitions;
        float hold;
    };
    const std::array<Spec, 9> specs{{
        {"BackToIdle", nullptr, &BearBoss::RaiseArmsToRest, &BearBoss::ExitBackToIdle,
         {{{kIdle, &BearBoss::IsRestingAfterSwings}, {kLeftSwing, &BearBoss::IsSwingingOn}}}, 0.0f},
        {"PrepAttack", &BearBoss::EnterPrepAttack, &BearBoss::LowerArms, nullptr,
         {{{kLightningAttack, &BearBoss::AreArmsDown}, {0, nullptr}}}, kHold},
        {"ForeSwing", &BearBoss::EnterForeSwing, &BearBoss::RaiseArmsForSwing, nullptr,
         {{{kLeftSwing, &BearBoss::AreArmsRaised}, {0, nullptr}}}, kHold},
        {"BackToIdle2", &BearBoss::EnterBackToIdle2, nullptr, &BearBoss::ExitBackToIdle2,
         {{{kIdle, &BearBoss::AreArmsBack}, {0, nullptr}}}, 0.0f},
        {"Idle", &BearBoss::EnterIdle, &BearBoss::UpdateIdle, nullptr,
         {{{kForeLight, &BearBoss::ChoosesLightning}, {kForeSwing, &BearBoss::ChoosesSwing}}}, 0.0f},
        {"ForeLight", &BearBoss::EnterForeLight, nullptr, nullptr, {{{kPrepAttack, &BearBoss::Always}, {0, nullptr}}},
         0.0f},
        {"LightningAttack", &BearBoss::EnterLightningAttack, &BearBoss::RaiseArmsAfterLightning, nullptr,
         {{{kBackToIdle2, &BearBoss::AreArmsBack}, {0, nullptr}}}, 0.0f},
        {"RightSwing", nullptr, &BearBoss::SwingRightArm, &BearBoss::ExitRightSwing,
         {{{kBackToIdle, &BearBoss::IsRightSwingDone}, {0, nullptr}}}, 0.0f},
        {"LeftSwing", nullptr, &BearBoss::SwingLeftArm, &BearBoss::ExitLeftSwing,
         {{{kRightSwing, &BearBoss::IsLeftSwingDone}, {0, nullptr}}}, 0.0f},
    }};
    StateMachine::StateList states;
    for (const Spec& spec : specs) {
        State* state = AppendState<BearBoss>(states, spec.name, 0.0f, spec.enter, spec.update, spec.exit);
        for (const auto& [target, condition] : spec.transitions) {
            if (condition != nullptr) {
                state->AddTransition(target, condition, spec.hold);
            }
        }
    }
    StateMachine* machine = TUN_NEW(StateMachine, states, kIdle, 0.0f, owner);
    machine->SetName("Bear_SM");
    return machine;
}

void BearBoss::SetArmAngles(float left, float right) {
    m_leftArmAngle = left;
    m_rightArmAngle = right;
    if (m_leftArm) {
        m_leftArm->SetRotationAngle(m_leftArmAngle);
    }
    if (m_rightArm) {
        m_rightArm->SetRotationAngle(m_rightArmAngle);
    }
}

float BearBoss::LeftArmRotation() const { return Rotation(m_leftArm.Get(), m_leftArmAngle); }

float BearBoss::RightArmRotation() const { return Rotation(m_rightArm.Get(), m_rightArmAngle); }

std::vector<float> BearBoss::StrikeXs() const {
    if (GetHealth() > kHalfHealth) {
        return {m_strikeTarget.x};
    }
    return {m_strikeTarget.x, m_strikeTarget.x + kStrikeSpacing, m_strikeTarget.x - kStrikeSpacing};
}

void BearBoss::ReturnArms() {
    SetArmAngles(0.0f, 0.0f);
    m_cooldown = kStartCooldown;
    m_attacking = 0;
    m_attackChoice = kNoAttack;
    m_armsDangerous = 0;
}

void BearBoss::ExitBackToIdle(float) {
    ReturnArms();
    if (GetHealth() > kHalfHealth || m_swingCount == kPairsAtLowHealth) {
        m_swingCount = 0;
    }
}

void BearBoss::ExitBackToIdle2(float) { ReturnArms(); }

void BearBoss::RaiseArmsToRest(float dt) {
    if (LeftArmRotation() < 0.0f || RightArmRotation() < 0.0f) {
        SetArmAngles(m_leftArmAngle + kRestRate * dt, m_rightArmAngle + kRestRate * dt);
    }
}

// Markers where the player stands now; the columns follow on them.
void BearBoss::EnterPrepAttack(float) {
    if (const Player* player = StagePlayer()) {
        m_strikeTarget = player->GetPosition();
    }
    for (float x : StrikeXs()) {
        CreateBossProjectileTimed(BossProjectile::kWarningMarker, {x, kMarkerHeight}, kMarkerTime);
    }
    m_armsDangerous = 1;
}

void BearBoss::LowerArms(float dt) {
    if (LeftArmRotation() > kArmsDown || RightArmRotation() > kArmsDown) {
        SetArmAngles(m_leftArmAngle - kLowerRate * dt, m_rightArmAngle - kLowerRate * dt);
    }
}

void BearBoss::EnterForeSwing(float) {
    SetCurrentAnimationIndex(kSwingAnimation, false);
    Play(true);
    SetLoop(false);
    m_armsDangerous = 1;
}

void BearBoss::RaiseArmsForSwing(float dt) {
    if (LeftArmRotation() < kArmsUp || RightArmRotation() < kArmsUp) {
        SetArmAngles(m_leftArmAngle + kRaiseRate * dt, m_rightArmAngle + kRaiseRate * dt);
    }
}

void BearBoss::EnterBackToIdle2(float) {
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr) {
            arm->SetCurrentFrameIndex(0, false);
            arm->SetFlipHorizontal(false);
        }
    }
}

void BearBoss::EnterIdle(float) {
    if (GetCurrentAnimationIndex() != kRestAnimation) {
        SetCurrentAnimationIndex(kRestAnimation, false);
        Play(true);
        SetLoop(true);
    }
}

// The attack is chosen from the engine's own generator, as the effects'
// draws are.
void BearBoss::UpdateIdle(float dt) {
    if (m_attacking == 0) {
        m_cooldown = m_cooldown - dt;
    }
    if (GetHealth() > 0.0f && m_cooldown < 0.0f) {
        m_attackChoice = RandomIntRange(kSwing, kLightning);
    }
}

void BearBoss::EnterForeLight(float) {
    for (Tundra::Sprite* arm : {m_leftArm.Get(), m_rightArm.Get()}) {
        if (arm != nullptr) {
            arm->SetCurrentFrameIndex(1, false);
            arm->SetFlipHorizontal(true);
        }
    }
}

void BearBoss::EnterLightningAttack(float) {
    for (float x : StrikeXs()) {
        if (BossProjectile* column = CreateBossProjectileTurned(BossProjectile::kColumn, {x, kColumnHeight})) {
            column->SetLoop(false);
            column->Play(true);
        }
    }
    m_armsDangerous = 1;
}

void BearBoss::RaiseArmsAfterLightning(float dt) {
    if (LeftArmRotation() < 0.0f || RightArmRotation() < 0.0f) {
        SetArmAngles(m_leftArmAngle + kLightningRaiseRate * dt, m_rightArmAngle + kLightningRaiseRate * dt);
    }
}

void BearBoss::SwingRightArm(float dt) {
    if (RightArmRotation() > kSwungDown) {
        SetArmAngles(m_leftArmAngle, m_rightArmAngle - kRightSwingRate * dt);
    }
}

void BearBoss::ExitRightSwing(float) {
    ThrowFromArm(true);
    ++m_swingCount;
}

void BearBoss::SwingLeftArm(float dt) {
    if (LeftArmRotation() > kSwungDown) {
        SetArmAngles(m_leftArmAngle - kLeftSwingRate * dt, m_rightArmAngle);
    }
}

void BearBoss::ExitLeftSwing(float) { ThrowFromArm(false); }

// Aimed where the player is heading; the second pair of a repeated swing
// throws its right shot fast and its left one slower and straight.
void BearBoss::ThrowFromArm(bool rightArm) {
    const Tundra::Sprite* arm = rightArm ? m_rightArm.Get() : m_leftArm.Get();
    const Player* player = StagePlayer();
    if (arm == nullptr || player == nullptr) {
        return;
    }
    Vector2D velocity;
    if (!player->GetVelocity(velocity)) {
        velocity = {0.0f, 0.0f};
    }
    Vector2D aim = player->GetPosition() - GetPosition();
    const bool secondOfThree = GetHealth() <= kHalfHealth && m_swingCount == 1;
    float speed = 0.0f;
    if (rightArm) {
        const std::int32_t spread = secondOfThree ? 5 : 20;
        aim.x += static_cast<float>(RandomInt(-spread, spread)) + velocity.x * kVelocityToWorld;
        speed = secondOfThree ? 40.0f : 20.0f;
    } else if (secondOfThree) {
        aim.x += velocity.x * kVelocityToWorld;
        speed = 25.0f;
    } else {
        aim.x += static_cast<float>(RandomInt(-5, 5)) + velocity.x * kVelocityToWorld;
        speed = 40.0f;
    }
    aim.Normalize();
    const Vector2D hand = rightArm ? kRightHand : kLeftHand;
    CreateBossProjectileMoving(BossProjectile::kFlyingShot, arm->GetPosition() - hand, aim * speed);
}

bool BearBoss::IsRestingAfterSwings(float) {
    return LeftArmRotation() >= 0.0f && RightArmRotation() >= 0.0f &&
           ((GetHealth() > kHalfHealth && m_swingCount == 1) || m_swingCount == kPairsAtLowHealth);
}

bool BearBoss::IsSwingingOn(float) {
    return GetHealth() <= kHalfHealth && m_swingCount < kPairsAtLowHealth && LeftArmRotation() >= 0.0f &&
           RightArmRotation() >= 0.0f;
}

bool BearBoss::AreArmsDown(float) { return LeftArmRotation() <= kArmsDown && RightArmRotation() <= kArmsDown; }

bool BearBoss::AreArmsRaised(float) { return LeftArmRotation() >= kArmsUp && RightArmRotation() >= kArmsUp; }

bool BearBoss::AreArmsBack(float) { return LeftArmRotation() >= 0.0f && RightArmRotation() >= 0.0f; }

// The first of the two attack conditions asked in a frame commits the boss.
bool BearBoss::CommitsTo(std::int32_t choice) {
    if (!(GetHealth() > 0.0f && m_cooldown < 0.0f)) {
        return false;
    }
    m_attacking = 1;
    return m_attackChoice == choice;
}

bool BearBoss::ChoosesLightning(float) { return CommitsTo(kLightning); }

bool BearBoss::ChoosesSwing(float) { return CommitsTo(kSwing); }

bool BearBoss::Always(float) { return true; }

bool BearBoss::IsRightSwingDone(float) { return RightArmRotation() <= kSwungDown; }

bool BearBoss::IsLeftSwingDone(float) { return LeftArmRotation() <= kSwungDown; }
