#include "MyGame_PlayTest.h"

#include "mygame/MyGame_MenuLevel.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "os/OS_HeadlessInput.h"

#include <set>

using namespace mygametest;

namespace {

constexpr int kMenuFrames = 400;
constexpr int kStageFrames = 3600;
// The title level's state of walking among the menus.
constexpr std::int32_t kInMenu = 1;

// The game's default control keys: A, D and W.
constexpr os::VirtualKey kLeft = os::VK_A;
constexpr os::VirtualKey kRight = os::VK_A + ('D' - 'A');
constexpr os::VirtualKey kJump = os::VK_A + ('W' - 'A');

// The title level's keys by frame: a control key to leave the title once it
// has come down, then walking both ways and jumping.
void TitleInput(int frame) {
    os::headless::SetKey(kLeft, (frame >= 150 && frame < 165) || (frame >= 300 && frame < 330));
    os::headless::SetKey(kRight, frame >= 250 && frame < 290);
    os::headless::SetKey(kJump, frame % 70 == 10);
}

class DeterminismTest : public PlayTest {
protected:
    // The hash after every frame of one play: intro skipped, the title
    // sequence with scripted keys, then the stage for `stageFrames`.
    std::vector<std::uint64_t> Play(std::uint32_t seed, int stageFrames) {
        StartPlay(seed);
        std::vector<std::uint64_t> hashes;
        SkipIntro();
        for (int frame = 0; frame < kMenuFrames; ++frame) {
            TitleInput(frame);
            Step();
            hashes.push_back(Hash());
        }
        os::headless::ResetKeys();
        // The whole title sequence ran: the player walks the title level.
        const auto* title = dynamic_cast<const MenuLevel*>(m_game->GetCurrentLevel());
        EXPECT_EQ(title != nullptr ? title->GetMenuMachine().GetCurrent() : -1, kInMenu);
        GameLevel& stage = EnterStage();
        for (int frame = 0; frame < stageFrames; ++frame) {
            StepStage(stage);
            hashes.push_back(Hash());
        }
        EndGame();
        return hashes;
    }
};

TEST_F(DeterminismTest, TwoGamesWithTheSameSeedsAndInputHaveEqualStatesAfterEveryFrame) {
    const std::vector<std::uint64_t> first = Play(kSeed, kStageFrames);
    const std::vector<std::uint64_t> second = Play(kSeed, kStageFrames);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t frame = 0; frame < first.size(); ++frame) {
        ASSERT_EQ(first[frame], second[frame]) << "frame " << frame;
    }
    // The play moves nearly every frame (a defeat stands still), and another
    // seed plays otherwise.
    EXPECT_GT(std::set(first.begin(), first.end()).size(), first.size() * 2 / 3);
    const std::vector<std::uint64_t> other = Play(kSeed + 1, 1);
    EXPECT_NE(other.back(), first[kMenuFrames]);
}

// A play of the title level recorded with the framework's replay, from the
// middle of the title's slide, replays to the hashes it had when recorded.
TEST_F(DeterminismTest, ARecordedTitlePlayReplaysToItsRecordedStates) {
    constexpr int kFrames = 300;
    StartPlay(kSeed);
    SkipIntro();
    Step(40);
    m_game->ReplayRecordingStart("title");
    std::vector<std::uint64_t> recorded;
    for (int frame = 0; frame < kFrames; ++frame) {
        TitleInput(frame + 40);
        Step();
        recorded.push_back(Hash());
    }
    m_game->ReplayRecordingStop();
    os::headless::ResetKeys();
    Step();
    EXPECT_EQ(m_game->GetCurrentLevelIndex(), MyLevelFactory::kMenuLevel);

    m_game->ReplayStart("title");
    for (int frame = 0; frame + 1 < kFrames; ++frame) {
        Step();
        ASSERT_EQ(Hash(), recorded[static_cast<std::size_t>(frame)]) << "frame " << frame;
    }
    EXPECT_FALSE(m_game->IsReplayPlaying());
}

}  // namespace
