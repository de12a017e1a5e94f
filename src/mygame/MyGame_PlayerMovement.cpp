#include "mygame/MyGame_PlayerMovement.h"

#include "input/Input_Keyboard.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LevelIndices.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_StateBuilder.h"

#include <array>

namespace {

constexpr float kJumpSpeed = 35.0f;
constexpr float kFallStep = 1.25f;
constexpr float kFallLimit = -25.0f;
// Still holding Jump when the rise ends carries the player higher.
constexpr float kHeldJumpBoost = 8.0f;
constexpr float kJumpMinimumTime = 0.15f;
// A bump shorter than this does not leave the ground states.
constexpr float kLeaveGroundHold = 0.05f;

using State = Tundra::State<Player>;

struct Keys {
    bool left = false;
    bool right = false;
    bool jump = false;
};

Keys HeldKeys() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
    if (keyboard == nullptr) {
        return {};
    }
    const GameGlobals& globals = Globals();
    return {keyboard->IsPressed(globals.leftKeyId), keyboard->IsPressed(globals.rightKeyId),
            keyboard->IsPressed(globals.jumpKeyId)};
}

float MoveSpeedFactor() {
    const MyGame* game = GetGame();
    return game != nullptr ? game->GetMoveSpeedFactor() : 1.0f;
}

// Only a stage's ground ends; the title's strip never scrolls.
bool GroundStopped() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    if (game == nullptr) {
        return false;
    }
    if (game->GetCurrentLevelIndex() == kTitleLevel) {
        return true;
    }
    const auto* stage = dynamic_cast<const GameLevel*>(game->GetCurrentLevel());
    return stage != nullptr && stage->GetTerrain().IsEndReached();
}

struct Transition {
    std::int32_t target;
    State::Condition condition;
    float holdTime;
};

struct StateSpec {
    const char* name;
    float minimumTime;
    State::Callback enter;
    State::Callback update;
    State::Callback exit;
    std::array<Transition, 3> transitions;
};

}  // namespace

Player::Machine* Player::BuildMovementStateMachine(Player* owner) {
    const std::array<StateSpec, 4> specs{{
        {"IDLE_STATE",
         0.0f,
         &Player::EnterIdle,
         nullptr,
         nullptr,
         {{{kMovementWalking, &Player::WantsWalk, 0.0f},
           {kMovementInAir, &Player::IsAirborne, kLeaveGroundHold},
           {kMovementJump, &Player::WantsJump, 0.0f}}}},
        {"IN_DI_AIR_STATE",
         0.0f,
         &Player::EnterInAir,
         &Player::UpdateInAir,
         nullptr,
         {{{kMovementIdle, &Player::IsLanded, 0.0f}}}},
        {"JUMP_STATE",
         kJumpMinimumTime,
         &Player::EnterJump,
         &Player::UpdateJump,
         &Player::ExitJump,
         {{{kMovementInAir, &Player::Always, 0.0f}}}},
        {"WALKING_STATE",
         0.0f,
         &Player::EnterWalking,
         nullptr,
         nullptr,
         {{{kMovementIdle, &Player::WantsStop, 0.0f},
           {kMovementInAir, &Player::IsAirborne, kLeaveGroundHold},
           {kMovementJump, &Player::WantsJump, 0.0f}}}},
    }};
    Machine::StateList states;
    for (const StateSpec& spec : specs) {
        State* state = AppendState<Player>(states, spec.name, spec.minimumTime, spec.enter, spec.update, spec.exit);
        for (const Transition& transition : spec.transitions) {
            if (transition.condition == nullptr) {
                break;
            }
            state->AddTransition(transition.target, transition.condition, transition.holdTime);
        }
    }
    Machine* machine = TUN_NEW(Machine, states, kMovementInAir, 0.0f, owner);
    machine->SetName("MovementStateMachine");
    return machine;
}

float Player::LeftwardSpeed() const { return MoveSpeedFactor() * static_cast<float>(m_leftStep); }

float Player::RightwardSpeed() const {
    const float factor = MoveSpeedFactor();
    return GroundStopped() ? factor * static_cast<float>(-m_leftStep) : factor * static_cast<float>(m_rightStep);
}

void Player::StepFall() {
    if (m_velocity.y > kFallLimit) {
        m_velocity.y -= kFallStep;
    }
}

void Player::EnterIdle(float) {
    m_inAir = 0;
    m_velocity = {0.0f, 0.0f};
}

void Player::EnterInAir(float) { m_inAir = 1; }

void Player::UpdateInAir(float) {
    StepFall();
    const Keys keys = HeldKeys();
    if (keys.left) {
        m_facingRight = 0;
        m_velocity.x = LeftwardSpeed();
    } else if (keys.right) {
        m_facingRight = 1;
        m_velocity.x = RightwardSpeed();
    }
    ClampToScreen();
}

void Player::EnterJump(float) {
    m_inAir = 1;
    m_velocity.y = kJumpSpeed;
}

void Player::UpdateJump(float) { StepFall(); }

void Player::ExitJump(float) {
    if (HeldKeys().jump) {
        m_velocity.y += kHeldJumpBoost;
    }
}

void Player::EnterWalking(float) {
    m_inAir = 0;
    m_velocity.x = m_facingRight != 0 ? RightwardSpeed() : LeftwardSpeed();
}

bool Player::WantsWalk(float) {
    const Keys keys = HeldKeys();
    if (keys.left == keys.right) {
        return false;
    }
    m_facingRight = keys.right ? 1 : 0;
    return true;
}

bool Player::WantsStop(float) {
    const Keys keys = HeldKeys();
    return keys.left == keys.right;
}

bool Player::IsAirborne(float) { return !IsOnGround(); }

bool Player::IsLanded(float) { return IsOnGround(); }

bool Player::WantsJump(float) { return m_inAir == 0 && HeldKeys().jump; }

bool Player::Always(float) { return true; }
