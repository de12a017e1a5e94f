#include "MyGame_OptionsFixture.h"
#include "mygame/MyGame_MenuLevel.h"
#include "mygame/MyGame_MenuWidget.h"
#include "os/OS_GLFunctions.h"
#include "support/MyGame_HudClick.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

// The generated title art as the title level draws it on SDL's offscreen
// driver: the credits card leaves the options page's back button clear, and
// the robot the title carries down covers none of the logo above its wheels.
namespace mygametest {
namespace {

using MenuArtPixelTest = OptionsPixelFixture;

// The pixels of a rectangle of the window, rows from the bottom.
struct Region {
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
    std::vector<testsupport::Rgba> pixels;

    const testsupport::Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Region ReadRegion(const Vector2D& worldMin, const Vector2D& worldMax) {
    Region region;
    const Vector2D low = ClientPixelOf(worldMin - kHudCentre);
    const Vector2D high = ClientPixelOf(worldMax - kHudCentre);
    region.left = static_cast<int>(std::lround(low.x));
    region.bottom = static_cast<int>(std::lround(low.y));
    region.width = static_cast<int>(std::lround(high.x)) - region.left;
    region.height = static_cast<int>(std::lround(high.y)) - region.bottom;
    region.pixels.resize(static_cast<std::size_t>(region.width * region.height));
    os::gl::PixelStorei(GL_PACK_ALIGNMENT, 1);
    os::gl::ReadPixels(region.left, region.bottom, region.width, region.height, GL_RGBA, GL_UNSIGNED_BYTE,
                       region.pixels.data());
    return region;
}

bool Differs(const testsupport::Rgba& a, const testsupport::Rgba& b) {
    constexpr int kTolerance = 8;
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(int{a[channel]} - int{b[channel]}) > kTolerance) {
            return true;
        }
    }
    return false;
}

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

TEST_F(MenuArtPixelTest, TheSettledTitleShowsItsWholeNameBesideTheRobotItCarries) {
    ASSERT_TRUE(EnterTitle());
    const auto* level = dynamic_cast<const MenuLevel*>(Game().GetCurrentLevel());
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(RunUntil([level] { return level->GetMenuMachine().GetCurrent() == MenuLevel::kTitle; }, 200));
    auto* title = Find<Tundra::Sprite>("Title");
    auto* player = Find<MenuPlayer>("Player");
    ASSERT_NE(title, nullptr);
    ASSERT_NE(player, nullptr);
    Step();

    // The title's cell drawn three times: as it is, with the robot (and
    // what it carries) lifted out of it, and with the title gone too.
    const Vector2D half{static_cast<float>(title->GetFrameWidth(0)) / 2.0f,
                        static_cast<float>(title->GetFrameHeight(0)) / 2.0f};
    const Vector2D low = title->GetPosition() - half;
    const Vector2D high = title->GetPosition() + half;
    const Region both = ReadRegion(low, high);
    player->RemovePhysicalProperties();
    player->SetPosition(player->GetPosition() + Vector2D{0.0f, 400.0f});
    Step(2);
    const Region titleOnly = ReadRegion(low, high);
    title->SetVisible(false);
    Step(2);
    const Region neither = ReadRegion(low, high);

    // The robot stands on the cell's bottom edge: its wheels may cover the
    // foot of the art, nothing above it.
    constexpr int kFootRows = 16;
    int robot = 0;
    int covered = 0;
    for (int y = kFootRows; y < both.height; ++y) {
        for (int x = 0; x < both.width; ++x) {
            const bool titleDrawn = Differs(titleOnly.At(x, y), neither.At(x, y));
            const bool robotDrawn = Differs(both.At(x, y), titleOnly.At(x, y));
            robot += robotDrawn ? 1 : 0;
            covered += titleDrawn && robotDrawn ? 1 : 0;
        }
    }
    EXPECT_GT(robot, 2000) << "the robot is not in the title's cell";
    EXPECT_EQ(covered, 0);
}

}  // namespace
}  // namespace mygametest
