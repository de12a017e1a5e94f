#pragma once

#include "math/Math_Vector2D.h"
#include "support/MyGame_StageFixture.h"

#include <cstdint>

// The game's widgets in the levels that hold them: the game on the headless
// backend with fixed seeds, its files under a temporary XDG_DATA_HOME, the
// sound on OpenAL Soft's null device (CTest's environment), over the test
// content of the stage and the title level (the names, classes and sheets
// the game's content gives them). Every sheet has its generated size, read
// from the asset generator's manifest, so frames measure what they measure
// in the game without a GL context or an image file.
namespace mygametest {

class WidgetTest : public StageFixture {
protected:
    void SetUp() override;

    // Ends a running game, starts one (seeded), lets the intro begin, then
    // enters the title level; false when it is not running within a few
    // frames. Its first update has run.
    bool EnterTitle(std::uint32_t seed = kSeed);

    // A click at the HUD point (origin at the screen's centre, y up) over
    // three frames: enter, down, up. False without a running game.
    static bool ClickAt(const Vector2D& hudPoint);
};

}  // namespace mygametest
