#include "mygame/MyGame_GameLevel.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_EnemySpawns.h"
#include "mygame/MyGame_FadeTransition.h"
#include "mygame/MyGame_FireEffectPool.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_HpBar.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_VolumeControl.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "physics/Physics_PhysicsEngine.h"
#include "sound/Sound_JukeBox.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sound.h"

#include <algorithm>
#include <cmath>

TUN_DEFINE_UNCLONABLE_CLASS(GameLevel)

namespace {

constexpr float kRunningPhysicsStep = 0.02f;
// Small enough that bodies stand still while the stage is paused.
constexpr float kPausedPhysicsStep = 1e-12f;
constexpr float kInvulnerableTime = 0.5f;
// Below this health the companion leaves and the stage's own music starts.
constexpr float kCompanionLeavesBelow = 0.4f;
constexpr std::uint32_t kFifthWeaponBit = 16;

void PlayEffect(Tundra::Sound* sound) {
    if (sound != nullptr) {
        sound->Rewind();
        sound->Play(false);
    }
}

// Every object of the name in the level whose class is T, in level order.
template <class T>
std::vector<Core::RefPtr<T>> AllInLevel(const Tundra::Level& level, const Core::String& name) {
    std::vector<Tundra::GameObject*> objects;
    level.GetGameObjects(&name, objects);
    std::vector<Core::RefPtr<T>> found;
    for (Tundra::GameObject* object : objects) {
        if (auto* typed = dynamic_cast<T*>(object)) {
            found.emplace_back(typed);
        }
    }
    return found;
}

// Every object of the name whose class is T paused or resumed.
template <class T>
void PauseAllNamed(const Tundra::Level& level, const char* name, bool paused) {
    for (const Core::RefPtr<T>& object : AllInLevel<T>(level, name)) {
        object->SetPaused(paused);
    }
}

void PlayOrStop(const Tundra::Level& level, const char* name, bool paused) {
    if (auto* sprite = Tundra::FindObject<Tundra::Sprite>(level, name)) {
        sprite->Play(!paused);
    }
}

}  // namespace

GameLevel::GameLevel() { Globals().paused = 0; }

GameLevel::~GameLevel() = default;

void GameLevel::OnEnd() {
    ClearFireEffectPool();
    if (m_frame != nullptr) {
        m_frame->Destroy();
        m_frame.reset();
    }
    Level::OnEnd();
}

void GameLevel::DamagePlayer(float amount) {
    if (!std::isfinite(amount) || amount < 0.0f) {
        return;
    }
    const MyGame* game = GetGame();
    const std::uint8_t armour = game != nullptr ? GetUpgradeLevel(game->GetProfile(), kFifthWeaponBit, 0) : 0;
    const float share = static_cast<float>(armour) / 10.0f;
    m_health = m_health - (amount - share * amount);
    if (m_healthBar) {
        m_healthBar->SetHealth(m_health);
    }
    if (GamePlayer* player = GetGamePlayer()) {
        player->SetInvulnerableTime(m_health > 0.0f ? kInvulnerableTime : 0.0f);
    }
    if (m_health < kCompanionLeavesBelow && m_companion && m_companion->GetMount() != nullptr) {
        m_companion->GetMount()->UnMount(m_companion.Get());
        if (game != nullptr) {
            MyGame* mutableGame = GetGame();
            if (Tundra::JukeBox* playlist = mutableGame->GetMenuMusic()) {
                playlist->PauseMusic();
            }
            // The stage's music takes the level's one jukebox, and with it
            // the game's link to the playlist.
            mutableGame->LoadLevelMusic();
        }
    }
    PlayEffect(Globals().playerHitSound);
}

void GameLevel::AddDrops(std::int32_t count) {
    if (count < 0) {
        return;
    }
    m_drops += count;
    if (auto* text = Tundra::FindObject<ScoreText>(*this, "DropsCollectedText")) {
        text->SetTargetValue(m_drops);
    }
    PlayEffect(Globals().playerCollectSound);
}

void GameLevel::SetLevelPaused(bool paused) {
    Globals().paused = paused ? 1 : 0;
    if (MyGame* game = GetGame()) {
        if (Physics2D::PhysicsEngine* physics = game->GetPhysicsEngine()) {
            physics->SetMaximumSimulationStep(paused ? kPausedPhysicsStep : kRunningPhysicsStep);
        }
    }
    // Pausing may destroy nothing, but walk by index re-reading the length
    // all the same: the objects' hooks are not ours.
    for (std::size_t i = 0; i < m_liveEnemies.size(); ++i) {
        const Core::RefPtr<Enemy> enemy = m_liveEnemies[i];
        enemy->SetPaused(paused);
    }
    PauseAllNamed<Bullet>(*this, "BulletTemplate", paused);
    PauseAllNamed<Projectile>(*this, "ProjectileTemplate", paused);
    if (Player* player = GetPlayer()) {
        player->SetPaused(paused);
        for (WeaponSprite* weapon : {player->GetLeftWeapon(), player->GetRightWeapon()}) {
            if (weapon != nullptr) {
                weapon->SetPaused(paused);
            }
        }
    }
    PlayOrStop(*this, "WarningText", paused);
    PauseAllNamed<BossProjectile>(*this, "BossProjTemplate", paused);
    PauseAllNamed<EnemyDrop>(*this, "EnemyDropTemplate", paused);
    PlayOrStop(*this, "Donut", paused);
}

void GameLevel::SpawnGroundEnemy() {
    const Vector2D at = m_terrain.GetLeadingPosition() + Vector2D{0.0f, 63.0f};
    AddLiveEnemy(CreateWalkingRangedEnemy(at));
}

void GameLevel::SpawnFlyingEnemy(std::int32_t path, float phase) {
    AddLiveEnemy(CreateFlyingRangedEnemy(Vector2D{1000.0f, 1000.0f}, path, phase));
}

void GameLevel::SpawnRollingSpike() {
    const Vector2D at = m_terrain.GetLeadingPosition() + Vector2D{0.0f, 70.0f};
    AddLiveEnemy(CreateRollingSpike(at, Vector2D{0.0f, -2.0f}));
}

void GameLevel::SpawnBoss(float groundY) {
    // The final boss stands on whole units: an offset beyond them is refused.
    constexpr float kWholeUnitsEnd = 2147483648.0f;
    if (!m_boss || !std::isfinite(groundY)) {
        return;
    }
    if (auto* bear = dynamic_cast<BearBoss*>(m_boss.Get())) {
        bear->Activate(groundY);
    } else if (auto* alpaca = dynamic_cast<AlpacaBoss*>(m_boss.Get())) {
        alpaca->Activate(groundY);
    } else if (auto* unknown = dynamic_cast<UnknownBoss*>(m_boss.Get())) {
        if (std::fabs(groundY) < kWholeUnitsEnd) {
            unknown->Activate(static_cast<std::int32_t>(groundY));
        }
    }
}

Player* GameLevel::GetPlayer() const { return Globals().player; }

GamePlayer* GameLevel::GetGamePlayer() const { return dynamic_cast<GamePlayer*>(Globals().player); }

void GameLevel::AddLiveEnemy(Enemy* enemy) {
    if (enemy == nullptr || std::find(m_liveEnemies.begin(), m_liveEnemies.end(), enemy) != m_liveEnemies.end()) {
        return;
    }
    m_liveEnemies.emplace_back(enemy);
}

void GameLevel::RemoveLiveEnemy(const Enemy* enemy) {
    std::erase_if(m_liveEnemies, [enemy](const Core::RefPtr<Enemy>& live) { return live.Get() == enemy; });
}

Enemy* GameLevel::GetLiveEnemy(std::size_t index) const {
    return index < m_liveEnemies.size() ? m_liveEnemies[index].Get() : nullptr;
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
    return slot < kDialogSlots ? m_dialogButtons[slot].Get() : nullptr;
}

void GameLevel::ClearCompanion() { m_companion = nullptr; }

void GameLevel::FindObjects() {
    m_distanceBar = Tundra::FindObject<DistanceUI>(*this, "DistanceUI");
    m_healthBar = Tundra::FindObject<HpBar>(*this, "PlayerHPBarColor");
    m_volumeSlider = Tundra::FindObject<VolumeControl>(*this, "VolumeBG");
    m_dialogText = Tundra::FindObject<DialogText>(*this, "DialogText");
    m_dialogArrow = Tundra::FindObject<Tundra::Sprite>(*this, "DialogArrow");
    m_endGameText = Tundra::FindObject<CenteredText>(*this, "EndGameDialog");
    m_fade = Tundra::FindObject<FadeTransition>(*this, "FadeTransition");
}
