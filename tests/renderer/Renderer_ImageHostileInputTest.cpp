#include "renderer/Renderer_Surface.h"
#include "renderer/Renderer_TextureLevels.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <random>

// Every truncation and many seeded mutations of valid image and raw surface
// files: each must decode, fall back to the raw reader or give the default
// pattern, and end quickly (a cut-short PNG once hung the decoder); never
// crash or overflow (these tests run under AddressSanitizer and
// UndefinedBehaviorSanitizer).
namespace {

constexpr int kMutationsPerFile = 400;

// Whatever came out must be a whole surface: the pitch and pixels agree with the size.
void ExpectWholeSurface(const Renderer::Surface& surface, const std::string& what) {
    ASSERT_GE(surface.GetWidth(), 1u) << what;
    ASSERT_GE(surface.GetHeight(), 1u) << what;
    ASSERT_EQ(surface.GetPitch(), surface.GetWidth() * 4) << what;
    // AddressSanitizer checks that the last byte the size promises exists.
    const volatile std::uint8_t last = surface.GetPixels()[std::size_t{surface.GetPitch()} * surface.GetHeight() - 1];
    static_cast<void>(last);
}

void ExpectLoadsSafely(const std::string& path, const std::string& what) {
    ExpectWholeSurface(Renderer::Surface(Core::String(path)), what);
    Renderer::TextureLevels levels;
    if (Renderer::LoadTextureLevels(Core::String(path), true, false, 64, levels)) {
        ASSERT_FALSE(levels.levels.empty()) << what;
        for (const auto& level : levels.levels) {
            ExpectWholeSurface(*level, what);
        }
    }
}

}  // namespace

TEST(HostileImages, TruncatedAndMutatedFilesDecodeOrFallBack) {
    testsupport::TempDirectory dir;
    const os::Image image = testsupport::MakeImage(12, 10, [](std::uint32_t x, std::uint32_t y) {
        return testsupport::Rgba{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 25), 99,
                                 static_cast<std::uint8_t>(x < 6 ? 255 : 0)};
    });
    testsupport::SavePng(image, dir.Path() + "/valid.png");
    testsupport::SaveBmp(image, dir.Path() + "/valid.bmp");
    testsupport::SaveJpg(image, dir.Path() + "/valid.jpg", 90);
    testsupport::WriteBytes(dir.Path() + "/valid.raw",
                            testsupport::EncodeRawSurface(0, 6, 5, 24, testsupport::FlatImage(6, 5, {1}).pixels));

    std::mt19937 random(20240607);
    for (const std::string ending : {".png", ".bmp", ".jpg", ".raw"}) {
        const testsupport::Bytes valid = testsupport::ReadBytes(dir.Path() + "/valid" + ending);
        ASSERT_FALSE(valid.empty()) << ending;
        const std::string path = dir.Path() + "/damaged" + ending;
        for (std::size_t size = 0; size < valid.size(); ++size) {
            testsupport::WriteBytes(path, testsupport::Bytes(valid.begin(), valid.begin() + size));
            ExpectLoadsSafely(path, ending + " cut at " + std::to_string(size));
        }
        for (int i = 0; i < kMutationsPerFile; ++i) {
            testsupport::Bytes bytes = testsupport::MutateFile(valid, random);
            // Half of the PNGs get valid checksums, so the damage reaches
            // the chunk parser and the inflater instead of the CRC check.
            if (ending == ".png" && i % 2 == 0) {
                testsupport::FixPngChecksums(bytes);
            }
            testsupport::WriteBytes(path, bytes);
            ExpectLoadsSafely(path, ending + " mutation " + std::to_string(i));
        }
    }
}
