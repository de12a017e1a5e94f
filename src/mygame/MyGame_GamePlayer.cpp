#include "mygame/MyGame_GamePlayer.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelIndices.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StateBuilder.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

TUN_DEFINE_CLASS(GamePlayer)

namespace {

enum PlayerStateIndex : std::int32_t { kInvulnerable = 0, kIdle = 1, kDying = 2, kYouLose = 3 };

constexpr int kStandAnimation = 0;
constexpr int kHitAnimation = 1;
constexpr float kBlinkSpeed = 50.0f;
constexpr float kFullTurn = static_cast<float>(2.0 * std::numbers::pi);
constexpr std::uint32_t kMenuLevel = 1;
constexpr std::uint8_t kBoundingRectangleOnly = 0;

using State = Tundra::State<GamePlayer>;

// Outside a stage nothing hurts the player.
float StageHealth() {
    const GameLevel* stage = GetRunningStage();
    return stage != nullptr ? stage->GetHealth() : 1.0f;
}

void FadeTo(std::uint32_t level) {
    if (auto* fade = Tundra::FindObject<FadeTransition>("FadeTransition")) {
        fade->FadeToLevel(level);
    }
}

void SetMountsOpacity(const Tundra::GameObject& object, float opacity) {
    for (int i = 0; i < object.GetMountsCount(); ++i) {
        if (Tundra::GameObject* mounted = object.GetMountAt(i)) {
            mounted->SetOpacity(opacity);
        }
    }
}

}  // namespace

GamePlayer::StateMachine* GamePlayer::BuildPlayerState(GamePlayer* owner) {
    struct Spec {
        const char* name;
        State::Callback enter;
        State::Callback update;
        std::array<std::pair<std::int32_t, State::Condition>, 2> transitions;
    };
    const std::array<Spec, 4> specs{{
        {"Invulnerable", &GamePlayer::EnterInvulnerable, &GamePlayer::Blink,
         {{{kIdle, &GamePlayer::IsVulnerable}, {0, nullptr}}}},
        {"Idle", &GamePlayer::EnterIdleState, nullptr,
         {{{kInvulnerable, &GamePlayer::IsInvulnerable}, {kDying, &GamePlayer::IsOutOfHealth}}}},
        {"Dying", &GamePlayer::EnterDying, nullptr, {{{kYouLose, &GamePlayer::IsDeathOver}, {0, nullptr}}}},
        {"YouLose", &GamePlayer::EnterYouLose, nullptr, {}},
    }};
    StateMachine::StateList states;
    for (const Spec& spec : specs) {
        State* state = AppendState<GamePlayer>(states, spec.name, 0.0f, spec.enter, spec.update, nullptr);
        for (const auto& [target, condition] : spec.transitions) {
            if (condition != nullptr) {
                state->AddTransition(target, condition, 0.0f);
            }
        }
    }
    StateMachine* machine = TUN_NEW(StateMachine, states, kIdle, 0.0f, owner);
    machine->SetName("PlayerState");
    return machine;
}

GamePlayer::GamePlayer() : m_stateMachine(BuildPlayerState(this)) {}

GamePlayer::GamePlayer(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Player(animations), m_stateMachine(BuildPlayerState(this)) {}

GamePlayer::GamePlayer(const GamePlayer& other)
    : Player(other), m_stateMachine(static_cast<StateMachine*>(other.m_stateMachine->CloneState())) {
    m_stateMachine->SetOwnerRecursive(this);
}

GamePlayer::~GamePlayer() = default;

void GamePlayer::Save(Core::File& file) const {
    Player::Save(file);
    file.WriteF32(m_invulnerableTime);
    file.WriteF32(m_blinkPhase);
    m_stateMachine->Save(file);
    for (const Core::RefPtr<LabeledButton>& button : m_defeatButtons) {
        file << button;
    }
}

void GamePlayer::Load(Core::File& file) {
    Player::Load(file);
    float invulnerableTime = m_invulnerableTime;
    float blinkPhase = m_blinkPhase;
    file.ReadF32(invulnerableTime);
    file.ReadF32(blinkPhase);
    if (!std::isfinite(invulnerableTime) || !std::isfinite(blinkPhase)) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    // Read into a copy, kept only when the whole stream is sound.
    const Core::RefPtr<StateMachine> machine(static_cast<StateMachine*>(m_stateMachine->CloneState()));
    machine->Load(file);
    std::array<Core::RefPtr<LabeledButton>, 2> buttons;
    for (Core::RefPtr<LabeledButton>& button : buttons) {
        file >> button;
    }
    if (file.HasFailed()) {
        return;
    }
    m_stateMachine = machine;
    m_invulnerableTime = invulnerableTime;
    m_blinkPhase = blinkPhase;
    m_defeatRebindPending = (buttons[0] != nullptr || buttons[1] != nullptr) ? 1 : 0;
    m_defeatButtons = std::move(buttons);
}

LabeledButton* GamePlayer::GetDefeatButton(std::size_t index) const {
    return index < m_defeatButtons.size() ? m_defeatButtons[index].Get() : nullptr;
}

void GamePlayer::OnStart() {
    Player::OnStart();
    m_invulnerableTime = 0.0f;
    m_blinkPhase = 0.0f;
}

// While the death animation plays the level is paused, yet the machine
// runs on to the defeat; a dead player no longer moves or turns.
void GamePlayer::Update(float dt) {
    if (m_defeatRebindPending != 0) {
        m_defeatRebindPending = 0;
        BindDefeatButtons();
    }
    if (Globals().paused != 0 && GetCurrentAnimationIndex() != kDeathAnimation) {
        return;
    }
    if (StageHealth() > 0.0f) {
        Player::Update(dt);
        ClampToScreen();
        SetVelocity(m_velocity);
    }
    m_stateMachine->Update(dt);
}

void GamePlayer::EnterInvulnerable(float) {
    SetCurrentAnimationIndex(kHitAnimation, true);
    SetLoop(true);
    Play(true);
}

void GamePlayer::Blink(float dt) {
    m_invulnerableTime -= dt;
    m_blinkPhase += dt * kBlinkSpeed;
    if (m_blinkPhase > kFullTurn) {
        m_blinkPhase -= kFullTurn;
    }
    const float opacity = std::sin(m_blinkPhase) * 0.5f + 0.5f;
    SetOpacity(opacity);
    SetMountsOpacity(*this, opacity);
}

void GamePlayer::EnterIdleState(float) {
    SetOpacity(1.0f);
    SetMountsOpacity(*this, 1.0f);
    SetCurrentAnimationIndex(kStandAnimation, true);
    SetLoop(false);
    Stop();
}

void GamePlayer::EnterDying(float) {
    if (Collision2D::DynamicObject* object = GetCollisionObject()) {
        object->SetCollisionType(kBoundingRectangleOnly);
    }
    RemoveAllForces();
    m_velocity = {0.0f, 0.0f};
    SetVelocity(m_velocity);
    SetOpacity(1.0f);
    SetMountsOpacity(*this, 0.0f);
    SetCurrentAnimationIndex(kDeathAnimation, true);
    SetLoop(false);
    Play(true);
    if (GameLevel* stage = GetRunningStage()) {
        stage->SetLevelPaused(true);
    }
    if (Tundra::Sound* sound = Globals().playerDeathSound) {
        sound->Rewind();
        sound->Play(false);
    }
}

void GamePlayer::EnterYouLose(float) { ShowDefeatDialog(); }

bool GamePlayer::IsVulnerable(float) { return m_invulnerableTime <= 0.0f; }

bool GamePlayer::IsInvulnerable(float) { return m_invulnerableTime > 0.0f; }

bool GamePlayer::IsOutOfHealth(float) { return StageHealth() <= 0.0f; }

bool GamePlayer::IsDeathOver(float) { return IsEndOfAnimation(); }

void GamePlayer::MakeDefeatButtons() {
    for (Core::RefPtr<LabeledButton>& button : m_defeatButtons) {
        if (button) {
            button->Destroy();
        }
    }
    m_defeatButtons[0] = MakeLabeledButton({0.0f, 0.0f}, "restart", 0, nullptr);
    m_defeatButtons[1] = MakeLabeledButton({0.0f, -70.0f}, "exit to menu", 0, nullptr);
    BindDefeatButtons();
}

void GamePlayer::BindDefeatButtons() {
    if (m_defeatButtons[0]) {
        m_defeatButtons[0]->SetClickCallback([] { FadeTo(kStageLevel); });
    }
    if (m_defeatButtons[1]) {
        m_defeatButtons[1]->SetClickCallback([] { FadeTo(kMenuLevel); });
    }
}

void GamePlayer::ShowDefeatDialog() {
    MakeDefeatButtons();
    if (const GameLevel* stage = GetRunningStage(); stage != nullptr && stage->GetFrame() != nullptr) {
        stage->GetFrame()->SetTargetRect(0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        stage->GetFrame()->SetTargetRect(-200.0f, 200.0f, 200.0f, -200.0f, 1.0f);
    }
    SetVisible(false);
    for (WeaponSprite* weapon : {GetLeftWeapon(), GetRightWeapon()}) {
        if (weapon != nullptr) {
            weapon->SetVisible(false);
        }
    }
    if (auto* text = Tundra::FindObject<CenteredText>("EndGameDialog")) {
        text->SetAnchor({0.0f, 120.0f});
        text->SetScale(2.0f, 2.0f);
        text->SetVisible(true);
        text->SetText("defeat");
    }
}
