#include "renderer/Renderer_Surface.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstring>

using Core::RefPtr;
using Renderer::Surface;
using testsupport::Bytes;
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

Bytes Counting(std::size_t count) {
    Bytes bytes(count);
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
    // Surface rows run bottom-up: the visible pixel is the last one of the first row.
    const RefPtr<Surface> corner = Surface::FromBitmap(MakeImage(2, 2, [](std::uint32_t x, std::uint32_t y) {
        return x == 1 && y == 1 ? Rgba{90, 30, 3, 1} : Rgba{0, 0, 0, 0};
    }));
    ASSERT_TRUE(corner);
    EXPECT_EQ(Pixels(*corner), (std::vector<Rgba>{{90, 30, 3, 0}, {90, 30, 3, 1}, {90, 30, 3, 0}, {90, 30, 3, 0}}));

    os::Image broken = testsupport::FlatImage(3, 3, {1, 1, 1, 1});
    broken.pixels.pop_back();
    EXPECT_FALSE(Surface::FromBitmap(broken));
}

// A raw file is read back exactly, whatever its stored pitch (rows are
// always width * 4 bytes), its length past the pixels or its name; whatever
// cannot be read gives the 256 x 256 grey XOR pattern.
TEST(Surface, RawFilesAreReadExactlyOrGiveThePattern) {
    testsupport::TempDirectory dir;
    const Bytes pixels = Counting(5 * 3 * 4);
    Bytes longer = EncodeRawSurface(0, 5, 3, 20, pixels);
    longer.push_back(0xEE);
    const std::pair<const char*, Bytes> readable[] = {
        {"a.raw", EncodeRawSurface(0x1234, 5, 3, 999, pixels)}, {"b.raw", longer},
        {"sprite.png", EncodeRawSurface(0, 5, 3, 20, pixels)}};
    const std::pair<const char*, Bytes> unreadable[] = {
        {"one pixel byte short", EncodeRawSurface(0, 4, 4, 16, Counting(63))},
        {"header cut", Bytes(15, 1)},
        {"zero width", EncodeRawSurface(0, 0, 4, 0, Counting(64))},
        {"zero height", EncodeRawSurface(0, 4, 0, 16, Counting(64))},
        {"width past the limit", EncodeRawSurface(0, 16385, 1, 65540, Counting(64))},
        {"height past the limit", EncodeRawSurface(0, 1, 16385, 4, Counting(64))},
        // 2^30 * 4 * 4 bytes wraps to 0 in 32 bits.
        {"size wrapping 32 bits", EncodeRawSurface(0, 0x40000000, 4, 0, Counting(64))},
        {"largest accepted sides, few bytes", EncodeRawSurface(0, 16384, 16384, 65536, Counting(64))},
    };
    for (const auto& [name, bytes] : readable) {
        testsupport::WriteBytes(dir.Path() + "/" + name, bytes);
        const Surface surface{Core::String(dir.Path() + "/" + name)};
        ASSERT_EQ(surface.GetWidth() * 10 + surface.GetHeight(), 53u) << name;
        EXPECT_EQ(surface.GetPitch(), 20u) << name;
        EXPECT_EQ(surface.GetFormat(), 0u) << name;
        EXPECT_EQ(std::memcmp(surface.GetPixels(), pixels.data(), pixels.size()), 0) << name;
    }
    for (const auto& [what, bytes] : unreadable) {
        testsupport::WriteBytes(dir.Path() + "/bad.raw", bytes);
        Surface surface;
        EXPECT_FALSE(surface.LoadRaw(Core::String(dir.Path() + "/bad.raw"))) << what;
        EXPECT_EQ(surface.GetWidth(), 0u) << what;
    }
    const Surface pattern{Core::String(dir.Path() + "/bad.raw")};
    ASSERT_EQ(pattern.GetWidth() * 1000 + pattern.GetHeight(), 256256u);
    EXPECT_EQ(pattern.GetPitch(), 1024u);
    EXPECT_EQ(Pixels(pattern)[5 * 256 + 3], (Rgba{6, 6, 6, 255}));
    EXPECT_EQ(Pixels(pattern)[255 * 256 + 200], (Rgba{55, 55, 55, 255}));
    EXPECT_EQ(Pixels(Surface(3, 2, 0)), std::vector<Rgba>(6, Rgba{}));
    EXPECT_EQ(Surface(Surface::kMaxRawSide + 1, 1, 0).GetWidth(), 0u);
}
