#include "MyGame_DamageFixture.h"

#include "mygame/MyGame_GameLevel.h"

#include <gtest/gtest.h>

namespace mygametest {
namespace {

struct HitCase {
    const char* name;
    std::int32_t kind;
    std::int32_t weapon;
    std::uint8_t damageLevel;
    std::uint8_t stage;
    float scale;
    float loss;
};

// Hits as the weapons deal them: bullets of bits 1 and 8 at 0.4, the beam
// at 0.5, the flame half a frame's time.
TEST_F(DamageTest, AHitLowersHealthByWeaponKindLevelAndStage) {
    const HitCase cases[] = {
        {"bullet on a plain enemy", 0, 1, 0, 0, 0.4f, 0.34f},
        {"damage level 2 doubles", 0, 1, 2, 0, 0.4f, 0.68f},
        {"stage 8 deals 40 percent", 0, 1, 0, 8, 0.4f, 0.34f * 0.4f},
        {"bear boss per unit of scale", 3, 1, 0, 0, 1.0f, 0.015f},
        {"beam on a rolling spike", 2, 2, 0, 0, 0.5f, 0.5f},
        {"flame on a flying enemy", 1, 4, 0, 0, 0.5f / 60.0f, 0.55f / 120.0f},
        {"fifth weapon level 4", 0, 16, 4, 0, 1.0f, 0.45f},
        {"no such weapon", 0, 3, 0, 0, 1.0f, 0.0f},
        {"no such kind", 6, 1, 0, 0, 1.0f, 0.0f},
    };
    EnterStage();
    for (const HitCase& hit : cases) {
        SCOPED_TRACE(hit.name);
        PlayerProfile& profile = Game().GetProfile();
        profile.currentStage = hit.stage;
        profile.upgradeLevels[0] = hit.damageLevel;
        profile.fifthWeaponLevel = hit.damageLevel;
        TestEnemy& enemy = AddEnemy(hit.kind);
        enemy.TakeDamage(hit.scale, hit.weapon);
        EXPECT_NEAR(1.0f - enemy.GetHealth(), hit.loss, 1e-6f);
        EXPECT_EQ(enemy.healthChanges, 1);
    }
}

// Three bullets take 0.34 each: no clamp at 0, and a dead enemy still takes hits.
TEST_F(DamageTest, HealthGoesBelowZeroAndHitsStillCount) {
    EnterStage();
    TestEnemy& enemy = AddEnemy(0);
    for (int hit = 0; hit < 3; ++hit) {
        enemy.TakeDamage(0.4f, 1);
    }
    EXPECT_NEAR(enemy.GetHealth(), -0.02f, 1e-6f);
    enemy.TakeDamage(0.4f, 1);
    EXPECT_NEAR(enemy.GetHealth(), -0.36f, 1e-6f);
    EXPECT_EQ(enemy.healthChanges, 4);
}

TEST_F(DamageTest, ADestroyedEnemyLeavesTheLiveListOthersKeepTheirOrder) {
    EnterStage();
    auto& stage = static_cast<GameLevel&>(*Game().GetCurrentLevel());
    TestEnemy* enemies[] = {&AddEnemy(0), &AddEnemy(1), &AddEnemy(2)};
    for (TestEnemy* enemy : enemies) {
        stage.AddLiveEnemy(enemy);
    }
    enemies[1]->Destroy();
    enemies[1]->Destroy();
    ASSERT_EQ(stage.GetLiveEnemyCount(), 2u);
    EXPECT_EQ(stage.GetLiveEnemy(0), enemies[0]);
    EXPECT_EQ(stage.GetLiveEnemy(1), enemies[2]);
    EXPECT_TRUE(enemies[1]->IsDestroyRequested());
}

}  // namespace
}  // namespace mygametest
