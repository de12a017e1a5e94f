#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Assets_Tree.h"
#include "gui/GUI_SkinDescriptor.h"
#include "os/OS_Image.h"

namespace {

const std::uint8_t* Pixel(const os::Image& image, std::uint32_t x, std::uint32_t y) {
    return &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 4];
}

struct SkinCase {
    const char* name;
    std::size_t pieceSets;
};

class DefaultSkin : public testing::TestWithParam<SkinCase> {};

// Each descriptor cuts its own texture: the count its widget reads, every
// area inside the power-of-two image and every split inside its area.
TEST_P(DefaultSkin, CutsItsTextureIntoTheWidgetsPieceSets) {
    const std::string base = std::string("Skins/") + GetParam().name + "/" + GetParam().name;
    std::ifstream file(assettest::ResourcePath(base + ".gui"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::vector<GUI::PieceSet> sets = GUI::ParseSkinDescriptor(bytes);
    ASSERT_EQ(sets.size(), GetParam().pieceSets);
    EXPECT_EQ(bytes.size(), 4 + 32 * sets.size());

    const os::Image texture = assettest::DecodeResource(base + ".png");
    EXPECT_TRUE(std::has_single_bit(texture.width) && std::has_single_bit(texture.height));
    for (std::size_t k = 0; k < sets.size(); ++k) {
        SCOPED_TRACE("piece set " + std::to_string(k));
        const GUI::PieceSet& s = sets[k];
        EXPECT_GT(s.width, 0.0f);
        EXPECT_GT(s.height, 0.0f);
        EXPECT_GE(s.x, 0.0f);
        EXPECT_GE(s.y, 0.0f);
        EXPECT_LE(s.x + s.width, static_cast<float>(texture.width));
        EXPECT_LE(s.y + s.height, static_cast<float>(texture.height));
        EXPECT_TRUE(0.0f <= s.leftSplit && s.leftSplit <= s.rightSplit && s.rightSplit <= s.width);
        EXPECT_TRUE(0.0f <= s.bottomSplit && s.bottomSplit <= s.topSplit && s.topSplit <= s.height);
        // y counts from the image's bottom: the area's centre holds ink.
        const auto cx = static_cast<std::uint32_t>(s.x + s.width / 2);
        const auto cy = texture.height - 1 - static_cast<std::uint32_t>(s.y + s.height / 2);
        EXPECT_GT(Pixel(texture, cx, cy)[3], 128);
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, DefaultSkin,
                         testing::Values(SkinCase{"DefaultFormSkin", 7}, SkinCase{"DefaultButtonSkin", 5},
                                         SkinCase{"DefaultRadioButtonSkin", 10}),
                         [](const auto& info) { return std::string(info.param.name); });

// The radio button's areas are drawn whole: their splits lie on their edges.
TEST(GuiFiles, RadioButtonPiecesAreWholeImages) {
    std::ifstream file(assettest::ResourcePath("Skins/DefaultRadioButtonSkin/DefaultRadioButtonSkin.gui"),
                       std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    for (const GUI::PieceSet& s : GUI::ParseSkinDescriptor(bytes)) {
        EXPECT_EQ(s.width, 13.0f);
        EXPECT_EQ(s.height, 13.0f);
        EXPECT_EQ(s.leftSplit, 0.0f);
        EXPECT_EQ(s.rightSplit, s.width);
        EXPECT_EQ(s.bottomSplit, 0.0f);
        EXPECT_EQ(s.topSplit, s.height);
    }
}

TEST(GuiFiles, CursorImagesAndOverlaysAreTheirSizesWithTheirInk) {
    const os::Image arrow = assettest::DecodeResource("Cursors/Arrow.png");
    ASSERT_EQ(arrow.width, 32u);
    ASSERT_EQ(arrow.height, 32u);
    // The cursor's offset (0, 32) puts the top-left pixel on the mouse.
    EXPECT_GT(Pixel(arrow, 0, 0)[3], 64);
    EXPECT_EQ(Pixel(arrow, 31, 31)[3], 0);

    struct Plain {
        const char* path;
        std::uint8_t grey;
    };
    for (const Plain& plain : {Plain{"Skins/White.png", 255}, Plain{"Skins/Gray.png", 128}}) {
        SCOPED_TRACE(plain.path);
        const os::Image image = assettest::DecodeResource(plain.path);
        ASSERT_EQ(image.width, 8u);
        ASSERT_EQ(image.height, 8u);
        for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
            EXPECT_EQ(image.pixels[i], plain.grey);
            EXPECT_EQ(image.pixels[i + 3], 255);
        }
    }

    const os::Image down = assettest::DecodeResource("Skins/Overlays/ComboDown.png");
    const os::Image greyed = assettest::DecodeResource("Skins/Overlays/ComboDownDisabled.png");
    ASSERT_EQ(down.width, 16u);
    ASSERT_EQ(greyed.width, 16u);
    // The arrow points down: wider in its upper rows than in its lower ones;
    // its twin has the same shape in lighter ink.
    EXPECT_GT(Pixel(down, 8, 7)[3], 128);
    EXPECT_GT(Pixel(greyed, 8, 7)[3], 128);
    EXPECT_GT(Pixel(down, 4, 6)[3], 128);
    EXPECT_EQ(Pixel(down, 4, 11)[3], 0);
    EXPECT_GT(Pixel(greyed, 8, 7)[0], Pixel(down, 8, 7)[0] + 64);
}

}  // namespace
