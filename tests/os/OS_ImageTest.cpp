#include "os/OS_Error.h"
#include "os/OS_Image.h"
#include "os/OS_ImageHeader.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

using testsupport::FlatImage;
using testsupport::MakeImage;
using testsupport::PixelAt;
using testsupport::Rgba;

namespace {

// Every pixel different, alpha included (half-transparent values must stay straight).
os::Image Gradient(std::uint32_t width, std::uint32_t height) {
    return MakeImage(width, height, [](std::uint32_t x, std::uint32_t y) {
        return Rgba{static_cast<std::uint8_t>(x * 16), static_cast<std::uint8_t>(y * 32),
                    static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(255 - x * 8 - y)};
    });
}

// A sentinel image that a failed call must leave as it was.
os::Image Untouched() { return FlatImage(1, 1, {1, 2, 3, 4}); }

void ExpectDecodeFails(const std::string& path) {
    os::Image image = Untouched();
    os::SetLastError(0);
    EXPECT_FALSE(os::DecodeImageFile(path, image)) << path;
    EXPECT_NE(os::GetLastError(), 0u) << path;
    EXPECT_EQ(image.pixels, Untouched().pixels) << path;
}

// "BM", a zeroed file header, then an info header's size, width and height.
std::vector<std::uint8_t> BmpInfoHeader(std::uint32_t infoSize, std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> bytes(14, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    const std::uint32_t fields[] = {infoSize, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    for (const std::uint32_t field : fields) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
        }
    }
    return bytes;
}

os::Image Decode(const std::string& path) {
    os::Image image;
    EXPECT_TRUE(os::DecodeImageFile(path, image)) << path;
    return image;
}

// Absolute difference of each channel at most tolerance.
void ExpectNear(const Rgba& actual, const Rgba& expected, int tolerance) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(actual[k], expected[k], tolerance) << "channel " << k;
    }
}

}  // namespace

// Lossless files come back exactly, top row first; BMP keeps no alpha, and
// JPEG colours come back within a tolerance.
TEST(ImageDecode, EveryFileKindComesBackTopDown) {
    testsupport::TempDirectory dir;
    const os::Image gradient = Gradient(13, 7);
    testsupport::SavePng(gradient, dir.Path() + "/gradient.png");
    const os::Image opaque = MakeImage(5, 3, [](std::uint32_t x, std::uint32_t y) {
        return Rgba{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 100), 7, 255};
    });
    testsupport::SaveBmp(opaque, dir.Path() + "/rows.bmp");
    for (const auto& [name, image] : {std::pair{"gradient.png", &gradient}, std::pair{"rows.bmp", &opaque}}) {
        const os::Image decoded = Decode(dir.Path() + "/" + name);
        EXPECT_EQ(decoded.width, image->width) << name;
        EXPECT_EQ(decoded.height, image->height) << name;
        EXPECT_EQ(decoded.pixels, image->pixels) << name;
    }

    const std::vector<std::uint8_t> greyAlpha = {0, 255, 100, 0, 200, 77, 255, 255};
    testsupport::WriteBytes(dir.Path() + "/grey.png", testsupport::EncodeGreyAlphaPng(2, 2, greyAlpha));
    EXPECT_EQ(Decode(dir.Path() + "/grey.png").pixels,
              (std::vector<std::uint8_t>{0, 0, 0, 255, 100, 100, 100, 0, 200, 200, 200, 77, 255, 255, 255, 255}));

    // 16 x 16 blocks of flat colour keep compression artefacts small.
    const Rgba colours[4] = {{255, 0, 0, 255}, {0, 200, 0, 255}, {0, 0, 255, 255}, {128, 128, 128, 255}};
    const auto block = [&](std::uint32_t x, std::uint32_t y) { return colours[(y / 16) * 2 + x / 16]; };
    testsupport::SaveJpg(MakeImage(32, 32, block), dir.Path() + "/blocks.jpg", 95);
    const os::Image blocks = Decode(dir.Path() + "/blocks.jpg");
    ASSERT_EQ(blocks.width, 32u);
    ASSERT_EQ(blocks.height, 32u);
    for (std::uint32_t i = 0; i < 4; ++i) {
        ExpectNear(PixelAt(blocks, 8 + 16 * (i % 2), 8 + 16 * (i / 2)), colours[i], 12);
    }
}

TEST(ImageDecode, PalettedPngKeepsItsTransparency) {
    testsupport::TempDirectory dir;
    const std::vector<std::uint8_t> indices = {0, 1, 2, 0, 2, 1};
    // One fully transparent entry (decoded through a colour key) and one
    // with partial alpha (decoded as RGBA) take different decoder paths.
    const std::vector<std::vector<Rgba>> palettes = {
        {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 0}},
        {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}},
    };
    for (const auto& palette : palettes) {
        testsupport::SavePalettePng(3, 2, indices, palette, dir.Path() + "/palette.png");
        const os::Image decoded = Decode(dir.Path() + "/palette.png");
        ASSERT_EQ(decoded.width * decoded.height, 6u);
        for (std::uint32_t i = 0; i < indices.size(); ++i) {
            EXPECT_EQ(PixelAt(decoded, i % 3, i / 3), palette[indices[i]]) << i;
        }
    }
}

// The ending, in any case, chooses the decoder: the content of a PNG never
// rescues a file whose ending names another type.
TEST(ImageDecode, EndingsChooseTheDecoderAndFailuresLeaveTheImage) {
    testsupport::TempDirectory dir;
    const std::string png = dir.WriteFile("resources/foo.png", "");
    testsupport::SavePng(FlatImage(4, 4, {1, 2, 3, 255}), png);
    for (const char* name : {"Mixed.Png", "real.bmp", "real.jpg", "real.tga", "real.png.txt", "real"}) {
        testsupport::WriteBytes(dir.Path() + "/" + name, testsupport::ReadBytes(png));
    }
    for (const std::string& path : {dir.Path() + "\\Resources\\Foo.PNG", png, dir.Path() + "/Mixed.Png"}) {
        Decode(path);
    }
    testsupport::WriteBytes(dir.Path() + "/empty.png", {});
    std::vector<std::uint8_t> cut = testsupport::ReadBytes(png);
    cut.resize(cut.size() / 2);
    testsupport::WriteBytes(dir.Path() + "/cut.png", cut);
    dir.WriteFile("folder.png/inside.txt", "");
    for (const char* name : {"real.bmp", "real.jpg", "real.tga", "real.png.txt", "real", "missing.png", "empty.png",
                             "cut.png", "folder.png"}) {
        ExpectDecodeFails(dir.Path() + "/" + name);
    }
    ExpectDecodeFails("");
}

TEST(ImageDecode, AbsurdHeaderSizesAreRefusedBeforeDecoding) {
    testsupport::TempDirectory dir;
    // A BMP info header claiming 100000 x 100000 pixels, with no pixels behind it.
    std::vector<std::uint8_t> bmp = BmpInfoHeader(40, 100000, 100000);
    bmp.resize(54, 0);
    testsupport::WriteBytes(dir.Path() + "/huge.bmp", bmp);
    // A JPEG whose frame claims 65535 x 65535.
    const std::vector<std::uint8_t> jpg = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF, 1, 1, 0x11, 0};
    testsupport::WriteBytes(dir.Path() + "/huge.jpg", jpg);
    for (const char* name : {"huge.bmp", "huge.jpg"}) {
        os::Image image = Untouched();
        EXPECT_FALSE(os::DecodeImageFile(dir.Path() + "/" + name, image)) << name;
        EXPECT_EQ(os::GetLastError(), static_cast<std::uint32_t>(EFBIG)) << name;
    }
}

TEST(ImageHeader, BmpLayoutsAndJpegSegmentWalk) {
    struct Case {
        const char* what;
        os::ImageFileType type;
        std::vector<std::uint8_t> bytes;
        bool found;
        std::uint32_t width;
        std::uint32_t height;
    };
    // Height -5: rows stored top-down.
    const std::vector<std::uint8_t> bmpTopDown = BmpInfoHeader(40, 3, -5);
    const std::vector<std::uint8_t> bmpZeroWidth = BmpInfoHeader(40, 0, 5);
    const std::vector<std::uint8_t> bmpNegativeWidth = BmpInfoHeader(40, -3, 5);
    const std::vector<std::uint8_t> bmpCore = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 7, 1, 9, 0};
    const std::vector<std::uint8_t> bmpOddInfo = BmpInfoHeader(20, 3, 5);
    // Garbage, fill bytes, a restart marker and an APP0 segment before the frame.
    const std::vector<std::uint8_t> jpg = {0xFF, 0xD8, 0x00, 0x12, 0xFF, 0xFF, 0xD0, 0xFF, 0xE0, 0, 4, 0xC0, 0xC0,
                                           0xFF, 0xC2, 0,    11,   8,    0,    20,   1,    44,   1, 0x11, 0};
    const std::vector<std::uint8_t> jpgScanFirst = {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0xFF, 0xC0, 0, 11, 8, 0, 1, 0, 1};
    const std::vector<std::uint8_t> jpgShortLength = {0xFF, 0xD8, 0xFF, 0xE1, 0, 1, 0xFF, 0xC0, 0, 11, 8, 0, 1, 0, 1};
    const std::vector<std::uint8_t> jpgCut = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 1};
    const std::vector<std::uint8_t> jpgZero = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 0, 0, 5, 1, 1, 0x11, 0};
    const Case cases[] = {
        {"bmp top-down", os::ImageFileType::Bmp, bmpTopDown, true, 3, 5},
        {"bmp zero width", os::ImageFileType::Bmp, bmpZeroWidth, false, 0, 0},
        {"bmp negative width", os::ImageFileType::Bmp, bmpNegativeWidth, false, 0, 0},
        {"bmp core header", os::ImageFileType::Bmp, bmpCore, true, 263, 9},
        {"bmp unknown info size", os::ImageFileType::Bmp, bmpOddInfo, false, 0, 0},
        {"bmp cut", os::ImageFileType::Bmp, {'B', 'M', 0, 0}, false, 0, 0},
        {"jpg walk", os::ImageFileType::Jpg, jpg, true, 300, 20},
        {"jpg scan before frame", os::ImageFileType::Jpg, jpgScanFirst, false, 0, 0},
        {"jpg segment length 1", os::ImageFileType::Jpg, jpgShortLength, false, 0, 0},
        {"jpg cut frame", os::ImageFileType::Jpg, jpgCut, false, 0, 0},
        {"jpg zero height", os::ImageFileType::Jpg, jpgZero, false, 0, 0},
        {"png without IHDR first", os::ImageFileType::Png,
         {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'D', 'A', 'T', 0, 0, 0, 1, 0, 0, 0, 1},
         false, 0, 0},
        {"png", os::ImageFileType::Png,
         {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 1, 0, 0, 0, 0, 0, 2},
         true, 65536, 2},
    };
    for (const Case& c : cases) {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        EXPECT_EQ(os::ReadImageHeaderSize(c.type, c.bytes.data(), c.bytes.size(), width, height), c.found) << c.what;
        EXPECT_EQ(width, c.width) << c.what;
        EXPECT_EQ(height, c.height) << c.what;
    }
}

// The same size is a byte-identical copy; a flat colour stays flat at every scale.
TEST(ImageResample, SizesAndFlatColoursHoldAtEveryScale) {
    std::srand(7);
    const os::Image noise = MakeImage(37, 11, [](std::uint32_t, std::uint32_t) {
        return Rgba{static_cast<std::uint8_t>(std::rand()), static_cast<std::uint8_t>(std::rand()),
                    static_cast<std::uint8_t>(std::rand()), static_cast<std::uint8_t>(std::rand())};
    });
    os::Image copy;
    ASSERT_TRUE(os::ResampleImage(noise, 37, 11, copy));
    EXPECT_EQ(copy.pixels, noise.pixels);

    const Rgba colour = {200, 100, 50, 180};
    const os::Image flat = FlatImage(256, 64, colour);
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{1, 1},   {128, 32}, {2, 1},   {255, 63},
                                                             {256, 1}, {300, 64}, {512, 80}, {3, 1000}};
    for (const auto& [width, height] : sizes) {
        os::Image scaled;
        ASSERT_TRUE(os::ResampleImage(flat, width, height, scaled)) << width << "x" << height;
        EXPECT_EQ(scaled.width, width);
        EXPECT_EQ(scaled.height, height);
        EXPECT_EQ(scaled.pixels, FlatImage(width, height, colour).pixels) << width << "x" << height;
    }
}

// Columns alternate black and white: a halving box averages each pair, and
// the 1 x 1 reduction all of them. Transparent pixels do not darken visible
// ones; wholly transparent areas keep their plain average colour.
TEST(ImageResample, ReductionsAverageWhatTheyCoverWeightedByAlpha) {
    const os::Image stripes = MakeImage(8, 4, [](std::uint32_t x, std::uint32_t) {
        const std::uint8_t v = x % 2 == 0 ? 0 : 254;
        return Rgba{v, v, v, 255};
    });
    for (const auto& [width, height] : {std::pair{4u, 4u}, std::pair{4u, 2u}, std::pair{1u, 1u}}) {
        os::Image scaled;
        ASSERT_TRUE(os::ResampleImage(stripes, width, height, scaled));
        EXPECT_EQ(scaled.pixels, FlatImage(width, height, {127, 127, 127, 255}).pixels) << width << "x" << height;
    }
    const os::Image edge = MakeImage(2, 1, [](std::uint32_t x, std::uint32_t) {
        return x == 0 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 0, 0};
    });
    os::Image scaled;
    ASSERT_TRUE(os::ResampleImage(edge, 1, 1, scaled));
    EXPECT_EQ(PixelAt(scaled, 0, 0), (Rgba{255, 0, 0, 128}));
    ASSERT_TRUE(os::ResampleImage(FlatImage(4, 4, {10, 20, 30, 0}), 2, 3, scaled));
    EXPECT_EQ(scaled.pixels, FlatImage(2, 3, {10, 20, 30, 0}).pixels);
}

TEST(ImageResample, BadSizesAreRefused) {
    const os::Image source = FlatImage(4, 4, {1, 2, 3, 4});
    os::Image broken = source;
    broken.pixels.pop_back();
    os::Image huge;
    huge.width = 20000;
    huge.height = 1;
    huge.pixels.resize(20000 * 4);
    struct Case {
        const os::Image* image;
        std::uint32_t width;
        std::uint32_t height;
    };
    const Case cases[] = {{&source, 0, 4},      {&source, 4, 0},          {&source, 16385, 1},
                          {&source, 8193, 8193}, {&broken, 2, 2},          {&huge, 2, 1},
                          {&source, 0xFFFFFFFF, 0xFFFFFFFF}};
    for (const Case& c : cases) {
        os::Image result = Untouched();
        EXPECT_FALSE(os::ResampleImage(*c.image, c.width, c.height, result)) << c.width << "x" << c.height;
        EXPECT_EQ(result.pixels, Untouched().pixels);
    }
    EXPECT_TRUE(os::IsAcceptedImageSize(16384, 4096));
    EXPECT_FALSE(os::IsAcceptedImageSize(16384, 4097));
}
