#include "MyGame_EnemyFixture.h"

#include "mygame/MyGame_Player.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mygametest {
namespace {

using EnemyDropTest = EnemyScenario;

// Left by an enemy high up, a drop rises first, falls onto the ground and
// rests there, reaches full size within a second and drifts left with the
// ground at 100 units a second.
TEST_F(EnemyDropTest, ADropRisesLandsGrowsAndDriftsWithTheGround) {
    ASSERT_TRUE(EnterEmptyStage());
    const Vector2D start{900.0f, 400.0f};
    EnemyDrop* drop = SpawnEnemyDrop(start);
    ASSERT_NE(drop, nullptr);
    const Core::RefPtr<EnemyDrop> held(drop);
    EXPECT_EQ(drop->GetScaleX(), 0.25f);
    Step(3);
    EXPECT_GT(drop->GetPositionY(), start.y);
    Step(57);
    EXPECT_GT(drop->GetScaleX(), 0.99f);
    EXPECT_GT(drop->GetScaleY(), 0.99f);
    ASSERT_TRUE(RunUntil([&] { return drop->GetPositionY() < start.y - 50.0f; }, 120));
    float lastY = drop->GetPositionY();
    ASSERT_TRUE(RunUntil(
        [&] {
            const float y = drop->GetPositionY();
            const bool resting = std::fabs(y - lastY) < 0.01f;
            lastY = y;
            return resting;
        },
        240));
    const float x = drop->GetPositionX();
    Step(30);
    EXPECT_NEAR(drop->GetPositionX(), x - 50.0f, 1.0f);
    EXPECT_NEAR(drop->GetPositionY(), lastY, 0.5f);
    EXPECT_FALSE(drop->IsDestroyRequested());
}

// Touching the player, a drop is worth the stage's number (its index + 1)
// once, and goes.
TEST_F(EnemyDropTest, ThePlayerCollectsADropWorthTheStageNumberOnce) {
    struct Case {
        std::uint8_t stageIndex;
        std::int32_t worth;
    };
    for (const Case& c : {Case{0, 1}, Case{8, 9}}) {
        SCOPED_TRACE(c.stageIndex);
        ASSERT_TRUE(EnterEmptyStage());
        Game().GetProfile().currentStage = c.stageIndex;
        const Core::RefPtr<EnemyDrop> drop = SpawnEnemyDrop(Stage()->GetPlayer()->GetPosition());
        ASSERT_NE(drop, nullptr);
        ASSERT_TRUE(RunUntil([&] { return drop->IsDestroyRequested(); }, 10));
        Step(10);
        EXPECT_EQ(Stage()->GetDrops(), c.worth);
    }
}

// While the stage is paused a drop neither moves, grows, plays nor is
// collected; resumed, it plays and the player collects it.
TEST_F(EnemyDropTest, APausedDropStandsStill) {
    ASSERT_TRUE(EnterEmptyStage());
    GameLevel& stage = *Stage();
    const Core::RefPtr<EnemyDrop> drop = SpawnEnemyDrop(stage.GetPlayer()->GetPosition());
    ASSERT_NE(drop, nullptr);
    Step();
    stage.SetLevelPaused(true);
    const Vector2D pausedAt = drop->GetPosition();
    const float pausedScale = drop->GetScaleX();
    Step(30);
    EXPECT_EQ(drop->GetPosition(), pausedAt);
    EXPECT_EQ(drop->GetScaleX(), pausedScale);
    EXPECT_FALSE(drop->IsDestroyRequested());
    EXPECT_EQ(stage.GetDrops(), 0);
    EXPECT_FALSE(drop->IsPlaying());
    stage.SetLevelPaused(false);
    EXPECT_TRUE(drop->IsPlaying());
    ASSERT_TRUE(RunUntil([&] { return drop->IsDestroyRequested(); }, 10));
    EXPECT_EQ(stage.GetDrops(), 1);
}

// Outside x -100 to 1200 or y -100 to 1000 a drop goes.
TEST_F(EnemyDropTest, ADropOutsideTheAreaGoes) {
    ASSERT_TRUE(EnterEmptyStage());
    const Vector2D outside[] = {{-101.0f, 500.0f}, {1201.0f, 500.0f}, {500.0f, 1001.0f}, {500.0f, -101.0f}};
    for (const Vector2D& at : outside) {
        const Core::RefPtr<EnemyDrop> drop = SpawnEnemyDrop(at);
        ASSERT_NE(drop, nullptr);
        Step(2);
        EXPECT_TRUE(drop->IsDestroyRequested()) << at.x << ", " << at.y;
    }
    const Core::RefPtr<EnemyDrop> inside = SpawnEnemyDrop({1150.0f, 900.0f});
    Step(2);
    EXPECT_FALSE(inside->IsDestroyRequested());
}

}  // namespace
}  // namespace mygametest
