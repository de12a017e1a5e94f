#include "MyGame_OptionsFixture.h"
#include "mygame/MyGame.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_Window.h"
#include "support/MyGame_HudClick.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// The display toggle of the options menu on SDL's offscreen driver over a
// fake 1600 x 900 desktop: full screen shows the 1024 x 768 picture scaled
// between bars, and the menus still take the cursor where they are drawn.
namespace mygametest {
namespace {

constexpr os::DisplayMode kPictureMode{1024, 768, 32, 60};
constexpr os::DisplayMode kDesktop{1600, 900, 32, 60};

class OptionsFullScreenTest : public OptionsPixelFixture {
protected:
    void SetUp() override {
        os::headless::ResetDisplay();
        os::headless::SetDisplayModes({kPictureMode}, kDesktop);
        OptionsPixelFixture::SetUp();
    }
    void TearDown() override {
        OptionsPixelFixture::TearDown();
        os::headless::ResetDisplay();
    }

    // Where the HUD point is drawn in the window: the picture fitted to the
    // window's size and centred in it (x from the left, y from the top).
    os::Point DrawnAt(const Vector2D& hudPoint) {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(os::GetSdlWindow(Game().GetWindow().GetHandle()), &width, &height);
        const float scale = std::min(static_cast<float>(width) / 1024.0f, static_cast<float>(height) / 768.0f);
        const float left = (static_cast<float>(width) - 1024.0f * scale) * 0.5f;
        const float top = (static_cast<float>(height) - 768.0f * scale) * 0.5f;
        return {static_cast<std::int32_t>(std::lround(left + (512.0f + hudPoint.x) * scale)),
                static_cast<std::int32_t>(std::lround(top + (384.0f - hudPoint.y) * scale))};
    }

    // A click with the cursor put on the window pixel where the button is
    // drawn; whether the button took it shows in what its callback did.
    bool ClickWhereDrawn(const LabeledButton* button) {
        if (button == nullptr) {
            return false;
        }
        Game().GetWindow().SetPosition(0, 0);
        const os::Point at = DrawnAt(button->GetPosition());
        if (!os::SetCursorPos(at.x, at.y)) {
            return false;
        }
        // Entered and faded in, then a still frame before the press.
        Step(2);
        if (!StepUntilButtonsShown()) {
            return false;
        }
        PressAndRelease();
        Step();
        return true;
    }
};

TEST_F(OptionsFullScreenTest, TheToggleSwitchesItsLabelAndClicksLandWhereTheButtonsAreDrawn) {
    ASSERT_TRUE(EnterAtMachine());
    if (Game().IsFullScreen()) {
        Game().AutoToggleFullScreen();
    }
    // The window system's keys reach the game here, not the scripted ones.
    Machine().OpenMenu();
    Step(2);
    ASSERT_EQ(Label(2), "FullScreen");

    ASSERT_TRUE(ClickWhereDrawn(Machine().GetPageButton(2)));
    EXPECT_TRUE(Game().IsFullScreen());
    EXPECT_EQ(Label(2), "Windowed");
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(os::GetSdlWindow(Game().GetWindow().GetHandle()), &width, &height);
    EXPECT_EQ(width, 1600);
    EXPECT_EQ(height, 900);

    ASSERT_TRUE(ClickWhereDrawn(Machine().GetPageButton(2)));
    EXPECT_FALSE(Game().IsFullScreen());
    EXPECT_EQ(Label(2), "FullScreen");

    ASSERT_TRUE(ClickWhereDrawn(Machine().GetPageButton(0)));
    EXPECT_EQ(Label(0), "Left - a");
}

}  // namespace
}  // namespace mygametest
