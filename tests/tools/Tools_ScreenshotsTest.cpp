#include "math/Math_Vector2D.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_ContentTables.h"
#include "os/OS_Image.h"
#include "os/OS_Path.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <sys/wait.h>
#include <unistd.h>
#include <variant>

// The screenshot program run for three of its moments: each picture the
// display's size, showing what its scene must show.
namespace {

constexpr std::uint32_t kWidth = 1024;
constexpr std::uint32_t kHeight = 768;

using Rgb = std::array<int, 3>;

// The program's exit status (-1 when it did not exit by itself).
int RunScreenshots(const std::string& folder, const char* moments) {
    const pid_t child = fork();
    if (child == 0) {
        execl(SCREENSHOTS_PROGRAM, SCREENSHOTS_PROGRAM, "--only", moments, folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The pixel under a HUD point (origin at the view's centre, y up).
Rgb PixelAt(const os::Image& image, const Vector2D& hudPoint) {
    const auto x = static_cast<std::size_t>(hudPoint.x + kWidth / 2.0f);
    const auto row = static_cast<std::size_t>(kHeight / 2.0f - hudPoint.y);
    const std::uint8_t* pixel = image.pixels.data() + (row * image.width + x) * 4;
    return {pixel[0], pixel[1], pixel[2]};
}

// Where the authored rows of the level place the named object.
Vector2D RowPosition(std::uint32_t level, std::string_view name) {
    for (const LayerRows& layer : ContentLevelRows(level)) {
        for (const ContentRow& row : layer) {
            const auto [rowName, position] =
                std::visit([](const auto& r) { return std::pair(r.name, r.position); }, row);
            if (name == rowName) {
                return position;
            }
        }
    }
    ADD_FAILURE() << "no row " << name;
    return {};
}

// The share of a coarse grid of the picture's pixels that are not black.
double LitShare(const os::Image& image) {
    int lit = 0;
    int all = 0;
    for (std::uint32_t y = 8; y < image.height; y += 32) {
        for (std::uint32_t x = 8; x < image.width; x += 32) {
            const std::uint8_t* pixel = image.pixels.data() + (std::size_t{y} * image.width + x) * 4;
            lit += pixel[0] + pixel[1] + pixel[2] > 24 ? 1 : 0;
            ++all;
        }
    }
    return static_cast<double>(lit) / all;
}

bool IsNear(const Rgb& pixel, const Rgb& colour, int tolerance) {
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(pixel[channel] - colour[channel]) > tolerance) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(Screenshots, TheTitleShopAndStagePicturesShowTheirScenes) {
    if (std::string_view(SCREENSHOTS_PROGRAM).empty()) {
        GTEST_SKIP() << "built without the game";
    }
    const testsupport::TempDirectory folder;
    ASSERT_EQ(RunScreenshots(folder.Path(), "title,shop,stage"), 0);
    os::Image title;
    os::Image shop;
    os::Image stage;
    os::Image panel;
    ASSERT_TRUE(os::DecodeImageFile(folder.Path() + "/title.png", title));
    ASSERT_TRUE(os::DecodeImageFile(folder.Path() + "/shop.png", shop));
    ASSERT_TRUE(os::DecodeImageFile(folder.Path() + "/stage.png", stage));
    for (const os::Image* picture : {&title, &shop, &stage}) {
        EXPECT_EQ(picture->width, kWidth);
        EXPECT_EQ(picture->height, kHeight);
    }

    // The title level's sky behind the title.
    EXPECT_GT(LitShare(title), 0.9);

    // The open shop's panel, between its first row and its buttons, in the colour
    // of the sheet its centre is stretched from.
    ASSERT_TRUE(os::DecodeImageFile(os::ExecutableDirectory() + "/Resources/Animations/FrameBG.png", panel));
    const Rgb panelColour{panel.pixels[0], panel.pixels[1], panel.pixels[2]};
    EXPECT_TRUE(IsNear(PixelAt(shop, {-30.0f, 0.0f}), panelColour, 2));

    // Full health: the bar's fill tinted green.
    const Rgb health = PixelAt(stage, RowPosition(MyLevelFactory::kGameLevel, "PlayerHPBarColor"));
    EXPECT_GT(health[1], 120);
    EXPECT_GT(health[1], health[0] + 60);
    EXPECT_GT(health[1], health[2] + 60);
    // The fade into the stage is over.
    EXPECT_GT(LitShare(stage), 0.9);
}
