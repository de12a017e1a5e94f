#include "Renderer_TestFiles.h"

#include "renderer/Renderer_Surface.h"

#include "os/OS_Image.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstring>

using Core::RefPtr;
using Renderer::Surface;
using testsupport::EncodeRawSurface;
using testsupport::MakeImage;
using testsupport::Rgba;

namespace {

// Every pixel, surface row 0 first.
std::vector<Rgba> Pixels(const Surface& surface) {
    std::vector<Rgba> pixels(std::size_t{surface.GetWidth()} * surface.GetHeight());
    std::memcpy(pixels.data(), surface.GetPixels(), pixels.size() * 4);
    return pixels;
}

void ExpectDefaultPattern(const Surface& surface) {
    ASSERT_EQ(surface.GetWidth(), 256u);
    ASSERT_EQ(surface.GetHeight(), 256u);
    EXPECT_EQ(surface.GetPitch(), 1024u);
    EXPECT_EQ(surface.GetFormat(), 0u);
    const std::vector<Rgba> pixels = Pixels(surface);
    for (const auto& [x, y] : {std::pair{0u, 0u}, std::pair{255u, 0u}, std::pair{3u, 5u}, std::pair{200u, 255u}}) {
        const auto grey = static_cast<std::uint8_t>(x ^ y);
        EXPECT_EQ(pixels[y * 256 + x], (Rgba{grey, grey, grey, 255})) << x << "," << y;
    }
}

std::vector<std::uint8_t> Counting(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

}  // namespace

TEST(Surface, BleedTakesTheColourOfVisibleNeighbours) {
    const Rgba red = {255, 0, 0, 255};
    const Rgba blue = {0, 0, 255, 255};
    const Rgba clear = {10, 20, 30, 0};
    const std::vector<Rgba> row = {red, clear, clear, clear, blue, clear, red};
    const RefPtr<Surface> surface =
        Surface::FromBitmap(MakeImage(7, 1, [&](std::uint32_t x, std::uint32_t) { return row[x]; }));
    ASSERT_TRUE(surface);
    // Pixel 2 has no visible neighbour: its own bytes, although its
    // neighbours were replaced. Pixel 5 takes the mean of blue and red, truncated.
    EXPECT_EQ(Pixels(*surface), (std::vector<Rgba>{red, {255, 0, 0, 0}, clear, {0, 0, 255, 0}, blue,
                                                   {127, 0, 127, 0}, red}));

    // A clear pixel in a corner sees three neighbours; the diagonal one counts.
    const RefPtr<Surface> corner = Surface::FromBitmap(MakeImage(2, 2, [](std::uint32_t x, std::uint32_t y) {
        return x == 1 && y == 1 ? Rgba{90, 30, 3, 1} : Rgba{0, 0, 0, 0};
    }));
    ASSERT_TRUE(corner);
    // Surface rows run bottom-up: the visible pixel is the last one of the first row.
    EXPECT_EQ(Pixels(*corner), (std::vector<Rgba>{{90, 30, 3, 0}, {90, 30, 3, 1}, {90, 30, 3, 0}, {90, 30, 3, 0}}));
}

TEST(Surface, FromBitmapRefusesInconsistentImages) {
    os::Image image = testsupport::FlatImage(3, 3, {1, 1, 1, 1});
    image.pixels.pop_back();
    EXPECT_FALSE(Surface::FromBitmap(image));
}

TEST(Surface, RawFileIsReadBackExactly) {
    testsupport::TempDirectory dir;
    const std::vector<std::uint8_t> pixels = Counting(5 * 3 * 4);
    // The stored pitch is nonsense on purpose: rows are always width * 4 bytes.
    testsupport::WriteBytes(dir.Path() + "/surface.raw", EncodeRawSurface(0x1234, 5, 3, 999, pixels));
    std::vector<std::uint8_t> longer = EncodeRawSurface(0, 5, 3, 20, pixels);
    longer.push_back(0xEE);
    testsupport::WriteBytes(dir.Path() + "/longer.raw", longer);
    // A file named like a PNG that is not one falls back to the raw reader too.
    testsupport::WriteBytes(dir.Path() + "/sprite.png", EncodeRawSurface(0, 5, 3, 20, pixels));
    for (const char* name : {"surface.raw", "longer.raw", "sprite.png"}) {
        const Surface surface{Core::String(dir.Path() + "/" + name)};
        ASSERT_EQ(surface.GetWidth(), 5u) << name;
        ASSERT_EQ(surface.GetHeight(), 3u) << name;
        EXPECT_EQ(surface.GetPitch(), 20u) << name;
        EXPECT_EQ(surface.GetFormat(), 0u) << name;
        EXPECT_EQ(std::memcmp(surface.GetPixels(), pixels.data(), pixels.size()), 0) << name;
    }
}

TEST(Surface, TruncatedOrAbsurdRawHeadersGiveThePattern) {
    testsupport::TempDirectory dir;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> shortHeader = EncodeRawSurface(0, 1, 1, 4, {});
    shortHeader.resize(15);
    const Case cases[] = {
        {"one pixel byte short", EncodeRawSurface(0, 4, 4, 16, Counting(63))},
        {"header only", EncodeRawSurface(0, 4, 4, 16, {})},
        {"header cut", shortHeader},
        {"empty", {}},
        {"zero width", EncodeRawSurface(0, 0, 4, 0, Counting(64))},
        {"zero height", EncodeRawSurface(0, 4, 0, 16, Counting(64))},
        {"width past the limit", EncodeRawSurface(0, 16385, 1, 65540, Counting(64))},
        {"height past the limit", EncodeRawSurface(0, 1, 16385, 4, Counting(64))},
        // 2^30 * 4 * 4 bytes wraps to 0 in 32 bits.
        {"size wrapping 32 bits", EncodeRawSurface(0, 0x40000000, 4, 0, Counting(64))},
        {"largest values", EncodeRawSurface(0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, Counting(64))},
        {"largest accepted sides, few bytes", EncodeRawSurface(0, 16384, 16384, 65536, Counting(64))},
    };
    for (const Case& c : cases) {
        testsupport::WriteBytes(dir.Path() + "/bad.raw", c.bytes);
        Surface surface;
        EXPECT_FALSE(surface.LoadRaw(Core::String(dir.Path() + "/bad.raw"))) << c.what;
        EXPECT_EQ(surface.GetWidth(), 0u) << c.what;
        ExpectDefaultPattern(Surface{Core::String(dir.Path() + "/bad.raw")});
    }
}

TEST(Surface, SizedSurfacesAreZeroedAndBounded) {
    const Surface blank(3, 2, 0);
    EXPECT_EQ(blank.GetWidth(), 3u);
    EXPECT_EQ(blank.GetHeight(), 2u);
    EXPECT_EQ(blank.GetPitch(), 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(blank.GetPixels(), blank.GetPixels() + 24), std::vector<std::uint8_t>(24, 0));
    const Surface tooWide(Surface::kMaxRawSide + 1, 1, 0);
    EXPECT_EQ(tooWide.GetWidth(), 0u);
    EXPECT_EQ(tooWide.GetHeight(), 0u);
}

