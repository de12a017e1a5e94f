#include "os/OS_Error.h"
#include "os/OS_Image.h"
#include "os/OS_ImageWrite.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>

using testsupport::FlatImage;
using testsupport::MakeImage;
using testsupport::Rgba;

namespace {

// The colour type byte of a PNG's leading IHDR chunk: 2 RGB, 6 RGBA.
constexpr std::size_t kColourTypeOffset = 25;

// Opaque, or with every other pixel a little translucent.
os::Image Gradient(bool translucent) {
    return MakeImage(17, 9, [translucent](std::uint32_t x, std::uint32_t y) {
        const bool seeThrough = translucent && (x + y) % 2 == 0;
        return Rgba{static_cast<std::uint8_t>(x * 15), static_cast<std::uint8_t>(y * 28),
                    static_cast<std::uint8_t>(x ^ y), static_cast<std::uint8_t>(seeThrough ? 254 : 255)};
    });
}

}  // namespace

// Written pixels decode exactly, top row first; opaque pictures drop the
// alpha channel, translucent ones keep it; a file there is replaced.
TEST(ImageWrite, PixelsComeBackExactlyAndOpaquePicturesHaveNoAlpha) {
    testsupport::TempDirectory dir;
    struct Case {
        os::Image image;
        std::uint8_t colourType;
    };
    const std::string path = dir.Path() + "/picture.png";
    const Case cases[] = {{Gradient(false), 2}, {Gradient(true), 6}, {FlatImage(1, 1, {0, 0, 0, 255}), 2}};
    for (const Case& c : cases) {
        ASSERT_TRUE(os::WritePngFile(path, c.image)) << os::ErrorText(os::GetLastError());
        const testsupport::Bytes bytes = testsupport::ReadBytes(path);
        ASSERT_GT(bytes.size(), kColourTypeOffset);
        os::Image decoded;
        ASSERT_TRUE(os::DecodeImageFile(path, decoded));
        EXPECT_EQ(decoded.width, c.image.width);
        EXPECT_EQ(decoded.pixels, c.image.pixels);
        EXPECT_EQ(bytes[kColourTypeOffset], c.colourType);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Nothing to write, or nowhere to write it: false with an error, and no
// file (nor any part of one) left behind.
TEST(ImageWrite, BadImagesAndMissingFoldersAreRefusedWithoutAFile) {
    testsupport::TempDirectory dir;
    os::Image cut = FlatImage(4, 4, {1, 2, 3, 255});
    cut.pixels.pop_back();
    os::Image wide = FlatImage(1, 1, {1, 2, 3, 255});
    wide.width = os::kMaxImageSide + 1;
    wide.pixels.resize(std::size_t{wide.width} * 4);
    const std::pair<std::string, os::Image> cases[] = {{dir.Path() + "/cut.png", cut},
                                                        {dir.Path() + "/wide.png", wide},
                                                        {dir.Path() + "/empty.png", os::Image{}},
                                                        {dir.Path() + "/missing/a.png", FlatImage(2, 2, {})}};
    for (const auto& [path, image] : cases) {
        os::SetLastError(0);
        EXPECT_FALSE(os::WritePngFile(path, image)) << path;
        EXPECT_NE(os::GetLastError(), 0u) << path;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
