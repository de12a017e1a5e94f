#include "renderer/Renderer_PowerOfTwo.h"
#include "renderer/Renderer_TextureLevels.h"
#include "renderer/Renderer_TextureRows.h"

#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstring>

using Renderer::TextureSize;
using testsupport::Rgba;

namespace {

// Every pixel of a surface, row 0 (the image's bottom row) first.
std::vector<Rgba> Pixels(const Renderer::Surface& surface) {
    std::vector<Rgba> pixels(std::size_t{surface.GetWidth()} * surface.GetHeight());
    std::memcpy(pixels.data(), surface.GetPixels(), pixels.size() * 4);
    return pixels;
}

}  // namespace

TEST(PowerOfTwo, Tables) {
    struct Row {
        std::uint32_t value, next, previous, nearest;
        bool isPower;
    };
    const Row rows[] = {
        {0, 1, 1, 1, false},       {1, 2, 1, 1, true},        {2, 4, 1, 2, true},
        {3, 4, 2, 4, false},       {4, 8, 2, 4, true},        {5, 8, 4, 4, false},
        {6, 8, 4, 8, false},       {12, 16, 8, 16, false},    {100, 128, 64, 128, false},
        {0x80000000u, 0x80000000u, 0x40000000u, 0x80000000u, true},
        {0xC0000001u, 0x80000000u, 0x80000000u, 0x80000000u, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Renderer::NextPowerOfTwo(row.value), row.next) << row.value;
        EXPECT_EQ(Renderer::PreviousPowerOfTwo(row.value), row.previous) << row.value;
        EXPECT_EQ(Renderer::NearestPowerOfTwo(row.value), row.nearest) << row.value;
        EXPECT_EQ(Renderer::IsPowerOfTwo(row.value), row.isPower) << row.value;
    }
    // Texture row 0 is the image's bottom row; rows outside give the count.
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0, 64), 63u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(1, 4), 2u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(4, 4), 4u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0xFFFFFFFFu, 3), 3u);
}

// An image size and the driver's answers give the decoded level 0 (the
// first size) and the size a surface uploads at without mipmaps (the second).
TEST(TextureSizes, LevelZeroAndSurfaceUploads) {
    struct Case {
        std::uint32_t width, height;
        bool nonPowerOfTwo;
        std::int32_t maximum;
        TextureSize decoded, upload;
    };
    const Case cases[] = {
        {100, 60, true, 4096, {100, 60}, {100, 60}},
        {100, 60, false, 4096, {128, 64}, {128, 64}},
        {3000, 100, false, 2048, {2048, 128}, {2048, 128}},
        {5000, 60, true, 4096, {4096, 60}, {4096, 64}},
        {8192, 8, false, 4096, {4096, 8}, {4096, 8}},
        // Compared as unsigned: a side past 2^31 is clamped, not let through.
        {0xC0000000u, 1, true, 4096, {4096, 1}, {4096, 1}},
        // A maximum below 1 counts as 1.
        {64, 64, false, -5, {1, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Renderer::DecodedLevelSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.decoded) << c.width;
        EXPECT_EQ(Renderer::SurfaceUploadSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.upload) << c.width;
    }
    EXPECT_EQ(Renderer::LevelSizes({1, 5}, true), (std::vector<TextureSize>{{1, 5}, {1, 2}, {1, 1}}));
    EXPECT_EQ(Renderer::LevelSizes({1, 5}, false), (std::vector<TextureSize>{{1, 5}}));
    EXPECT_EQ(Renderer::LevelSizes({0x80000000u, 1}, true).size(), 32u);
}

// Each level is a 2 x 2 box over the level before, colours weighted by
// alpha. Worked by hand: the left block averages to (50, 0.5 -> 1, 0, 255)
// and the right one to (0, 0, 20, 212.5 -> 213); the last level averages
// those two. Averaging all eight pixels at once would give green 0.
TEST(TextureLevels, EachLevelIsABoxOverTheLevelBefore) {
    const std::vector<Rgba> top = {{200, 0, 0, 255}, {0, 1, 0, 255}, {0, 1, 0, 255}, {0, 0, 0, 255}};
    const std::vector<Rgba> bottom = {{0, 1, 0, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}, {0, 0, 200, 85}};
    const os::Image image = testsupport::MakeImage(4, 2, [&](std::uint32_t x, std::uint32_t y) {
        return (y == 0 ? top : bottom)[x];
    });
    Renderer::TextureLevels levels;
    ASSERT_TRUE(Renderer::MakeTextureLevels(image, true, true, 4096, levels));
    ASSERT_EQ(levels.levels.size(), 3u);
    std::vector<Rgba> levelZero = bottom;
    levelZero.insert(levelZero.end(), top.begin(), top.end());
    EXPECT_EQ(Pixels(*levels.levels[0]), levelZero);
    EXPECT_EQ(Pixels(*levels.levels[1]), (std::vector<Rgba>{{50, 1, 0, 255}, {0, 0, 20, 213}}));
    EXPECT_EQ(Pixels(*levels.levels[2]), (std::vector<Rgba>{{27, 1, 9, 234}}));
}
