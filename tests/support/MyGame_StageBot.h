#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>
#include <vector>

class GameLevel;

// A player for whole-stage tests: what it does in a frame depends only on
// what it sees then, so a play is repeatable from any frame on.
namespace mygametest {

// One frame of a stage as the bot sees it.
struct StageView {
    // Frames since the bot began; it presses buttons on even frames and
    // lets go on odd ones, so that every press is a new one.
    std::int64_t frame = 0;
    Vector2D player;
    // Centres of the ground columns' top tiles (46 units square), any order.
    std::vector<Vector2D> groundTops;
    // The closing story is up and waits for clicks.
    bool storyShowing = false;
};

// The controls it holds for the next frame, and where the cursor is
// (world units on the game layer, which the cursor's pixels equal).
struct StageInput {
    bool left = false;
    bool right = false;
    bool jump = false;
    bool click = false;
    Vector2D cursor;

    friend bool operator==(const StageInput&, const StageInput&) = default;
};

// Keeps the player between x 300 and 700 (walking back toward the middle
// once it leaves 350 to 650), jumps when the ground ahead rises above the
// ground it stands on, and clicks through the story. The cursor stays
// ahead of the player, so that it faces the way the ground comes from.
StageInput DecideStageInput(const StageView& view);

// What the stage shows now: its player, the ground's top tiles, the story.
StageView LookAtStage(const GameLevel& stage, std::int64_t frame);

// The input through the keys (the game's default A, D and W), the left
// button and the cursor, read at the next frame's poll: the headless ones,
// or on a real display events that the window system has taken.
void ApplyStageInput(const StageInput& input);

}  // namespace mygametest
