#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_BearBoss.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_EnemyDrop.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_Projectile.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_UnknownBoss.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "support/MyGame_StageStreamFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

namespace mygametest {
namespace {

using StageEnemiesTest = StageStreamFixture;

template <class T>
T* LiveAs(const GameLevel& stage, std::size_t index) {
    return dynamic_cast<T*>(stage.GetLiveEnemy(index));
}

TEST_F(StageEnemiesTest, AWaveBringsInRealEnemiesWalkersAndSpikesAboveTheLeadingTile) {
    ASSERT_TRUE(EnterStage(0));
    SendEnemiesAway();
    GameLevel& stage = *Stage();
    GameLevelTestAccess::PlanWaves(stage, {SpawnWave{.ground = 1, .flying = 1, .rolling = 1, .flyingPath = 2}});
    ASSERT_TRUE(RunUntil([&] { return stage.GetWaves().empty(); }, 3));
    ASSERT_EQ(stage.GetLiveEnemyCount(), 3u);
    ASSERT_NE(LiveAs<WalkingRangedEnemy>(stage, 0), nullptr);
    ASSERT_NE(LiveAs<RollingSpike>(stage, 2), nullptr);
    const auto* flyer = LiveAs<FlyingRangedEnemy>(stage, 1);
    ASSERT_NE(flyer, nullptr);
    EXPECT_EQ(flyer->GetFlightPattern(), 2);
    EXPECT_EQ(stage.GetLiveEnemy(0)->GetName(), "WalkingRangedEnemyTemplate");

    // Placed where they are made, before anything moves them.
    const Vector2D leading = stage.GetTerrain().GetLeadingPosition();
    stage.SpawnGroundEnemy();
    stage.SpawnRollingSpike();
    ASSERT_EQ(stage.GetLiveEnemyCount(), 5u);
    EXPECT_EQ(stage.GetLiveEnemy(3)->GetPosition(), leading + Vector2D(0.0f, 63.0f));
    EXPECT_EQ(stage.GetLiveEnemy(4)->GetPosition(), leading + Vector2D(0.0f, 70.0f));
}

// A wave of exactly six flyers is a leader on path 1 and a ring of five
// spread evenly around it.
TEST_F(StageEnemiesTest, ARingWaveSpreadsItsFiveFlyersEvenly) {
    ASSERT_TRUE(EnterStage(0));
    SendEnemiesAway();
    GameLevel& stage = *Stage();
    GameLevelTestAccess::PlanWaves(stage, {SpawnWave{.flying = 6, .flyingPath = 3}});
    ASSERT_TRUE(RunUntil([&] { return stage.GetWaves().empty(); }, 3));
    ASSERT_EQ(stage.GetLiveEnemyCount(), 6u);
    std::vector<const FlyingRangedEnemy*> flyers;
    for (std::size_t i = 0; i < 6; ++i) {
        flyers.push_back(LiveAs<FlyingRangedEnemy>(stage, i));
        ASSERT_NE(flyers.back(), nullptr);
    }
    EXPECT_EQ(flyers[0]->GetFlightPattern(), 1);
    constexpr float kStep = static_cast<float>(2.0 * std::numbers::pi / 5.0);
    for (std::size_t i = 1; i < 6; ++i) {
        EXPECT_EQ(flyers[i]->GetFlightPattern(), FlyingRangedEnemy::kRingPattern);
        // One frame has turned them all alike.
        EXPECT_NEAR(flyers[i]->GetFormationAngle() - flyers[1]->GetFormationAngle(),
                    kStep * static_cast<float>(i - 1), 1e-5f);
    }
    stage.SpawnFlyingEnemy(FlyingRangedEnemy::kRingPattern, 2.5132742f);
    EXPECT_EQ(LiveAs<FlyingRangedEnemy>(stage, 6)->GetFormationAngle(), 2.5132742f);
}

// Pausing the stage stops the enemies' shots, the bosses' shots and the
// drops; resuming plays them again.
TEST_F(StageEnemiesTest, PausingReachesShotsBossShotsAndDrops) {
    ASSERT_TRUE(EnterStage(0));
    SendEnemiesAway();
    GameLevel& stage = *Stage();
    std::vector<Tundra::Sprite*> sprites{
        CreateArcProjectile(Projectile::kArc, {900.0f, 500.0f}, {300.0f, 500.0f}),
        CreateBossProjectileTimed(BossProjectile::kWarningMarker, {600.0f, 600.0f}, 10.0f),
        SpawnEnemyDrop({700.0f, 600.0f}),
    };
    Step();
    for (Tundra::Sprite* sprite : sprites) {
        ASSERT_NE(sprite, nullptr);
        sprite->Play(true);
    }
    stage.SetLevelPaused(true);
    Step(5);
    for (const Tundra::Sprite* sprite : sprites) {
        EXPECT_FALSE(sprite->IsPlaying()) << sprite->GetName();
    }
    stage.SetLevelPaused(false);
    for (const Tundra::Sprite* sprite : sprites) {
        EXPECT_TRUE(sprite->IsPlaying()) << sprite->GetName();
    }
}

// The ground a boss was called in on; nothing while it is not active.
std::optional<float> ActiveOffset(const Enemy& enemy) {
    if (const auto* bear = dynamic_cast<const BearBoss*>(&enemy); bear != nullptr && bear->IsActive()) {
        return bear->GetVerticalOffset();
    }
    if (const auto* alpaca = dynamic_cast<const AlpacaBoss*>(&enemy); alpaca != nullptr && alpaca->IsActive()) {
        return alpaca->GetVerticalOffset();
    }
    if (const auto* unknown = dynamic_cast<const UnknownBoss*>(&enemy); unknown != nullptr && unknown->IsActive()) {
        return static_cast<float>(unknown->GetVerticalOffset());
    }
    return std::nullopt;
}

template <class Boss>
bool OpeningDone(const Enemy& enemy) {
    return static_cast<const Boss&>(enemy).IsOpeningDone();
}

// The boss of each boss stage, called in as the ground runs out, on the
// ground height the terrain ended at; its opening then brings it to its
// place above that ground.
struct BossCase {
    std::uint32_t stage;
    const char* name;
    bool (*openingDone)(const Enemy&);
};

class StageBossTest : public StageEnemiesTest, public testing::WithParamInterface<BossCase> {};

TEST_P(StageBossTest, TheRunOutGroundCallsTheBossInOnItsHeight) {
    const BossCase& row = GetParam();
    Enemy* boss = EnterBossFight(row.stage);
    ASSERT_NE(boss, nullptr);
    HoldHealth();
    EXPECT_EQ(boss->GetName(), row.name);
    EXPECT_EQ(Stage()->GetLiveEnemy(0), boss);
    const std::optional<float> offset = ActiveOffset(*boss);
    ASSERT_TRUE(offset.has_value());
    EXPECT_EQ(*offset, std::trunc(Stage()->GetTerrain().GetLeadingPosition().y));
    ASSERT_TRUE(RunUntil([&] { return row.openingDone(*boss); }, 900));
    EXPECT_EQ(boss->GetPosition(), Vector2D(900.0f, *offset + 217.0f));
}

INSTANTIATE_TEST_SUITE_P(Bosses, StageBossTest,
                         testing::Values(BossCase{2, "BearBossBody", &OpeningDone<BearBoss>},
                                         BossCase{5, "AlpacaBoss", &OpeningDone<AlpacaBoss>},
                                         BossCase{8, "UnknownBoss", &OpeningDone<UnknownBoss>}));

// Called in directly: a fractional ground is kept by the Bear and the
// Alpaca and cut toward zero for the final boss; a ground that is no number,
// or beyond whole units, calls nobody in.
TEST_F(StageEnemiesTest, SpawnBossPassesTheGroundAsEachBossTakesIt) {
    struct Call {
        std::uint32_t stage;
        float groundY;
        std::optional<float> offset;
    };
    const Call calls[] = {
        {2, 123.75f, 123.75f},
        {5, -7.5f, -7.5f},
        {8, -7.5f, -7.0f},
        {8, 123.75f, 123.0f},
        {2, std::numeric_limits<float>::quiet_NaN(), std::nullopt},
        {8, std::numeric_limits<float>::infinity(), std::nullopt},
        {8, 3e9f, std::nullopt},
    };
    for (const Call& call : calls) {
        ASSERT_TRUE(EnterStage(call.stage));
        Enemy* boss = Stage()->GetBoss();
        ASSERT_NE(boss, nullptr);
        Stage()->SpawnBoss(call.groundY);
        EXPECT_EQ(ActiveOffset(*boss), call.offset) << call.stage << " " << call.groundY;
        EndGame();
    }
}

// A fight saved and loaded keeps its boss; a stream whose boss link names
// another enemy is refused.
TEST_F(StageEnemiesTest, ALoadedFightKeepsItsBossAndRefusesAnotherEnemyAsBoss) {
    ASSERT_NE(EnterBossFight(2), nullptr);
    HoldHealth();
    Step(30);
    Save("fight");
    Load("fight");
    GameLevel* loaded = Stage();
    ASSERT_NE(loaded, nullptr);
    const auto* bear = dynamic_cast<const BearBoss*>(loaded->GetBoss());
    ASSERT_NE(bear, nullptr);
    EXPECT_EQ(bear, Find<BearBoss>("BearBossBody"));
    EXPECT_TRUE(bear->IsActive());
    EXPECT_EQ(loaded->GetLiveEnemy(0), bear);

    // The running game goes back to its own boss before the load, so that
    // a refused load can restore it.
    loaded->SpawnGroundEnemy();
    ASSERT_EQ(loaded->GetLiveEnemyCount(), 2u);
    GameLevelTestAccess::LinkBoss(*loaded, loaded->GetLiveEnemy(1));
    Save("walker as boss");
    GameLevelTestAccess::LinkBoss(*loaded, loaded->GetLiveEnemy(0));
    m_game->RequestLoad("walker as boss");
    Step(3);
    EXPECT_EQ(Stage()->GetBoss(), Find<BearBoss>("BearBossBody"));
    EXPECT_EQ(Stage()->GetLiveEnemyCount(), 2u);
}

}  // namespace
}  // namespace mygametest
