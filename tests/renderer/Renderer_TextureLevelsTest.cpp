#include "renderer/Renderer_PowerOfTwo.h"
#include "renderer/Renderer_TextureLevels.h"
#include "renderer/Renderer_TextureRows.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstring>

using Renderer::TextureSize;
using testsupport::Rgba;

namespace {

std::vector<TextureSize> Sizes(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> list) {
    std::vector<TextureSize> sizes;
    for (const auto& [width, height] : list) {
        sizes.push_back({width, height});
    }
    return sizes;
}

// An image size, the driver's answers, and the texture size they give.
struct SizeCase {
    std::uint32_t width, height;
    bool nonPowerOfTwo;
    std::int32_t maximum;
    TextureSize expected;
};

Rgba SurfacePixel(const Renderer::Surface& surface, std::uint32_t x, std::uint32_t row) {
    const std::uint8_t* pixel = surface.GetPixels() + (std::size_t{row} * surface.GetWidth() + x) * 4;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

}  // namespace

TEST(PowerOfTwo, Tables) {
    struct Row {
        std::uint32_t value, next, previous, nearest;
        bool isPower;
    };
    const Row rows[] = {
        {0, 1, 1, 1, false},
        {1, 2, 1, 1, true},
        {2, 4, 1, 2, true},
        {3, 4, 2, 4, false},
        {4, 8, 2, 4, true},
        {5, 8, 4, 4, false},
        {6, 8, 4, 8, false},
        {7, 8, 4, 8, false},
        {12, 16, 8, 16, false},
        {100, 128, 64, 128, false},
        {60, 64, 32, 64, false},
        {0x80000000u, 0x80000000u, 0x40000000u, 0x80000000u, true},
        {0xC0000001u, 0x80000000u, 0x80000000u, 0x80000000u, false},
        {0xFFFFFFFFu, 0x80000000u, 0x80000000u, 0x80000000u, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Renderer::NextPowerOfTwo(row.value), row.next) << row.value;
        EXPECT_EQ(Renderer::PreviousPowerOfTwo(row.value), row.previous) << row.value;
        EXPECT_EQ(Renderer::NearestPowerOfTwo(row.value), row.nearest) << row.value;
        EXPECT_EQ(Renderer::IsPowerOfTwo(row.value), row.isPower) << row.value;
    }
}

TEST(TextureRows, TextureRowZeroIsTheImagesBottomRow) {
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0, 64), 63u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(63, 64), 0u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(1, 4), 2u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(Renderer::TextureRowOfImageRow(5, 9), 9), 5u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0, 1), 0u);
    // Rows outside give the count, never a wrapped-around row.
    EXPECT_EQ(Renderer::TextureRowOfImageRow(4, 4), 4u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0, 0), 0u);
    EXPECT_EQ(Renderer::TextureRowOfImageRow(0xFFFFFFFFu, 3), 3u);
}

TEST(TextureSizes, DecodedLevelZero) {
    const SizeCase cases[] = {
        // The textures' tests check sides below the maximum as uploaded.
        {3000, 100, false, 2048, {2048, 128}},
        {5000, 9000, true, 4096, {4096, 4096}},
        // Compared as unsigned: a side past 2^31 is clamped, not let through.
        {0xC0000000u, 1, true, 4096, {4096, 1}},
        // A maximum below 1 counts as 1.
        {64, 64, true, 0, {1, 1}},
        {64, 64, false, -5, {1, 1}},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(Renderer::DecodedLevelSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.expected)
            << c.width << "x" << c.height;
    }
}

TEST(TextureSizes, SurfaceUpload) {
    const SizeCase cases[] = {
        {100, 60, true, 4096, {100, 60}},   {100, 60, false, 4096, {128, 64}}, {256, 64, false, 4096, {256, 64}},
        {5000, 60, true, 4096, {4096, 64}}, {8192, 8, false, 4096, {4096, 8}}, {1, 1, false, 1, {1, 1}},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(Renderer::SurfaceUploadSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.expected)
            << c.width << "x" << c.height;
    }
}

TEST(TextureSizes, LevelChains) {
    // The textures' tests check the usual chains as uploaded; these are the edges.
    EXPECT_EQ(Renderer::LevelSizes({1, 5}, true), Sizes({{1, 5}, {1, 2}, {1, 1}}));
    EXPECT_EQ(Renderer::LevelSizes({1, 1}, true), Sizes({{1, 1}}));
    EXPECT_EQ(Renderer::LevelSizes({0x80000000u, 1}, true).size(), 32u);
}

TEST(TextureLevels, MipmappedSheetMakesEveryLevelBottomUp) {
    testsupport::TempDirectory dir;
    const Rgba red = {255, 0, 0, 255};
    const Rgba blue = {0, 0, 255, 255};
    // Top half red, bottom half blue.
    const os::Image image = testsupport::MakeImage(256, 64, [&](std::uint32_t, std::uint32_t y) {
        return y < 32 ? red : blue;
    });
    testsupport::SavePng(image, dir.Path() + "/sheet.PNG");
    Renderer::TextureLevels levels;
    ASSERT_TRUE(Renderer::LoadTextureLevels(Core::String(dir.Path() + "/sheet.PNG"), true, false, 4096, levels));
    EXPECT_EQ(levels.width, 256u);
    EXPECT_EQ(levels.height, 64u);
    const std::vector<TextureSize> expected = Renderer::LevelSizes({256, 64}, true);
    ASSERT_EQ(levels.levels.size(), 9u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Renderer::Surface& surface = *levels.levels[i];
        EXPECT_EQ((TextureSize{surface.GetWidth(), surface.GetHeight()}), expected[i]) << i;
        EXPECT_EQ(surface.GetPitch(), surface.GetWidth() * 4) << i;
        if (surface.GetHeight() >= 2) {
            EXPECT_EQ(SurfacePixel(surface, 0, 0), blue) << i;
            EXPECT_EQ(SurfacePixel(surface, surface.GetWidth() - 1, surface.GetHeight() - 1), red) << i;
        }
    }
    // Read straight into one surface, the file gives level 0.
    const Renderer::Surface direct{Core::String(dir.Path() + "/sheet.PNG")};
    ASSERT_TRUE(direct.GetWidth() == 256 && direct.GetHeight() == 64);
    EXPECT_EQ(std::memcmp(direct.GetPixels(), levels.levels[0]->GetPixels(), 256 * 64 * 4), 0);
}

TEST(TextureLevels, UndecodableFileLeavesTheLevels) {
    testsupport::TempDirectory dir;
    Renderer::TextureLevels levels;
    levels.width = 7;
    testsupport::WriteBytes(dir.Path() + "/junk.png", {1, 2, 3, 4});
    EXPECT_FALSE(Renderer::LoadTextureLevels(Core::String(dir.Path() + "/junk.png"), true, true, 4096, levels));
    EXPECT_FALSE(Renderer::LoadTextureLevels(Core::String(dir.Path() + "/missing.png"), true, true, 4096, levels));
    EXPECT_EQ(levels.width, 7u);
    EXPECT_TRUE(levels.levels.empty());
}
