#include "renderer/Renderer_Surface.h"
#include "renderer/Renderer_TextureLevels.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <random>

// Mutated image and raw surface files: each must decode, fall back to the
// raw reader or give the default pattern, never crash or overflow (these
// tests run under AddressSanitizer and UndefinedBehaviorSanitizer).

namespace {

constexpr int kMutationsPerFile = 1000;

std::vector<std::uint8_t> RawSurfaceFile(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t field : {0u, width, height, width * 4}) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
        }
    }
    for (std::uint32_t i = 0; i < width * height * 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i));
    }
    return bytes;
}

// One mutation: a few random bytes changed, a header field set to an extreme
// value, or the file cut short. Headers sit at the front, so most changes land there.
std::vector<std::uint8_t> Mutate(const std::vector<std::uint8_t>& valid, std::mt19937& random) {
    std::vector<std::uint8_t> bytes = valid;
    const auto below = [&](std::size_t limit) {
        return static_cast<std::size_t>(random() % std::max<std::size_t>(limit, 1));
    };
    const std::size_t front = std::min<std::size_t>(bytes.size(), 64);
    switch (random() % 4) {
        case 0:
            for (std::size_t count = 1 + below(8); count > 0; --count) {
                bytes[below(bytes.size())] = static_cast<std::uint8_t>(random());
            }
            break;
        case 1:
            for (std::size_t count = 1 + below(3); count > 0; --count) {
                bytes[below(front)] ^= static_cast<std::uint8_t>(1u << below(8));
            }
            break;
        case 2: {
            static constexpr std::uint32_t kExtremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x00010000, 16385};
            const std::uint32_t value = kExtremes[below(std::size(kExtremes))];
            const std::size_t at = below(front > 4 ? front - 4 : 1);
            for (int i = 0; i < 4 && at + i < bytes.size(); ++i) {
                bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * (random() % 2 == 0 ? i : 3 - i)));
            }
            break;
        }
        default: bytes.resize(below(bytes.size())); break;
    }
    return bytes;
}

// Whatever came out must be a whole surface: the pitch and pixels agree with the size.
void ExpectWholeSurface(const Renderer::Surface& surface, const std::string& what) {
    ASSERT_GE(surface.GetWidth(), 1u) << what;
    ASSERT_GE(surface.GetHeight(), 1u) << what;
    ASSERT_EQ(surface.GetPitch(), surface.GetWidth() * 4) << what;
    // AddressSanitizer checks that the last byte the size promises exists.
    const volatile std::uint8_t last = surface.GetPixels()[std::size_t{surface.GetPitch()} * surface.GetHeight() - 1];
    static_cast<void>(last);
}

}  // namespace

TEST(HostileImages, MutatedFilesDecodeOrFallBack) {
    testsupport::TempDirectory dir;
    const os::Image image = testsupport::MakeImage(12, 10, [](std::uint32_t x, std::uint32_t y) {
        return testsupport::Rgba{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 25), 99,
                                 static_cast<std::uint8_t>(x < 6 ? 255 : 0)};
    });
    testsupport::SavePng(image, dir.Path() + "/valid.png");
    testsupport::SaveBmp(image, dir.Path() + "/valid.bmp");
    testsupport::SaveJpg(image, dir.Path() + "/valid.jpg", 90);
    testsupport::WriteBytes(dir.Path() + "/valid.raw", RawSurfaceFile(6, 5));

    std::mt19937 random(20240607);
    for (const char* ending : {".png", ".bmp", ".jpg", ".raw"}) {
        const std::vector<std::uint8_t> valid = testsupport::ReadBytes(dir.Path() + "/valid" + ending);
        ASSERT_FALSE(valid.empty()) << ending;
        const std::string path = dir.Path() + "/mutated" + ending;
        for (int i = 0; i < kMutationsPerFile; ++i) {
            std::vector<std::uint8_t> bytes = Mutate(valid, random);
            // Half of the PNGs get valid checksums, so the damage reaches
            // the chunk parser and the inflater instead of the CRC check.
            if (std::string(ending) == ".png" && i % 2 == 0) {
                testsupport::FixPngChecksums(bytes);
            }
            testsupport::WriteBytes(path, bytes);
            const std::string what = std::string(ending) + " mutation " + std::to_string(i);
            ExpectWholeSurface(Renderer::Surface(Core::String(path)), what);
            Renderer::TextureLevels levels;
            if (Renderer::LoadTextureLevels(Core::String(path), true, false, 64, levels)) {
                ASSERT_FALSE(levels.levels.empty()) << what;
                for (const auto& level : levels.levels) {
                    ExpectWholeSurface(*level, what);
                }
            }
        }
    }
}
