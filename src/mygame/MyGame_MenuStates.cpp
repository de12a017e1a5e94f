#include "mygame/MyGame_MenuLevel.h"

#include "input/Input_Keyboard.h"
#include "mygame/MyGame_Globals.h"
#include "pal/PAL_Window.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Game.h"

#include <array>

namespace {

// The title comes to rest at this height and is gone once above the other.
constexpr float kTitleRestY = 516.0f;
constexpr float kTitleGoneY = 860.0f;
constexpr float kTitleDropStep = 3.0f;
constexpr float kTitleRiseStep = 5.0f;
// Walking past it leaves the program.
constexpr float kQuitEdgeX = -32.0f;

constexpr std::int32_t kSignOpening = 0;
constexpr std::int32_t kSignLooping = 1;

using State = Tundra::State<MenuLevel>;

struct StateSpec {
    const char* name;
    State::Callback enter;
    State::Callback update;
    State::Callback exit;
    // Target and condition of the one transition, if any.
    std::int32_t target;
    State::Condition condition;
};

void MoveY(Tundra::GameObject* object, float delta) {
    if (object != nullptr) {
        object->SetPositionY(object->GetPositionY() + delta);
    }
}

}  // namespace

MenuLevel::Machine* MenuLevel::BuildMenuSM(MenuLevel* owner) {
    const std::array<StateSpec, 5> specs{{
        {"CLEAN_TITLE", &MenuLevel::EnterCleanTitle, &MenuLevel::UpdateCleanTitle, &MenuLevel::ExitCleanTitle, kInMenu,
         &MenuLevel::IsTitleGone},
        {"IN_MENU", nullptr, &MenuLevel::UpdateInMenu, nullptr, kExit, &MenuLevel::IsPlayerPastLeftEdge},
        {"EXIT", &MenuLevel::RequestExit, nullptr, &MenuLevel::RequestExit, State::kNone, nullptr},
        {"START", nullptr, &MenuLevel::UpdateStart, nullptr, kTitle, &MenuLevel::IsTitleDown},
        {"TITLE", &MenuLevel::EnterTitle, nullptr, &MenuLevel::ExitTitle, kCleanTitle, &MenuLevel::IsControlKeyHeld},
    }};
    Machine::StateList states;
    for (const StateSpec& spec : specs) {
        State* state = TUN_NEW(State, 0.0f);
        states.emplace_back(state);
        state->SetName(spec.name);
        state->SetEnterCallback(spec.enter);
        state->SetUpdateCallback(spec.update);
        state->SetExitCallback(spec.exit);
        if (spec.condition != nullptr) {
            state->AddTransition(spec.target, spec.condition, 0.0f);
        }
    }
    Machine* machine = TUN_NEW(Machine, states, kStart, 0.0f, owner);
    machine->SetName("MenuSM");
    return machine;
}

void MenuLevel::EnterCleanTitle(float) {
    if (m_exitSign) {
        m_exitSign->Play(true);
    }
    if (m_titleSun) {
        m_titleSun->SetUseEndPath(true);
    }
}

void MenuLevel::UpdateCleanTitle(float) { MoveY(m_title.Get(), kTitleRiseStep); }

void MenuLevel::ExitCleanTitle(float) { SetInstructionsVisible(false); }

bool MenuLevel::IsTitleGone(float) { return m_title && m_title->GetPositionY() >= kTitleGoneY; }

void MenuLevel::UpdateInMenu(float) {
    if (m_exitSign && m_exitSign->GetCurrentAnimationIndex() == kSignOpening && m_exitSign->IsEndOfAnimation()) {
        m_exitSign->SetCurrentAnimationIndex(kSignLooping, false);
        m_exitSign->SetLoop(true);
        m_exitSign->Play(true);
    }
}

bool MenuLevel::IsPlayerPastLeftEdge(float) { return m_player && m_player->GetPositionX() < kQuitEdgeX; }

void MenuLevel::RequestExit(float) { PAL::RequestQuit(); }

void MenuLevel::UpdateStart(float) {
    MoveY(m_title.Get(), -kTitleDropStep);
    MoveY(m_player.Get(), -kTitleDropStep);
}

bool MenuLevel::IsTitleDown(float) { return m_title && m_title->GetPositionY() <= kTitleRestY; }

void MenuLevel::EnterTitle(float) { SetInstructionsVisible(true); }

void MenuLevel::ExitTitle(float) {
    if (m_player) {
        m_player->SetControlsOn(true);
    }
}

bool MenuLevel::IsControlKeyHeld(float) {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
    if (keyboard == nullptr) {
        return false;
    }
    const GameGlobals& globals = Globals();
    return keyboard->IsPressed(globals.leftKeyId) || keyboard->IsPressed(globals.rightKeyId) ||
           keyboard->IsPressed(globals.jumpKeyId);
}

void MenuLevel::SetInstructionsVisible(bool visible) {
    for (const char* name : {"ControlsInstruction1", "ControlsInstruction2"}) {
        if (Tundra::GameObject* instruction = Tundra::FindObject<Tundra::GameObject>(*this, name)) {
            instruction->SetVisible(visible);
        }
    }
}
