#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_MenuLevel.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_VirtualKeys.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WholeStageFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

// The game's own levels, headless: saved, loaded and saved again on the
// title level and in a stage's wave, and a minute of a stage recorded with
// the bot at the controls and replayed.
namespace mygametest {
namespace {

// The game's default right key.
constexpr os::VirtualKey kRight = os::VK_A + ('D' - 'A');
// The title level's state of walking among the menus.
constexpr std::int32_t kInMenu = 1;

using RealContentSaveTest = BotStageFixture;

// The title's particle systems, machines and player walking, saved once the
// title has risen away: the menus' widgets read back are kept, not made
// anew.
TEST_F(RealContentSaveTest, TheTitleLevelSavedLoadedAndSavedAgainGivesTheSameBytes) {
    ASSERT_TRUE(EnterTitle());
    const auto* title = dynamic_cast<const MenuLevel*>(m_game->GetCurrentLevel());
    ASSERT_NE(title, nullptr);
    Press(kRight);
    ASSERT_TRUE(RunUntil([title] { return title->GetMenuMachine().GetCurrent() == kInMenu; }, 600));
    Step(20);
    Release(kRight);
    Step();
    ExpectSaveLoadSaveGivesTheSameBytes();
}

// Stage index 0 with the bot fighting a wave: enemies alive, some killed,
// more waves to come.
TEST_F(RealContentSaveTest, AStageSavedMidWaveLoadedAndSavedAgainGivesTheSameBytes) {
    constexpr int kFrameLimit = 1200;
    constexpr std::size_t kEnemiesAlive = 2;
    WriteBotProfile();
    ASSERT_TRUE(EnterStage(0));
    const auto midWave = [this] {
        const GameLevel& stage = *Stage();
        const GameLevel::KillCounters& kills = stage.GetKills();
        return stage.GetLiveEnemyCount() >= kEnemiesAlive && !stage.GetWaves().empty() &&
               kills.ground + kills.flying + kills.rolling > 0;
    };
    for (int frame = 0; frame < kFrameLimit && !midWave(); ++frame) {
        BotStep();
    }
    // The load would see the bot's keys still held.
    LetGo();
    ASSERT_TRUE(midWave());
    ExpectSaveLoadSaveGivesTheSameBytes();
}

// A recording asked for as the stage's first update has run (its objects
// just started, the first wave planned) replays from that start, each frame
// compared.
TEST_F(RealContentSaveTest, ARecordingBegunInAStagesFirstFrameReplaysToItsHashes) {
    constexpr int kFrames = 20;
    WriteBotProfile();
    ASSERT_TRUE(EnterStage(0));
    RecordAndReplay(kFrames);
}

// Stage index 3 runs 85 s without a boss: its first minute, recorded from
// its start, replays to the hashes it had at each second.
TEST_F(RealContentSaveTest, AMinuteOfAStageRecordedWithTheBotReplaysToItsHashes) {
    constexpr int kSecond = 60;
    constexpr int kMinute = 60 * kSecond;
    constexpr std::uint32_t kLongStage = 3;
    WriteBotProfile();
    // A defeat would stop the play short of the minute.
    HoldHealth();
    ASSERT_TRUE(EnterStage(kLongStage));
    RecordAndReplay(kMinute, kSecond);
    ASSERT_FALSE(HasFatalFailure());
    // The way back found the stage where the recording ended.
    EXPECT_NE(Stage(), nullptr);
}

// A state's hash writes the whole state through the objects' own saves: it
// must leave the game as it found it. Two games of the same seed and input,
// one hashed after every frame and one never, end alike.
TEST_F(RealContentSaveTest, HashingTheStateEveryFrameLeavesThePlayUnchanged) {
    constexpr int kFrames = 240;
    constexpr std::uint32_t kLongStage = 3;
    WriteBotProfile();
    HoldHealth();
    const auto play = [this](bool hashEveryFrame) {
        // Each game starts with the input at rest, as the first did.
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        HoldLeftButton(false);
        m_botFrame = 0;
        EXPECT_TRUE(EnterStage(kLongStage));
        for (int frame = 0; frame < kFrames && Stage() != nullptr; ++frame) {
            BotStep();
            if (hashEveryFrame) {
                m_game->GetStateHash();
            }
        }
        return Stage() != nullptr ? std::optional(std::pair(m_game->GetStateHash(), Stage()->GetKills()))
                                  : std::nullopt;
    };
    const auto hashed = play(true);
    const auto unhashed = play(false);
    ASSERT_TRUE(hashed && unhashed);
    EXPECT_EQ(hashed->first, unhashed->first);
    EXPECT_EQ(hashed->second.flying, unhashed->second.flying);
    EXPECT_EQ(hashed->second.ground, unhashed->second.ground);
    EXPECT_EQ(hashed->second.rolling, unhashed->second.rolling);
    // The play met enemies.
    EXPECT_GT(hashed->second.flying + hashed->second.ground + hashed->second.rolling, 0);
}

}  // namespace
}  // namespace mygametest
