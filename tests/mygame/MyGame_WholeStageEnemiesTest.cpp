#include "support/MyGame_StageBot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mygametest;

namespace {

// The bot's choices in a fight, from what it sees: the player at (500, 130)
// unless the case moves it, on flat ground.
struct FightCase {
    const char* what;
    float playerX;
    std::vector<Vector2D> enemies;
    std::vector<Vector2D> hazards;
    bool bearPresent;
    bool resultsShowing;
    std::int64_t frame;
    // -1 walks left, 0 stands, 1 walks right.
    int walk;
    bool click;
    Vector2D cursor;
};

class StageBotFightTest : public testing::TestWithParam<FightCase> {};

TEST_P(StageBotFightTest, ChoosesFromWhatItSees) {
    const FightCase& fight = GetParam();
    StageView view;
    view.frame = fight.frame;
    view.player = {fight.playerX, 130.0f};
    for (float x = 24.0f; x < 1100.0f; x += 46.0f) {
        view.groundTops.push_back({x, 70.0f});
    }
    view.enemies = fight.enemies;
    view.hazards = fight.hazards;
    view.bearPresent = fight.bearPresent;
    view.resultsShowing = fight.resultsShowing;
    const StageInput input = DecideStageInput(view);
    EXPECT_EQ(input.right ? 1 : input.left ? -1 : 0, fight.walk);
    EXPECT_FALSE(input.left && input.right);
    EXPECT_EQ(input.click, fight.click);
    if (!fight.resultsShowing) {
        EXPECT_EQ(input.cursor, fight.cursor);
    }
}

const Vector2D kAhead{800.0f, 130.0f};

INSTANTIATE_TEST_SUITE_P(
    Views, StageBotFightTest,
    testing::Values(
        FightCase{"no_enemy_no_fire", 500.0f, {}, {}, false, false, 0, 0, false, kAhead},
        FightCase{"fires_at_the_nearest_enemy", 500.0f, {{900, 600}, {600, 300}}, {}, false, false, 0, 0, true,
                  {600, 300}},
        FightCase{"holds_the_fire_on_odd_frames", 500.0f, {{900, 600}}, {}, false, false, 1, 0, true, {900, 600}},
        FightCase{"a_marker_above_steps_aside_to_the_nearer_side", 500.0f, {}, {{520, 600}}, false, false, 0, -1,
                  false, kAhead},
        FightCase{"a_marker_beyond_reach_is_left_alone", 500.0f, {}, {{570, 600}}, false, false, 0, 0, false, kAhead},
        FightCase{"three_columns_are_left_as_one", 500.0f, {}, {{400, 400}, {500, 400}, {600, 400}}, false, false,
                  0, -1, false, kAhead},
        FightCase{"no_room_on_the_left_goes_right", 300.0f, {}, {{290, 400}}, false, false, 0, 1, false,
                  {600, 130}},
        FightCase{"no_room_near_the_bear_goes_left", 530.0f, {}, {{550, 600}}, true, false, 0, -1, false,
                  {830, 130}},
        FightCase{"the_bear_keeps_it_left_of_its_arms", 600.0f, {}, {}, true, false, 0, -1, false, {900, 130}},
        FightCase{"without_the_bear_600_stands", 600.0f, {}, {}, false, false, 0, 0, false, {900, 130}},
        FightCase{"the_results_are_clicked", 500.0f, {{900, 600}}, {}, false, true, 0, 0, true, {}},
        FightCase{"between_result_clicks_the_button_is_up", 500.0f, {}, {}, false, true, 1, 0, false, {}}),
    [](const testing::TestParamInfo<FightCase>& info) { return std::string(info.param.what); });

}  // namespace
