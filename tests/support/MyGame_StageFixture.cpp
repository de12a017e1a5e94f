#include "support/MyGame_StageFixture.h"

#include "collision/Collision_DynamicObject.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/Collision_CircleShape.h"
#include "support/MyGame_TestEnemy.h"
#include "tundra/Tundra_Layer.h"

namespace mygametest {

void StageFixture::AlsoBuild(std::uint32_t layer, TestContent::Builder builder) {
    m_extraBuilders.emplace_back(layer, std::move(builder));
}

bool StageFixture::EnterStage(std::uint32_t stage, std::uint32_t seed) {
    return EnterLevel(MyLevelFactory::kGameLevel, stage, seed);
}

bool StageFixture::EnterTitle(std::uint32_t seed) { return EnterLevel(MyLevelFactory::kMenuLevel, 0, seed); }

bool StageFixture::EnterLevel(std::uint32_t level, std::uint32_t stage, std::uint32_t seed) {
    // A running game goes first: its end gives the next game a fresh content.
    EndGame();
    AddStageContent(Content(), m_leftOut);
    if (level == MyLevelFactory::kMenuLevel) {
        AddTitleContent(Content());
    }
    for (const auto& [layer, extra] : m_extraBuilders) {
        Content().ThenBuild(MyLevelFactory::kGameLevel, layer, extra);
    }
    MyGame& game = StartGame(seed);
    ApplyHeldHealth();
    Step();
    game.GetProfile().currentStage = static_cast<std::uint8_t>(stage);
    game.ChangeLevel(level);
    constexpr int kFrameLimit = 4;
    for (int i = 0; i < kFrameLimit && m_game; ++i) {
        Step();
        if (!m_game->IsLevelChangePending() && m_game->GetCurrentLevelIndex() == level) {
            return true;
        }
    }
    return false;
}

Enemy* StageFixture::EnterBossFight(std::uint32_t stage, std::uint32_t seed) {
    if (!EnterStage(stage, seed)) {
        return nullptr;
    }
    GameLevel& level = *Stage();
    if (level.GetBoss() == nullptr) {
        return nullptr;
    }
    SendEnemiesAway();
    GameLevelTestAccess::SkipToBoss(level);
    // The last flat run scrolls in at the ground's pace.
    constexpr int kGroundFrameLimit = 1200;
    if (!RunUntil([this] { return Stage() != nullptr && Stage()->GetTerrain().IsEndReached(); }, kGroundFrameLimit)) {
        return nullptr;
    }
    return Stage()->GetBoss();
}

void StageFixture::SendEnemiesAway() {
    GameLevel* level = Stage();
    if (level == nullptr) {
        return;
    }
    GameLevelTestAccess::PlanWaves(*level, {});
    // Each leaves the live list as it goes.
    for (std::size_t i = 0; i < level->GetLiveEnemyCount();) {
        Enemy* enemy = level->GetLiveEnemy(i);
        if (enemy == level->GetBoss()) {
            ++i;
        } else {
            enemy->Destroy();
        }
    }
}

void StageFixture::HoldHealth() {
    m_holdingHealth = true;
    ApplyHeldHealth();
}

void StageFixture::ApplyHeldHealth() {
    constexpr std::uint8_t kWholeHit = 10;
    if (m_holdingHealth && m_game) {
        m_game->GetProfile().fifthWeaponLevel = kWholeHit;
    }
}

GameLevel* StageFixture::Stage() const {
    if (!m_game || m_game->IsLevelChangePending() || m_game->GetCurrentLevelIndex() != MyLevelFactory::kGameLevel) {
        return nullptr;
    }
    return dynamic_cast<GameLevel*>(m_game->GetCurrentLevel());
}

std::optional<int> StageFixture::RunUntil(const std::function<bool()>& done, int maxFrames) {
    for (int frame = 1; frame <= maxFrames && m_game; ++frame) {
        Step();
        if (done()) {
            return frame;
        }
    }
    return std::nullopt;
}

TestEnemy* StageFixture::AddTestEnemy(const Vector2D& position, std::int32_t kind, const char* name, float radius) {
    GameLevel* stage = Stage();
    Tundra::Layer* world = m_game ? m_game->GetWorldLayer() : nullptr;
    if (stage == nullptr || world == nullptr) {
        return nullptr;
    }
    constexpr std::uint8_t kBulletGroup = 2;
    // One frame: the collision circle has one.
    auto* enemy = TUN_NEW(TestEnemy, SheetAnimations({{"Flying1", 2, 2, Delays(1)}}));
    enemy->SetEnemyKind(kind);
    enemy->SetName(name);
    Collision2D::DynamicObject* circle = testsupport::MakeCircleShape(*m_game, radius, 0);
    circle->SetCanCollid(kBulletGroup, true);
    enemy->AddCollision(circle, world->GetCollisionId());
    enemy->SetOldPosition(position);
    world->AddGameObject(enemy);
    stage->AddLiveEnemy(enemy);
    return enemy;
}

void StageFixture::AimAt(const Vector2D& world) {
    const auto x = static_cast<std::int32_t>(world.x);
    const auto y = static_cast<std::int32_t>(MyGame::kHeight) - 1 - static_cast<std::int32_t>(world.y);
    SetCursor(x, y);
}

void StageFixture::Tap(os::VirtualKey key) {
    Press(key);
    Step();
    Release(key);
}

}  // namespace mygametest
