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
    // Live enemies on the screen that still have health, any order.
    std::vector<Vector2D> enemies;
    // Where a boss's markers, columns and strikes stand or will land.
    std::vector<Vector2D> hazards;
    // The Bear is in the stage: its arms reach the right of the screen.
    bool bearPresent = false;
    // The closing story or the results are up and wait for clicks.
    bool storyShowing = false;
    bool resultsShowing = false;
};

// The controls it holds for the next frame, and where the cursor is
// (world units on the game layer, which the cursor's pixels equal).
struct StageInput {
    bool left = false;
    bool right = false;
    bool jump = false;
    // The left button: held to fire, pressed and let go to click.
    bool click = false;
    Vector2D cursor;

    friend bool operator==(const StageInput&, const StageInput&) = default;
};

// Keeps the player between x 300 and 700 (walking back toward the middle
// once it leaves 350 to 650; with the Bear in, 350 to 550, clear of its
// arms), steps out from under markers, columns and strikes, jumps when the
// ground ahead rises above the ground it stands on, and clicks through
// the story and the results. With an enemy in view the cursor is on the
// nearest one and the fire is held; without one the cursor stays ahead of
// the player, so that it faces the way the ground comes from.
StageInput DecideStageInput(const StageView& view);

// What the stage shows now: its player, the ground's top tiles, its
// enemies, the bosses' hazards, the story and results.
StageView LookAtStage(const GameLevel& stage, std::int64_t frame);

// The input through the keys (the game's default A, D and W), the left
// button and the cursor, read at the next frame's poll: the headless ones,
// or on a real display events that the window system has taken.
void ApplyStageInput(const StageInput& input);

}  // namespace mygametest
