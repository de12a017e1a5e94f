#include "mygame/MyGame.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_Quorvex.h"
#include "os/OS_Path.h"
#include "physics/Physics_PhysicsEngine.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_TestEnemy.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_Layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <iterator>
#include <string>

namespace mygametest {
namespace {

class StageTest : public StageFixture {
protected:
    // The stage's course, without enemies of its own.
    StageTest() { LeaveOutEnemies(); }

    // Clicks each story line once it is whole; the lines shown, in order.
    std::vector<std::string> ClickThroughStory() {
        std::vector<std::string> lines;
        for (int i = 0; i < 20 && Stage() != nullptr && Stage()->IsStoryActive(); ++i) {
            auto* text = Find<DialogText>("DialogText");
            if (text == nullptr || !RunUntil([text] { return text->IsLineComplete(); }, 600)) {
                break;
            }
            // Rows of a long line are broken on spaces.
            std::string line = text->GetLine().c_str();
            std::replace(line.begin(), line.end(), '\n', ' ');
            lines.push_back(line);
            Tap(os::VK_LBUTTON);
        }
        return lines;
    }

    // Skips the run; the story starts once the ground has ended.
    bool RunToResults() {
        GameLevelTestAccess::SkipToEnd(*Stage());
        if (!RunUntil([this] { return Stage()->IsStoryActive(); }, 1200)) {
            return false;
        }
        ClickThroughStory();
        return Stage() != nullptr && Stage()->AreResultsShowing();
    }

    PlayerProfile ProfileOnDisk() const {
        std::ifstream file(DataFolder() + "/profile.sav", std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        return ParseProfile(text).profile;
    }

    float PhysicsStep() { return Game().GetPhysicsEngine()->GetMaximumSimulationStep(); }
};

TEST_F(StageTest, StageZerosPlanHoldsItsEnemiesInWavesEquallySpacedOverItsLength) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    const float length = GameLevelTestAccess::BuildSpawnWaves(stage);
    EXPECT_EQ(length, 40.0f);
    std::int32_t ground = 0, flying = 0, rolling = 0;
    for (const SpawnWave& wave : stage.GetWaves()) {
        ground += wave.ground;
        flying += wave.flying;
        rolling += wave.rolling;
        EXPECT_EQ(wave.flyingPath != 0, wave.flying > 0);
    }
    EXPECT_EQ(ground, 3);
    EXPECT_EQ(flying, 15);
    EXPECT_EQ(rolling, 1);
    const float spacing = length / static_cast<float>(stage.GetWaves().size());
    float delay = 0.0f;
    for (const SpawnWave& wave : stage.GetWaves()) {
        EXPECT_EQ(wave.delay, delay);
        delay += spacing;
    }
}

TEST_F(StageTest, TheDistanceBarFollowsTheRunAndNothingEndsWhileAnEnemyLives) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    Step(120);
    auto* bar = Find<DistanceUI>("DistanceUI");
    ASSERT_NE(bar, nullptr);
    EXPECT_FLOAT_EQ(bar->GetProgress(), stage.GetDistance() / stage.GetStageLength());
    EXPECT_NEAR(stage.GetDistance(), 121.0f / 60.0f, 0.05f);

    TestEnemy* enemy = AddTestEnemy({500.0f, 500.0f});
    GameLevelTestAccess::SkipToEnd(stage);
    Step(30);
    EXPECT_FALSE(stage.IsEndBegun());
    // What the enemy's destroy does.
    stage.RemoveLiveEnemy(enemy);
    ASSERT_TRUE(RunUntil([&] { return stage.IsEndBegun(); }, 5));
    EXPECT_TRUE(stage.GetTerrain().IsEnding());
}

TEST_F(StageTest, TheEndedGroundClearsTheStageAndFiveClicksTellTheStoryBeforeTheResults) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    GameLevelTestAccess::SkipToEnd(stage);
    ASSERT_TRUE(RunUntil([&] { return stage.IsCleared(); }, 1200));
    ASSERT_TRUE(RunUntil([&] { return stage.IsStoryActive(); }, 2));
    EXPECT_EQ(Globals().paused, 1);
    EXPECT_EQ(PhysicsStep(), 1e-12f);
    EXPECT_TRUE(stage.GetTerrain().IsEndReached());

    const std::vector<std::string> lines = ClickThroughStory();
    const char* const* expected = GetStoryLines(0);
    ASSERT_EQ(lines.size(), 5u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], expected[i]);
    }
    EXPECT_TRUE(stage.AreResultsShowing());
    EXPECT_FALSE(stage.IsStoryActive());
}

TEST_F(StageTest, OnABossStageTheWarningComesFirstAndTheBossJoinsOnceItIsShown) {
    AlsoBuild(1, [](const LayerBuild& build) { PlaceSprite<TestEnemy>(build, "BearBossBody", {900.0f, 300.0f}); });
    ASSERT_TRUE(EnterStage(2));
    GameLevel& stage = *Stage();
    ASSERT_NE(stage.GetBoss(), nullptr);
    auto* bar = Find<DistanceUI>("DistanceUI");
    ASSERT_NE(bar, nullptr);
    GameLevelTestAccess::SkipToEnd(stage);
    ASSERT_TRUE(RunUntil([&] { return bar->IsActive(); }, 5));
    EXPECT_EQ(stage.GetLiveEnemyCount(), 0u);
    EXPECT_FALSE(stage.GetTerrain().IsEnding());
    ASSERT_TRUE(RunUntil([&] { return stage.IsEndBegun(); }, 600));
    ASSERT_EQ(stage.GetLiveEnemyCount(), 1u);
    EXPECT_EQ(stage.GetLiveEnemy(0), stage.GetBoss());
    EXPECT_TRUE(stage.GetTerrain().IsEnding());
}

struct BossBonus {
    std::uint32_t stage;
    const char* boss;
    std::uint32_t bonus;
    // The last stage unlocks nothing.
    std::uint32_t highestStage;
};

class StageBossBonusTest : public StageTest, public testing::WithParamInterface<BossBonus> {};

TEST_P(StageBossBonusTest, ResultsCreditDropsAndTheBossBonusAndWriteTheProfileAtOnce) {
    const BossBonus row = GetParam();
    AlsoBuild(1, [&row](const LayerBuild& build) { PlaceSprite<TestEnemy>(build, row.boss, {900.0f, 300.0f}); });
    ASSERT_TRUE(EnterStage(row.stage));
    GameLevel& stage = *Stage();
    const std::uint32_t before = Game().GetProfile().currency;
    stage.AddDrops(7);
    // The boss's defeat stands in for the run.
    stage.SetCleared();
    ASSERT_TRUE(RunUntil([&] { return stage.IsStoryActive(); }, 2));
    ClickThroughStory();
    ASSERT_TRUE(stage.AreResultsShowing());
    EXPECT_EQ(Game().GetProfile().currency, before + 7 + row.bonus);
    const PlayerProfile onDisk = ProfileOnDisk();
    EXPECT_EQ(onDisk.currency, before + 7 + row.bonus);
    EXPECT_EQ(onDisk.highestStage, row.highestStage);
}

INSTANTIATE_TEST_SUITE_P(Bosses, StageBossBonusTest,
                         testing::Values(BossBonus{2, "BearBossBody", 50, 3}, BossBonus{5, "AlpacaBoss", 150, 6},
                                         BossBonus{8, "UnknownBoss", 300, 0}));

TEST_F(StageTest, ABossStageWithoutItsBossPlaysAsAStageWithoutOne) {
    LeaveOutBosses();
    ASSERT_TRUE(EnterStage(2));
    GameLevel& stage = *Stage();
    EXPECT_EQ(stage.GetBoss(), nullptr);
    const std::uint32_t before = Game().GetProfile().currency;
    ASSERT_TRUE(RunToResults());
    EXPECT_EQ(Game().GetProfile().currency, before);
}

// Drops never lower the currency: at the largest count it stays there, in
// the game and in the file.
TEST_F(StageTest, ResultsCreditDropsUpToTheLargestCurrency) {
    constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
    const struct {
        std::uint32_t before;
        std::int32_t drops;
        std::uint32_t after;
    } cases[] = {{kLargest, 5, kLargest}, {kLargest - 3, 7, kLargest}, {kLargest - 10, 9, kLargest - 1}};
    for (const auto& test : cases) {
        ASSERT_TRUE(EnterStage(0));
        Game().GetProfile().currency = test.before;
        Stage()->AddDrops(test.drops);
        ASSERT_TRUE(RunToResults());
        EXPECT_EQ(Game().GetProfile().currency, test.after) << test.before;
        EXPECT_EQ(ProfileOnDisk().currency, test.after) << test.before;
    }
}

TEST_F(StageTest, TheKillRateChoosesTheStars) {
    // Stage 6 has 70 enemies: 63 kills are exactly 90 %, 49 exactly 70 %.
    for (const auto& [kills, frame] : std::vector<std::pair<int, int>>{{64, 3}, {63, 2}, {57, 2}, {50, 1}, {49, 0}}) {
        ASSERT_TRUE(EnterStage(6));
        auto* stars = Find<Tundra::Sprite>("Stars");
        ASSERT_NE(stars, nullptr);
        stars->SetCurrentFrameIndex(0, false);
        for (int i = 0; i < kills; ++i) {
            Stage()->CountKill(i % 3);
        }
        ASSERT_TRUE(RunToResults()) << kills;
        EXPECT_EQ(stars->GetCurrentFrameIndex(), frame) << kills;
        EXPECT_TRUE(stars->GetVisible());
        EndGame();
    }
}

TEST_F(StageTest, NextLevelPressedTwiceGoesOneStageOn) {
    ASSERT_TRUE(EnterStage(3));
    ASSERT_TRUE(RunToResults());
    LabeledButton* next = FindButton("next level");
    ASSERT_NE(next, nullptr);
    PressButton(next);
    PressButton(next);
    EXPECT_EQ(Game().GetProfile().currentStage, 4);
    EXPECT_EQ(Game().GetProfile().highestStage, 4);
}

TEST_F(StageTest, TheLastStageOffersNoNextLevelAndUnlocksNothing) {
    // The results without a fight.
    LeaveOutBosses();
    ASSERT_TRUE(EnterStage(8));
    Game().GetProfile().highestStage = 8;
    ASSERT_TRUE(RunToResults());
    EXPECT_EQ(FindButton("next level"), nullptr);
    EXPECT_NE(FindButton("restart"), nullptr);
    EXPECT_NE(FindButton("exit to menu"), nullptr);
    EXPECT_EQ(Game().GetProfile().highestStage, 8);
}

TEST_F(StageTest, DamageIsLessenedByTheFifthWeaponsLevel) {
    for (const auto& [level, left] : std::vector<std::pair<std::uint8_t, float>>{{0, 0.95f}, {5, 0.975f}}) {
        ASSERT_TRUE(EnterStage(0));
        Game().GetProfile().fifthWeaponLevel = level;
        Stage()->DamagePlayer(0.05f);
        EXPECT_NEAR(Stage()->GetHealth(), left, 1e-6f);
        auto* player = dynamic_cast<GamePlayer*>(Stage()->GetPlayer());
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(player->GetInvulnerableTime(), 0.5f);
        for (float bad : {-0.1f, std::numeric_limits<float>::quiet_NaN()}) {
            Stage()->DamagePlayer(bad);
            EXPECT_NEAR(Stage()->GetHealth(), left, 1e-6f);
        }
        EndGame();
    }
}

TEST_F(StageTest, AFallenPlayerLosesHalfItsHealthAndStandsAboveTheSixthColumn) {
    ASSERT_TRUE(EnterStage(0));
    Step(30);
    Player* player = Stage()->GetPlayer();
    ASSERT_NE(player, nullptr);
    player->SetOldPosition({-20.0f, 300.0f});
    player->SetPosition({-20.0f, 300.0f});
    Step();
    EXPECT_EQ(Stage()->GetHealth(), 1.0f);
    EXPECT_NEAR(player->GetPositionX(), -20.0f, 3.0f);

    Game().GetProfile().fifthWeaponLevel = 2;
    player->SetOldPosition({400.0f, -5.0f});
    player->SetPosition({400.0f, -5.0f});
    Step();
    EXPECT_NEAR(Stage()->GetHealth(), 0.6f, 1e-6f);
    const Vector2D column = Stage()->GetTerrain().GetRespawnPosition();
    // Placed there before this frame's own motion.
    EXPECT_NEAR(player->GetPositionX(), column.x, 8.0f);
    EXPECT_NEAR(player->GetPositionY(), column.y + 60.0f, 8.0f);
}

TEST_F(StageTest, BelowFourTenthsTheCompanionLeavesAndTheStageMusicStarts) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    Quorvex* companion = stage.GetCompanion();
    ASSERT_NE(companion, nullptr);
    if (companion->GetMount() == nullptr) {
        stage.GetPlayer()->Mount(companion);
    }
    ASSERT_NE(Game().GetMenuMusic(), nullptr);
    stage.DamagePlayer(0.5f);
    EXPECT_NE(companion->GetMount(), nullptr);
    EXPECT_EQ(Game().GetLevelMusic(), nullptr);
    stage.DamagePlayer(0.2f);
    EXPECT_EQ(companion->GetMount(), nullptr);
    EXPECT_EQ(Game().GetMenuMusic(), nullptr);
    EXPECT_NE(Game().GetLevelMusic(), nullptr);
}

TEST_F(StageTest, EscapePausesAndResumesButNotOnceCleared) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    Step(30);
    Tap(os::VK_ESCAPE);
    EXPECT_EQ(Globals().paused, 1);
    EXPECT_EQ(PhysicsStep(), 1e-12f);
    const float distance = stage.GetDistance();
    Step(60);
    EXPECT_EQ(stage.GetDistance(), distance);
    Tap(os::VK_ESCAPE);
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_EQ(PhysicsStep(), 0.02f);
    EXPECT_EQ(stage.GetOpenDialog(), GameLevel::Dialog::kNone);
    Step();
    EXPECT_GT(stage.GetDistance(), distance);

    stage.SetCleared();
    ASSERT_TRUE(RunUntil([&] { return stage.IsStoryActive(); }, 2));
    Tap(os::VK_ESCAPE);
    EXPECT_EQ(stage.GetOpenDialog(), GameLevel::Dialog::kNone);
    EXPECT_EQ(Globals().paused, 1);
}

TEST_F(StageTest, ADefeatInTheFrameTheGroundEndsIsNotFollowedByTheStory) {
    ASSERT_TRUE(EnterStage(0));
    GameLevel& stage = *Stage();
    stage.DamagePlayer(1.0f);
    stage.SetCleared();
    Step(10);
    EXPECT_FALSE(stage.IsStoryActive());
    EXPECT_FALSE(stage.AreResultsShowing());
}

class StageSaveTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        // "Saves" beside the executable, in the test's own folder.
        os::SetExecutablePathForTesting(m_saves.Path() + "/game");
    }
    void TearDown() override {
        StageTest::TearDown();
        os::SetExecutablePathForTesting("");
    }

    testsupport::TempDirectory m_saves;
};

TEST_F(StageSaveTest, ASavedStageComesBackWithItsRunWavesEnemiesAndGround) {
    ASSERT_TRUE(EnterStage(0));
    TestEnemy* enemy = AddTestEnemy({700.0f, 400.0f});
    Step(200);
    Stage()->DamagePlayer(0.25f);
    Game().RequestSave("stage");
    Step();
    const GameLevel& saved = *Stage();
    const float distance = saved.GetDistance();
    const std::size_t waves = saved.GetWaves().size();
    const Vector2D leading = saved.GetTerrain().GetLeadingPosition();
    const Vector2D respawn = saved.GetTerrain().GetRespawnPosition();
    Step(60);
    enemy->Destroy();
    Game().RequestLoad("stage");
    Step();
    const GameLevel* loaded = Stage();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetDistance(), distance);
    EXPECT_EQ(loaded->GetStageLength(), 40.0f);
    EXPECT_EQ(loaded->GetWaves().size(), waves);
    EXPECT_EQ(loaded->GetHealth(), 0.75f);
    ASSERT_EQ(loaded->GetLiveEnemyCount(), 1u);
    EXPECT_EQ(loaded->GetLiveEnemy(0), Find<TestEnemy>("TestEnemy"));
    EXPECT_EQ(loaded->GetTerrain().GetLeadingPosition(), leading);
    EXPECT_EQ(loaded->GetTerrain().GetRespawnPosition(), respawn);
    // The ground goes on from there.
    Step(2);
    EXPECT_GT(Stage()->GetDistance(), distance);
    EXPECT_LT(Stage()->GetTerrain().GetRespawnPosition().x, respawn.x);
}

TEST_F(StageSaveTest, APauseDialogSavedOpenIsBuiltAgainWithWorkingButtons) {
    ASSERT_TRUE(EnterStage(0));
    Step(10);
    Tap(os::VK_ESCAPE);
    ASSERT_TRUE(PressButton("restart"));
    Game().RequestSave("paused");
    Step();
    Game().RequestLoad("paused");
    Step(2);
    ASSERT_NE(Stage(), nullptr);
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kPause);
    EXPECT_EQ(Globals().paused, 1);
    // One set of buttons, the confirmation kept.
    ASSERT_NE(FindButton("confirm?"), nullptr);
    EXPECT_EQ(FindButton("restart"), nullptr);
    ASSERT_TRUE(PressButton("resume"));
    Step();
    EXPECT_EQ(Globals().paused, 0);
    EXPECT_EQ(Stage()->GetOpenDialog(), GameLevel::Dialog::kNone);
}

}  // namespace
}  // namespace mygametest
