#include "mygame/MyGame_FadeTransition.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

TUN_DEFINE_CLASS(FadeTransition)

namespace {

// Exponential approach per second; the fades end at these thresholds,
// about nine frames at 60 a second.
constexpr float kFadeRate = 12.0f;
constexpr float kFadedIn = 0.15f;
constexpr float kFadedOut = 0.85f;

constexpr const char* kCursorNames[] = {"RightCursor", "LeftCursor", "MainCursor"};

}  // namespace

FadeTransition::FadeTransition(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

FadeTransition::FadeTransition(const FadeTransition& other)
    : Sprite(other), m_alpha(other.m_alpha), m_state(other.m_state), m_targetLevel(other.m_targetLevel) {}

void FadeTransition::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteF32(m_alpha);
    file.WriteU32(m_state);
    file.WriteU32(m_targetLevel);
}

void FadeTransition::Load(Core::File& file) {
    Sprite::Load(file);
    float alpha = m_alpha;
    std::uint32_t state = m_state;
    std::uint32_t target = m_targetLevel;
    ReadFinite(file, alpha);
    file.ReadU32(state);
    file.ReadU32(target);
    if (state > kFadingOut) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_alpha = alpha;
    m_state = state;
    m_targetLevel = target;
}

void FadeTransition::Update(float dt) {
    Sprite::Update(dt);
    if (m_state == kFadingIn) {
        m_alpha = FadeStep(m_alpha, 0.0f, dt, kFadeRate);
        if (m_alpha <= kFadedIn) {
            m_state = kIdle;
            m_alpha = 0.0f;
        }
        SetOpacity(m_alpha);
    } else if (m_state == kFadingOut) {
        m_alpha = FadeStep(m_alpha, 1.0f, dt, kFadeRate);
        if (m_alpha > kFadedOut) {
            // Asked again on every update until the level goes.
            if (MyGame* game = GetGame()) {
                game->ChangeLevel(m_targetLevel);
            }
            m_alpha = 1.0f;
        }
        SetOpacity(m_alpha);
    }
}

void FadeTransition::FadeToLevel(std::uint32_t level) {
    if (m_state != kIdle) {
        return;
    }
    m_targetLevel = level;
    m_state = kFadingOut;
    if (MyGame* game = GetGame()) {
        game->SetVolume(0.0f, 0.25f);
    }
    for (const char* name : kCursorNames) {
        if (auto* cursor = Tundra::FindObject<Tundra::Sprite>(name)) {
            cursor->SetVisible(false);
        }
    }
}
