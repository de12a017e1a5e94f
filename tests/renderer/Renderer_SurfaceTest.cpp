#include "os/OS_ByteOrder.h"
#include "renderer/Renderer_PowerOfTwo.h"
#include "renderer/Renderer_Surface.h"
#include "renderer/Renderer_TextureLevels.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

using Core::RefPtr;
using Renderer::Surface;
using Renderer::TextureSize;
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
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{3});
    return bytes;
}

// Whatever came out must be a whole surface: the pitch and pixels agree with the size.
void ExpectWholeSurface(const Renderer::Surface& surface, const std::string& what) {
    ASSERT_TRUE(surface.GetWidth() >= 1 && surface.GetHeight() >= 1) << what;
    ASSERT_EQ(surface.GetPitch(), surface.GetWidth() * 4) << what;
    // AddressSanitizer checks that the last byte the size promises exists.
    const volatile std::uint8_t last = surface.GetPixels()[std::size_t{surface.GetPitch()} * surface.GetHeight() - 1];
    static_cast<void>(last);
}

void ExpectLoadsSafely(const std::string& path, const std::string& what) {
    ExpectWholeSurface(Renderer::Surface(Core::String(path)), what);
    Renderer::TextureLevels levels;
    Renderer::LoadTextureLevels(Core::String(path), true, false, 64, levels);
    for (const auto& level : levels.levels) {
        ExpectWholeSurface(*level, what);
    }
}

// One random mutation of a valid file: a few bytes changed, or a 32-bit
// field set to an extreme value (either byte order). Headers sit at the
// front, so most changes land in the first 64 bytes.
Bytes MutateFile(const Bytes& valid, std::mt19937& random) {
    Bytes bytes = valid;
    const auto below = [&](std::size_t limit) { return limit == 0 ? 0 : random() % limit; };
    const std::size_t front = std::min<std::size_t>(bytes.size(), 64);
    if (random() % 2 == 0) {
        for (std::size_t count = 1 + below(8); count > 0 && !bytes.empty(); --count) {
            bytes[below(random() % 2 == 0 ? front : bytes.size())] = static_cast<std::uint8_t>(random());
        }
        return bytes;
    }
    static constexpr std::uint32_t kExtremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x00010000, 16385};
    const std::uint32_t value = kExtremes[below(std::size(kExtremes))];
    const bool bigEndian = random() % 2 == 0;
    for (std::size_t at = below(front), i = 0; i < 4 && at + i < bytes.size(); ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (bigEndian ? 3 - i : i)));
    }
    return bytes;
}

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// Recomputes the CRC of every complete PNG chunk, so that altered chunk data
// reaches the decoder instead of failing its checksum.
void FixPngChecksums(Bytes& png) {
    for (std::size_t at = 8; at <= png.size() && png.size() - at >= 12;) {
        const std::uint32_t length = os::LoadU32BE(png.data() + at);
        if (length > png.size() - at - 12) {
            return;
        }
        const std::uint32_t crc = Crc32(png.data() + at + 4, std::size_t{length} + 4);
        for (int i = 0; i < 4; ++i) {
            png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += std::size_t{length} + 12;
    }
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
    // In a corner, the diagonal neighbour counts too (rows run bottom-up).
    const RefPtr<Surface> corner = Surface::FromBitmap(
        MakeImage(2, 2, [](std::uint32_t x, std::uint32_t y) { return x + y == 2 ? Rgba{90, 30, 3, 1} : Rgba{}; }));
    EXPECT_EQ(Pixels(*corner), (std::vector<Rgba>{{90, 30, 3, 0}, {90, 30, 3, 1}, {90, 30, 3, 0}, {90, 30, 3, 0}}));
}

// A raw file is read back exactly, whatever its stored pitch (rows are
// always width * 4 bytes), its length past the pixels or its name; whatever
// cannot be read gives the 256 x 256 grey XOR pattern.
TEST(Surface, RawFilesAreReadExactlyOrGiveThePattern) {
    testsupport::TempDirectory dir;
    const Bytes pixels = Counting(5 * 3 * 4);
    const std::pair<const char*, Bytes> readable[] = {
        {"a.raw", EncodeRawSurface(0x1234, 5, 3, 999, pixels)}, {"b.raw", EncodeRawSurface(0, 5, 3, 20, Counting(61))},
        {"sprite.png", EncodeRawSurface(0, 5, 3, 20, pixels)}};
    const std::pair<const char*, Bytes> unreadable[] = {
        {"one pixel byte short", EncodeRawSurface(0, 4, 4, 16, Counting(63))},
        {"header cut", Bytes(15, 1)},
        {"zero width", EncodeRawSurface(0, 0, 4, 0, Counting(64))},
        {"width past the limit", EncodeRawSurface(0, 16385, 1, 65540, Counting(64))},
        // 2^30 * 4 * 4 bytes wraps to 0 in 32 bits.
        {"size wrapping 32 bits", EncodeRawSurface(0, 0x40000000, 4, 0, Counting(64))},
        {"largest accepted sides, few bytes", EncodeRawSurface(0, 16384, 16384, 65536, Counting(64))},
    };
    for (const auto& [name, bytes] : readable) {
        testsupport::WriteBytes(dir.Path() + "/" + name, bytes);
        const Surface surface{Core::String(dir.Path() + "/" + name)};
        ASSERT_EQ(surface.GetWidth() * 10 + surface.GetHeight(), 53u) << name;
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
    EXPECT_EQ(Pixels(pattern)[5 * 256 + 3], (Rgba{6, 6, 6, 255}));
    EXPECT_EQ(Pixels(Surface(3, 2, 0)), std::vector<Rgba>(6, Rgba{}));
    EXPECT_EQ(Surface(Surface::kMaxRawSide + 1, 1, 0).GetWidth(), 0u);
}

TEST(TextureSizes, PowersOfTwoLevelZeroAndSurfaceUploads) {
    struct Row {
        std::uint32_t value, next, previous, nearest;
        bool isPower;
    };
    const Row rows[] = {
        {0, 1, 1, 1, false}, {1, 2, 1, 1, true},  {3, 4, 2, 4, false},     {4, 8, 2, 4, true},
        {5, 8, 4, 4, false}, {6, 8, 4, 8, false}, {12, 16, 8, 16, false},
        {0x80000000u, 0x80000000u, 0x40000000u, 0x80000000u, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Renderer::NextPowerOfTwo(row.value), row.next) << row.value;
        EXPECT_EQ(Renderer::PreviousPowerOfTwo(row.value), row.previous) << row.value;
        EXPECT_EQ(Renderer::NearestPowerOfTwo(row.value), row.nearest) << row.value;
        EXPECT_EQ(Renderer::IsPowerOfTwo(row.value), row.isPower) << row.value;
    }

    // An image size and the driver's answers give the decoded level 0 (the
    // first size) and the size a surface uploads at without mipmaps (the second).
    struct Case {
        std::uint32_t width, height;
        bool nonPowerOfTwo;
        std::int32_t maximum;
        TextureSize decoded, upload;
    };
    const Case cases[] = {
        {100, 60, false, 4096, {128, 64}, {128, 64}},
        {3000, 100, false, 2048, {2048, 128}, {2048, 128}},
        {5000, 60, true, 4096, {4096, 60}, {4096, 64}},
        // A maximum below 1 counts as 1.
        {64, 64, false, -5, {1, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Renderer::DecodedLevelSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.decoded) << c.width;
        EXPECT_EQ(Renderer::SurfaceUploadSize(c.width, c.height, c.nonPowerOfTwo, c.maximum), c.upload) << c.width;
    }
    EXPECT_EQ(Renderer::LevelSizes({1, 5}, true), (std::vector<TextureSize>{{1, 5}, {1, 2}, {1, 1}}));
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

// Every truncation and many seeded mutations of valid image and raw surface
// files: each must decode, fall back to the raw reader or give the default
// pattern, end quickly (a cut-short PNG once hung the decoder), and never
// crash or overflow (this runs under the address and undefined sanitizers).
TEST(HostileImages, TruncatedAndMutatedFilesDecodeOrFallBack) {
    testsupport::TempDirectory dir;
    const os::Image image = MakeImage(12, 10, [](std::uint32_t x, std::uint32_t y) {
        const auto alpha = static_cast<std::uint8_t>(x < 6 ? 255 : 0);
        return Rgba{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 25), 99, alpha};
    });
    testsupport::SavePng(image, dir.Path() + "/valid.png");
    testsupport::SaveBmp(image, dir.Path() + "/valid.bmp");
    testsupport::SaveJpg(image, dir.Path() + "/valid.jpg", 90);
    testsupport::WriteBytes(dir.Path() + "/valid.raw", EncodeRawSurface(0, 6, 5, 24, Counting(120)));

    std::mt19937 random(20240607);
    for (const std::string ending : {".png", ".bmp", ".jpg", ".raw"}) {
        const std::string path = dir.Path() + "/valid" + ending;
        const Bytes valid = testsupport::ReadBytes(path);
        // Every decoder is reached: the valid files decode.
        Renderer::TextureLevels levels;
        ASSERT_EQ(Renderer::LoadTextureLevels(Core::String(path), false, true, 64, levels), ending != ".raw") << ending;
        for (std::size_t size = 0; size < valid.size(); ++size) {
            testsupport::WriteBytes(path, Bytes(valid.begin(), valid.begin() + size));
            ExpectLoadsSafely(path, ending + " cut at " + std::to_string(size));
        }
        for (int i = 0; i < 400; ++i) {
            Bytes bytes = MutateFile(valid, random);
            // Half of the PNGs get valid checksums, so the damage reaches
            // the chunk parser and the inflater instead of the CRC check.
            if (ending == ".png" && i % 2 == 0) {
                FixPngChecksums(bytes);
            }
            testsupport::WriteBytes(path, bytes);
            ExpectLoadsSafely(path, ending + " mutation " + std::to_string(i));
        }
    }
}
