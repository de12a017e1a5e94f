#include "mygame/MyGame_Enemy.h"

#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_GameLevel.h"

#include <cmath>

TUN_DEFINE_CLASS(Enemy)

namespace {

constexpr std::uint32_t kStageLevelIndex = 2;

}  // namespace

Enemy::Enemy(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : DeBuffable(animations) {}

Enemy::Enemy(const Enemy& other)
    : DeBuffable(other),
      m_barDisplayTime(other.m_barDisplayTime),
      m_dead(other.m_dead),
      m_wasPlaying(other.m_wasPlaying) {}

void Enemy::Save(Core::File& file) const {
    DeBuffable::Save(file);
    file << m_healthBar;
    file << m_healthBarBackground;
    file.WriteF32(m_barDisplayTime);
    file.WriteU8(m_dead);
    file.WriteU8(m_wasPlaying);
}

void Enemy::Load(Core::File& file) {
    DeBuffable::Load(file);
    Tundra::Sprite* healthBar = nullptr;
    Tundra::Sprite* healthBarBackground = nullptr;
    float barDisplayTime = m_barDisplayTime;
    std::uint8_t dead = m_dead;
    std::uint8_t wasPlaying = m_wasPlaying;
    file >> healthBar;
    file >> healthBarBackground;
    file.ReadF32(barDisplayTime);
    file.ReadU8(dead);
    file.ReadU8(wasPlaying);
    if (file.HasFailed() || !std::isfinite(barDisplayTime) || dead > 1 || wasPlaying > 1) {
        file.SetFailed();
        return;
    }
    m_healthBar = healthBar;
    m_healthBarBackground = healthBarBackground;
    m_barDisplayTime = barDisplayTime;
    m_dead = dead;
    m_wasPlaying = wasPlaying;
}

void Enemy::Destroy() {
    DeBuffable::Destroy();
    const MyGame* game = GetGame();
    if (game == nullptr || game->GetCurrentLevelIndex() != kStageLevelIndex) {
        return;
    }
    if (auto* stage = dynamic_cast<GameLevel*>(game->GetCurrentLevel())) {
        stage->RemoveLiveEnemy(this);
    }
}

void Enemy::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }
