#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ProfileText.h"
#include "support/MyGame_StageBot.h"
#include "support/MyGame_StageFixture.h"
#include "support/MyGame_StageSaves.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using namespace mygametest;

namespace {

// The bot's choices from what it sees: a ground of row-1 tops (y 70) with
// one column a row higher where the case puts it.
struct BotCase {
    const char* what;
    float playerX;
    // The raised column's centre; 0 for none.
    float riseX;
    bool storyShowing;
    std::int64_t frame;
    // Left, right, jump and click.
    std::array<bool, 4> held;
};

constexpr float kNoRise = 0.0f;
constexpr std::array<bool, 4> kNothing{};
constexpr std::array<bool, 4> kLeft{true, false, false, false};
constexpr std::array<bool, 4> kRight{false, true, false, false};
constexpr std::array<bool, 4> kJump{false, false, true, false};
constexpr std::array<bool, 4> kClick{false, false, false, true};

class StageBotTest : public testing::TestWithParam<BotCase> {};

TEST_P(StageBotTest, ChoosesFromWhatItSees) {
    const BotCase& bot = GetParam();
    StageView view;
    view.frame = bot.frame;
    view.player = {bot.playerX, 130.0f};
    for (float x = 24.0f; x < 1100.0f; x += 46.0f) {
        view.groundTops.push_back({x, std::fabs(x - bot.riseX) < 1.0f ? 116.0f : 70.0f});
    }
    view.storyShowing = bot.storyShowing;
    const StageInput input = DecideStageInput(view);
    EXPECT_EQ((std::array<bool, 4>{input.left, input.right, input.jump, input.click}), bot.held);
    if (!bot.storyShowing) {
        EXPECT_GT(input.cursor.x, bot.playerX);
    }
}

INSTANTIATE_TEST_SUITE_P(Views, StageBotTest,
                         testing::Values(BotCase{"left_of_the_band_walks_right", 300.0f, kNoRise, false, 0, kRight},
                                         BotCase{"right_of_the_band_walks_left", 700.0f, kNoRise, false, 0, kLeft},
                                         BotCase{"inside_the_band_stands", 500.0f, kNoRise, false, 0, kNothing},
                                         BotCase{"a_rise_just_ahead_is_jumped", 500.0f, 576.0f, false, 0, kJump},
                                         BotCase{"the_jump_is_let_go_on_odd_frames", 500.0f, 576.0f, false, 1, kNothing},
                                         BotCase{"a_rise_far_ahead_waits", 500.0f, 714.0f, false, 0, kNothing},
                                         BotCase{"a_rise_behind_is_not_jumped", 500.0f, 438.0f, false, 0, kNothing},
                                         BotCase{"the_story_is_clicked", 500.0f, kNoRise, true, 0, kClick},
                                         BotCase{"between_clicks_the_button_is_up", 500.0f, kNoRise, true, 1, kNothing}),
                         [](const testing::TestParamInfo<BotCase>& info) { return std::string(info.param.what); });

// Stage index 0 from its start to its results, the bot at the controls, on
// SDL's offscreen driver with the generated sheets.
class WholeStageTest : public OffscreenStageFixture {
protected:
    static constexpr int kFrameLimit = 4000;
    static constexpr int kRecordFrom = 1200;
    static constexpr int kRecordedFrames = 300;

    // One frame with the bot's input for what the stage shows now.
    void BotStep() {
        ApplyStageInput(DecideStageInput(LookAtStage(*Stage(), m_botFrame++)));
        Step();
    }

    // Records the next frames from here, replays them and comes back: the
    // hashes of the replay are those recorded, and the game goes on from
    // where the recording ended (the state the replay saved as it started).
    void RecordAndReplay() {
        const PlayerProfile profile = m_game->GetProfile();
        const GameGlobals keys = Globals();
        m_game->ReplayRecordingStart("wholeStage");
        std::vector<std::uint64_t> recorded;
        for (int frame = 0; frame < kRecordedFrames; ++frame) {
            BotStep();
            recorded.push_back(m_game->GetStateHash());
        }
        m_game->ReplayRecordingStop();
        Step();
        m_game->ReplayStart("wholeStage");
        // The data holds every recorded frame but the last.
        for (int frame = 0; frame + 1 < kRecordedFrames; ++frame) {
            Step();
            ASSERT_EQ(m_game->GetStateHash(), recorded[static_cast<std::size_t>(frame)]) << "frame " << frame;
        }
        // The replay's last frame asked for the way back; this one takes it,
        // and plays on from there as a load of that state does.
        Step();
        EXPECT_FALSE(m_game->IsReplayPlaying());
        const std::uint64_t back = m_game->GetStateHash();
        const Core::RefPtr<Tundra::Level> returned = m_game->GetCurrentLevel();
        // The frame after a load has no time behind it.
        Step();
        m_game->RequestLoad("gameSaved_OnReplayStart");
        Step();
        EXPECT_NE(m_game->GetCurrentLevel(), returned.Get());
        EXPECT_EQ(m_game->GetStateHash(), back);
        // Profile and settings are no game state: the replay leaves them to
        // the test.
        m_game->GetProfile() = profile;
        Globals().leftKeyId = keys.leftKeyId;
        Globals().rightKeyId = keys.rightKeyId;
        Globals().jumpKeyId = keys.jumpKeyId;
    }

    std::int64_t m_botFrame = 0;
    StageSaves m_saves;
};

TEST_F(WholeStageTest, TheBotPlaysStageZeroToItsResultsAndAMidStageRecordingReplays) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(EnterStage(0));
    const std::uint32_t currency = m_game->GetProfile().currency;
    const auto stage = [this] { return Stage(); };

    std::optional<int> lengthRun;
    std::vector<std::string> storyLines;
    for (int frame = 0; frame < kFrameLimit && stage() != nullptr && !stage()->AreResultsShowing(); ++frame) {
        if (frame == kRecordFrom) {
            RecordAndReplay();
            ASSERT_FALSE(HasFatalFailure());
        }
        BotStep();
        GameLevel* running = stage();
        ASSERT_NE(running, nullptr) << "frame " << frame;
        if (!lengthRun && running->GetDistance() >= running->GetStageLength()) {
            lengthRun = frame;
            EXPECT_EQ(running->GetHealth(), 1.0f);
        }
        const auto* text = Find<DialogText>("DialogText");
        if (running->IsStoryActive() && text != nullptr) {
            const std::string line = text->GetLine().c_str();
            if (storyLines.empty() || storyLines.back() != line) {
                storyLines.push_back(line);
            }
        }
    }
    GameLevel* ended = stage();
    ASSERT_NE(ended, nullptr);
    ASSERT_TRUE(lengthRun.has_value()) << "distance " << ended->GetDistance() << " of " << ended->GetStageLength()
                                       << ", health " << ended->GetHealth() << ", paused " << int{Globals().paused};
    // The recorded frames were played too.
    EXPECT_NEAR(*lengthRun + kRecordedFrames, 2400, 60);
    EXPECT_TRUE(ended->AreResultsShowing());
    EXPECT_EQ(ended->GetHealth(), 1.0f);

    // The ground ended and stands.
    EXPECT_TRUE(ended->GetTerrain().IsEndReached());
    const Vector2D leading = ended->GetTerrain().GetLeadingPosition();
    Step(30);
    EXPECT_EQ(ended->GetTerrain().GetLeadingPosition(), leading);

    std::vector<std::string> expectedLines;
    for (const char* const* line = GetStoryLines(0); **line != '\0'; ++line) {
        expectedLines.push_back(*line);
    }
    EXPECT_EQ(expectedLines.size(), 5u);
    EXPECT_EQ(storyLines, expectedLines);

    // No enemy came, so no drop: the currency is as it was; stage 1 opened.
    std::ifstream file(DataFolder() + "/profile.sav", std::ios::binary);
    const ReadProfile saved = ParseProfile(std::string(std::istreambuf_iterator<char>(file), {}));
    EXPECT_FALSE(saved.damaged);
    EXPECT_EQ(saved.profile.currency, currency);
    EXPECT_EQ(saved.profile.highestStage, 1);

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(seconds));
    std::printf("whole stage: %.1f s\n", seconds);
}

}  // namespace
