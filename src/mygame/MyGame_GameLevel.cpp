#include "mygame/MyGame_GameLevel.h"

#include "core/Core_File.h"
#include "mygame/MyGame_Globals.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_UNCLONABLE_CLASS(GameLevel)

GameLevel::GameLevel() { Globals().paused = 0; }

GameLevel::~GameLevel() = default;

void GameLevel::Save(Core::File& file) const { Level::Save(file); }

void GameLevel::Load(Core::File& file) { Level::Load(file); }

void GameLevel::OnStart() {}

void GameLevel::OnEnd() {}

void GameLevel::Update(float) {}

void GameLevel::DamagePlayer(float amount) {
    if (!std::isfinite(amount) || amount < 0.0f) {
        return;
    }
    m_health -= amount;
}

void GameLevel::AddDrops(std::int32_t count) {
    if (count < 0) {
        return;
    }
    m_drops += count;
}

void GameLevel::SetLevelPaused(bool paused) { Globals().paused = paused ? 1 : 0; }

void GameLevel::SpawnGroundEnemy() {}

void GameLevel::SpawnFlyingEnemy(std::int32_t, float) {}

void GameLevel::SpawnRollingSpike() {}

void GameLevel::SpawnBoss(float) {}

Player* GameLevel::GetPlayer() const { return Globals().player; }

void GameLevel::AddLiveEnemy(Enemy* enemy) {
    if (enemy == nullptr || std::find(m_liveEnemies.begin(), m_liveEnemies.end(), enemy) != m_liveEnemies.end()) {
        return;
    }
    m_liveEnemies.push_back(enemy);
}

void GameLevel::RemoveLiveEnemy(const Enemy* enemy) {
    std::erase(m_liveEnemies, enemy);
}

Enemy* GameLevel::GetLiveEnemy(std::size_t index) const {
    return index < m_liveEnemies.size() ? m_liveEnemies[index] : nullptr;
}

void GameLevel::CountKill(std::int32_t enemyKind) {
    switch (enemyKind) {
    case 0:
        ++m_kills.ground;
        break;
    case 1:
        ++m_kills.flying;
        break;
    case 2:
        ++m_kills.rolling;
        break;
    default:
        break;
    }
}

LabeledButton* GameLevel::GetDialogButton(std::size_t slot) const {
    return slot < kDialogSlots ? m_dialogButtons[slot] : nullptr;
}

void GameLevel::ClearCompanion() { m_companion = nullptr; }

void GameLevel::ShowPauseDialog(bool) {}

void GameLevel::ShowOptionsDialog() {}

void GameLevel::ShowVolumeDialog() {}

void GameLevel::ShowControlsDialog() {}
