#include "mygame/MyGame_IntroLevel.h"

#include "core/Core_File.h"
#include "gui/GUI_HUD.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeStep.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

TUN_DEFINE_UNCLONABLE_CLASS(IntroLevel)

namespace {

enum class Action { kWait, kFadeIn, kFadeOut };

struct IntroStep {
    Action action;
    // Index of the logo the step fades; none for a wait.
    std::int32_t logo;
};

constexpr std::int32_t kNoLogo = -1;
constexpr IntroStep kSteps[IntroLevel::kLastStep + 1] = {
    {Action::kWait, kNoLogo},   {Action::kFadeIn, 0}, {Action::kWait, kNoLogo}, {Action::kFadeOut, 0},
    {Action::kFadeIn, 1},       {Action::kWait, kNoLogo}, {Action::kFadeOut, 1}, {Action::kFadeIn, 2},
    {Action::kWait, kNoLogo},   {Action::kFadeOut, 2},
};
constexpr const char* kLogoNames[3] = {"HwLogo", "TdLogo", "QuorLogo"};
constexpr std::uint32_t kMenuLevelIndex = 1;
constexpr double kFadeRate = 5.0;

// A fade moves the value a fixed share of the way to its target each frame.
float Approach(float value, double target, float dt) {
    return static_cast<float>(FadeStep<double>(value, target, dt, kFadeRate));
}

// What the step's value becomes when it ends: a fade lands on its target,
// a wait hands the next fade its start (or the next wait its one second).
float EndValue(std::uint32_t step) {
    switch (kSteps[step].action) {
    case Action::kFadeIn:
        return 1.0f;
    case Action::kFadeOut:
        return 0.0f;
    case Action::kWait:
        break;
    }
    return kSteps[step + 1].action == Action::kFadeIn ? 0.0f : 1.0f;
}

}  // namespace

IntroLevel::~IntroLevel() = default;

void IntroLevel::Save(Core::File& file) const {
    Level::Save(file);
    file.WriteU32(m_step);
    file.WriteF32(m_value);
}

void IntroLevel::Load(Core::File& file) {
    Level::Load(file);
    std::uint32_t step = m_step;
    float value = m_value;
    file.ReadU32(step);
    file.ReadF32(value);
    if (step > kLastStep || !std::isfinite(value)) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_step = step;
    m_value = value;
    FindLogos();
}

void IntroLevel::OnStart() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    if (GUI::HUD* hud = game != nullptr ? game->GetHUD() : nullptr) {
        hud->SetCursorVisible(false);
    }
    FindLogos();
}

void IntroLevel::FindLogos() {
    for (std::size_t i = 0; i < m_logos.size(); ++i) {
        m_logos[i] = Tundra::FindObject<Tundra::Sprite>(*this, kLogoNames[i]);
    }
}

void IntroLevel::Update(float dt) {
    const IntroStep& step = kSteps[m_step];
    bool ended = false;
    switch (step.action) {
    case Action::kWait:
        m_value -= dt;
        ended = m_value <= 0.0f;
        break;
    case Action::kFadeIn:
        m_value = Approach(m_value, 1.0, dt);
        ended = m_value >= 0.99;
        break;
    case Action::kFadeOut:
        m_value = Approach(m_value, 0.0, dt);
        // The last fade goes on under the level change it keeps asking for.
        ended = m_step == kLastStep ? m_value < 0.01 : m_value <= 0.01;
        break;
    }
    if (ended && m_step != kLastStep) {
        m_value = EndValue(m_step);
    }
    if (step.logo != kNoLogo) {
        ShowLogo(static_cast<std::uint32_t>(step.logo));
    }
    if (ended) {
        if (m_step == kLastStep) {
            RequestMenu();
        } else {
            ++m_step;
        }
    }
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    const Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
    if ((mouse != nullptr && mouse->IsTriggered(0)) || (keyboard != nullptr && keyboard->AnyKey())) {
        RequestMenu();
    }
}

void IntroLevel::ShowLogo(std::uint32_t logo) const {
    if (m_logos[logo]) {
        m_logos[logo]->SetOpacity(m_value);
    }
}

void IntroLevel::RequestMenu() const {
    if (MyGame* game = GetGame()) {
        game->ChangeLevel(kMenuLevelIndex);
    }
}
