#include "support/MyGame_StageBot.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

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

}  // namespace
