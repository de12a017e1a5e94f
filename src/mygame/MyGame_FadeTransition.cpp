#include "mygame/MyGame_FadeTransition.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(FadeTransition)

FadeTransition::FadeTransition(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

FadeTransition::FadeTransition(const FadeTransition& other) : Sprite(other) {}

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

void FadeTransition::FadeToLevel(std::uint32_t level) {
    MyGame* game = GetGame();
    if (m_state == kFadingOut || game == nullptr) {
        return;
    }
    m_targetLevel = level;
    m_state = kFadingOut;
    m_alpha = 1.0f;
    game->ChangeLevel(level);
}
