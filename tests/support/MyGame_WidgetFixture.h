#pragma once

#include "math/Math_Vector2D.h"
#include "support/MyGame_PixelResources.h"
#include "support/MyGame_StageFixture.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

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

    // A click at the HUD point (origin at the screen's centre, y up) over
    // three frames: enter, down, up. False without a running game.
    static bool ClickAt(const Vector2D& hudPoint);
};

// The same on SDL's offscreen driver with real textures, where what the
// widgets draw is read back. Sheets and the font are the generated ones but
// those the test writes flat (before it enters a level).
class WidgetPixelTest : public WidgetTest {
protected:
    void SetUp() override;

    const PixelResources& Resources() const { return m_resources; }
    // The colour of the window pixel under the HUD point in the frame last
    // drawn.
    static testsupport::Rgba PixelAt(const Vector2D& hudPoint);
    // Each channel within `tolerance` of the colour's.
    static bool IsNear(const testsupport::Rgba& pixel, const testsupport::Rgba& colour, int tolerance = 2);

private:
    testsupport::ScopedVideoDriver m_driver{"offscreen"};
    PixelResources m_resources;
};

}  // namespace mygametest
