#include "MyGame_OptionsFixture.h"

#include <gtest/gtest.h>

#include <cmath>

// The generated title art as the title level draws it on SDL's offscreen
// driver: the credits card leaves the options page's back button clear.
namespace mygametest {
namespace {

using MenuArtPixelTest = OptionsPixelFixture;

TEST_F(MenuArtPixelTest, TheCreditsCardLeavesTheBackButtonWholeAndNoLineUnderItsLabel) {
    constexpr testsupport::Rgba kButton{255, 0, 255, 255};
    ASSERT_TRUE(Resources().WriteFlatSheet("ButtonTemplate", {kButton, kButton, kButton}));
    ASSERT_TRUE(EnterAtMachine());
    // The window system's keys reach the game here, not the scripted ones.
    Machine().OpenMenu();
    Step(2);
    Press("Credits");
    LabeledButton* back = Machine().GetPageButton(0);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(Label(0), "Back");
    // Drawn at full opacity rather than waiting for the fade-in.
    back->SetOpacity(1.0f);
    Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
    Step(2);

    // Every sample of the button's cell but those of its word shows the
    // button: nothing of the card lies over it.
    const Vector2D centre = back->GetPosition();
    const float halfWidth = static_cast<float>(back->GetFrameWidth(0)) / 2.0f - 3.0f;
    const float halfHeight = static_cast<float>(back->GetFrameHeight(0)) / 2.0f - 3.0f;
    constexpr float kWordHalfWidth = 44.0f;
    constexpr float kWordHalfHeight = 15.0f;
    int covered = 0;
    for (float dy = -halfHeight; dy <= halfHeight; dy += 3.0f) {
        for (float dx = -halfWidth; dx <= halfWidth; dx += 3.0f) {
            if (std::fabs(dx) < kWordHalfWidth && std::fabs(dy) < kWordHalfHeight) {
                continue;
            }
            covered += IsNear(PixelAt(centre + Vector2D{dx, dy}), kButton, 8) ? 0 : 1;
        }
    }
    EXPECT_EQ(covered, 0);
}

}  // namespace
}  // namespace mygametest
