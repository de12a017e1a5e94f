#include "mygame/MyGame_WeaponStateMachine.h"

#include "input/Input_Mouse.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_WeaponBar.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_Game.h"

#include <array>

namespace {

using Machine = Tundra::StateMachine<Player>;

enum HandIndex : std::int32_t { kRightState = 0, kRightToLeft = 1, kLeftToRight = 2, kLeftState = 3 };

constexpr int kLeftButton = 0;
constexpr int kRightButton = 2;
constexpr float kSwapSeconds = 0.3f;
constexpr float kBlendRate = 10.0f;

// The machine's steps act on the player's two weapons and its blend; they
// are free functions of the owner, so the player class carries none of them.
using Step = void (*)(Player& player, float dt);
using Test = bool (*)(const Player& player);

// One state with at most one transition, which fires as soon as its test
// holds once the state's minimum time has passed.
class HandState final : public Tundra::StateBase<Player> {
public:
    HandState(float minimumTime, Step enter, Step update, Step exit, std::int32_t target, Test test)
        : StateBase(minimumTime), m_enter(enter), m_update(update), m_exit(exit), m_target(target), m_test(test) {}

    StateBase* CloneState() const override { return TUN_NEW(HandState, *this); }
    void Enter(Player& owner, float dt) override { Run(m_enter, owner, dt); }
    void Update(Player& owner, float dt) override { Run(m_update, owner, dt); }
    void Exit(Player& owner, float dt) override { Run(m_exit, owner, dt); }
    std::int32_t CheckTransitions(Player& owner, float dt) override {
        if (m_test == nullptr || !m_test(owner)) {
            return kNone;
        }
        Reset(owner, dt);
        return m_target;
    }

private:
    static void Run(Step step, Player& owner, float dt) {
        if (step != nullptr) {
            step(owner, dt);
        }
    }

    Step m_enter;
    Step m_update;
    Step m_exit;
    std::int32_t m_target;
    Test m_test;
};

const Input::Mouse* GameMouse() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    return game != nullptr ? game->GetMouse() : nullptr;
}

bool IsHeld(int button) {
    const Input::Mouse* mouse = GameMouse();
    return mouse != nullptr && mouse->IsPressed(button);
}

bool WentDown(int button) {
    const Input::Mouse* mouse = GameMouse();
    return mouse != nullptr && mouse->IsTriggered(button);
}

void SetLook(WeaponSprite* weapon, float amount) {
    if (weapon != nullptr) {
        weapon->SetScale(amount, amount);
        weapon->SetOpacity(amount);
    }
}

void SetVisible(WeaponSprite* weapon, bool visible) {
    if (weapon != nullptr) {
        weapon->SetVisible(visible);
    }
}

void SetBarActive(WeaponSprite* weapon, bool active) {
    if (WeaponBar* bar = weapon != nullptr ? weapon->GetBar() : nullptr) {
        bar->SetActive(active);
    }
}

void FireWhileHeld(WeaponSprite* weapon, int button) {
    if (weapon != nullptr && IsHeld(button)) {
        weapon->Fire();
    }
}

// The incoming weapon grows and shows as the outgoing one shrinks and fades.
void Blend(Player& player, WeaponSprite* incoming, WeaponSprite* outgoing, float dt) {
    const float t = player.GetWeaponBlend();
    const float blend = (1.0f - t) * (dt * kBlendRate) + t;
    player.SetWeaponBlend(blend);
    SetLook(incoming, blend);
    SetLook(outgoing, 1.0f - blend);
}

// Entering a swap starts the incoming weapon from nothing.
void StartSwap(Player& player, WeaponSprite* incoming) {
    SetVisible(incoming, true);
    SetLook(incoming, 0.0f);
    player.SetWeaponBlend(0.0f);
}

void HideLeft(Player& player, float) { SetVisible(player.GetLeftWeapon(), false); }
void HideRight(Player& player, float) { SetVisible(player.GetRightWeapon(), false); }
void FireRight(Player& player, float) { FireWhileHeld(player.GetRightWeapon(), kRightButton); }
void FireLeft(Player& player, float) { FireWhileHeld(player.GetLeftWeapon(), kLeftButton); }
void LeaveRight(Player& player, float) {
    SetBarActive(player.GetLeftWeapon(), true);
    SetBarActive(player.GetRightWeapon(), false);
}
void LeaveLeft(Player& player, float) {
    SetBarActive(player.GetLeftWeapon(), false);
    SetBarActive(player.GetRightWeapon(), true);
}
void StartToLeft(Player& player, float) { StartSwap(player, player.GetLeftWeapon()); }
void StartToRight(Player& player, float) { StartSwap(player, player.GetRightWeapon()); }
void BlendToLeft(Player& player, float dt) { Blend(player, player.GetLeftWeapon(), player.GetRightWeapon(), dt); }
void BlendToRight(Player& player, float dt) { Blend(player, player.GetRightWeapon(), player.GetLeftWeapon(), dt); }
void EndToLeft(Player& player, float) { SetLook(player.GetLeftWeapon(), 1.0f); }
void EndToRight(Player& player, float) { SetLook(player.GetRightWeapon(), 1.0f); }

bool LeftWentDown(const Player&) { return WentDown(kLeftButton); }
bool RightWentDown(const Player&) { return WentDown(kRightButton); }
bool Always(const Player&) { return true; }

struct HandStateSpec {
    const char* name;
    float minimumTime;
    Step enter;
    Step update;
    Step exit;
    std::int32_t target;
    Test test;
};

}  // namespace

Machine* BuildWeaponStateMachine(Player* owner) {
    const std::array<HandStateSpec, 4> specs{{
        {"RIGHT_STATE", 0.0f, HideLeft, FireRight, LeaveRight, kRightToLeft, LeftWentDown},
        {"RIGHT_TO_LEFT", kSwapSeconds, StartToLeft, BlendToLeft, EndToLeft, kLeftState, Always},
        {"LEFT_TO_RIGHT", kSwapSeconds, StartToRight, BlendToRight, EndToRight, kRightState, Always},
        {"LEFT_STATE", 0.0f, HideRight, FireLeft, LeaveLeft, kLeftToRight, RightWentDown},
    }};
    Machine::StateList states;
    for (const HandStateSpec& spec : specs) {
        auto* state = TUN_NEW(HandState, spec.minimumTime, spec.enter, spec.update, spec.exit, spec.target,
                              spec.test);
        states.emplace_back(state);
        state->SetName(spec.name);
    }
    Machine* machine = TUN_NEW(Machine, states, kLeftState, 0.0f, owner);
    machine->SetName("WeaponStateMachine");
    return machine;
}
