#include "os/OS_Error.h"
#include "os/OS_Image.h"
#include "os/OS_ImageHeader.h"

#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

using testsupport::Bytes;
using testsupport::FlatImage;
using testsupport::MakeImage;
using testsupport::Rgba;

namespace {

// A sentinel image that a failed call must leave as it was.
const os::Image kUntouched = FlatImage(1, 1, {1, 2, 3, 4});

os::Image Decode(const std::string& path) {
    os::Image image;
    EXPECT_TRUE(os::DecodeImageFile(path, image)) << path;
    return image;
}

// Refused with the given error (any when 0), the image left as it was.
void ExpectRefused(const std::string& path, std::uint32_t error = 0) {
    os::Image image = kUntouched;
    os::SetLastError(0);
    EXPECT_FALSE(os::DecodeImageFile(path, image)) << path;
    EXPECT_TRUE(error == 0 ? os::GetLastError() != 0 : os::GetLastError() == error) << path << os::GetLastError();
    EXPECT_EQ(image.pixels, kUntouched.pixels) << path;
}

// "BM", a zeroed file header, then the info header's first words (size,
// width, height, ...), each little-endian.
Bytes BmpHeader(std::initializer_list<std::uint32_t> infoWords) {
    Bytes bytes = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const std::uint32_t word : infoWords) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
        }
    }
    return bytes;
}

}  // namespace

// Lossless files come back exactly, top row first (BMP keeps no alpha).
TEST(ImageDecode, EveryFileKindComesBackTopDown) {
    testsupport::TempDirectory dir;
    const os::Image gradient = MakeImage(13, 7, [](std::uint32_t x, std::uint32_t y) {
        return Rgba{static_cast<std::uint8_t>(x * 16), static_cast<std::uint8_t>(y * 32),
                    static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(255 - x * 8 - y)};
    });
    os::Image opaque = gradient;
    for (std::size_t i = 3; i < opaque.pixels.size(); i += 4) {
        opaque.pixels[i] = 255;
    }
    testsupport::SavePng(gradient, dir.Path() + "/gradient.png");
    testsupport::SaveBmp(opaque, dir.Path() + "/rows.bmp");
    EXPECT_EQ(Decode(dir.Path() + "/gradient.png").pixels, gradient.pixels);
    EXPECT_EQ(Decode(dir.Path() + "/rows.bmp").pixels, opaque.pixels);
}

// The ending, in any case, chooses the decoder: the content of a PNG never
// rescues a file whose ending names another type.
TEST(ImageDecode, EndingsChooseTheDecoderAndFailuresLeaveTheImage) {
    testsupport::TempDirectory dir;
    testsupport::SavePng(FlatImage(4, 4, {1, 2, 3, 255}), dir.Path() + "/real.png");
    for (const char* name : {"Mixed.Png", "a.bmp", "a.jpg", "a.tga", "a.png.txt"}) {
        testsupport::WriteBytes(dir.Path() + "/" + name, testsupport::ReadBytes(dir.Path() + "/real.png"));
    }
    Decode(dir.Path() + "/Mixed.Png");
    testsupport::WriteBytes(dir.Path() + "/empty.png", {});
    dir.WriteFile("folder.png/inside.txt", "");
    for (const char* name : {"a.bmp", "a.jpg", "a.tga", "a.png.txt", "missing.png", "empty.png", "folder.png"}) {
        ExpectRefused(dir.Path() + "/" + name);
    }
    ExpectRefused("");
}

// Headers claiming sizes beyond the limits, or beyond what their file could
// hold, and PNGs cut short are refused before anything is decoded; a highly
// compressed real image is not.
TEST(ImageDecode, BombsAbsurdSizesAndCutPngsAreRefusedBeforeDecoding) {
    testsupport::TempDirectory dir;
    const Bytes huge = BmpHeader({40, 100000, 100000, 0x00180001, 0, 0, 0, 0, 0, 0});
    // 60 bytes declaring 16384 x 4096 pixels (8-bit run-length, one colour):
    // the rest of the image is left by an end-of-bitmap code.
    const Bytes bomb = [] {
        Bytes bytes = BmpHeader({40, 16384, 4096, 0x00080001, 1, 2, 0, 0, 1, 0});
        bytes[10] = 58;  // where the pixels start
        bytes.insert(bytes.end(), {0, 0, 255, 0, 0, 1});
        return bytes;
    }();
    const Bytes jpg = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF, 1, 1, 0x11, 0};
    for (const auto& [name, bytes] : {std::pair<const char*, const Bytes*>{"huge.bmp", &huge}, {"bomb.bmp", &bomb},
                                       {"huge.jpg", &jpg}}) {
        testsupport::WriteBytes(dir.Path() + "/" + name, *bytes);
        ExpectRefused(dir.Path() + "/" + name, EFBIG);
    }
    ASSERT_EQ(bomb.size(), 60u);
    testsupport::SavePng(FlatImage(1024, 1024, {9, 9, 9, 255}), dir.Path() + "/flat.png");
    EXPECT_EQ(Decode(dir.Path() + "/flat.png").width, 1024u);

    // A PNG cut anywhere is refused at once: the decoder would wait for ever
    // for the missing bytes of its last chunk.
    testsupport::SavePng(FlatImage(12, 10, {7, 8, 9, 255}), dir.Path() + "/whole.png");
    const Bytes whole = testsupport::ReadBytes(dir.Path() + "/whole.png");
    os::Image image = kUntouched;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(os::DecodeImageBytes(os::ImageFileType::Png, whole.data(), size, "cut", image)) << size;
    }
    // 1 x 1 grey, then a chunk whose length runs far past the end.
    const Bytes cut = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
                       0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00,
                       0x00, 0x3a, 0x7e, 0x9b, 0x55, 0x10, 0x00, 0x00, 0x20, 0x63, 0x48, 0x52, 0x4d};
    EXPECT_FALSE(os::DecodeImageBytes(os::ImageFileType::Png, cut.data(), cut.size(), "cut", image));
    EXPECT_EQ(image.pixels, kUntouched.pixels);
    EXPECT_TRUE(os::DecodeImageBytes(os::ImageFileType::Png, whole.data(), whole.size(), "whole", image));
}

// Top-down BMP rows, the 12-byte BMP header, a JPEG frame after garbage,
// fill, restart and APP0; no size: scan before frame, sides 0 or negative.
TEST(ImageHeader, SizesAsTheDecodersFindThem) {
    using enum os::ImageFileType;
    const auto size = [](os::ImageFileType type, const Bytes& bytes) {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        const bool found = os::ReadImageHeaderSize(type, bytes.data(), bytes.size(), width, height);
        return std::tuple{found, width, height};
    };
    EXPECT_EQ(size(Bmp, BmpHeader({40, 3, static_cast<std::uint32_t>(-5)})), std::tuple(true, 3u, 5u));
    EXPECT_EQ(size(Bmp, BmpHeader({12, 0x00090107})), std::tuple(true, 263u, 9u));  // 16-bit sides
    EXPECT_EQ(size(Jpg, {0xFF, 0xD8, 0x00, 0x12, 0xFF, 0xFF, 0xD0, 0xFF, 0xE0, 0, 4, 0xC0, 0xC0, 0xFF, 0xC2, 0, 11, 8,
                         0, 20, 1, 44, 1, 0x11, 0}),
              std::tuple(true, 300u, 20u));
    EXPECT_EQ(size(Png, {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 1, 0, 0, 0, 0, 0, 2}),
              std::tuple(true, 65536u, 2u));
    EXPECT_EQ(size(Jpg, {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0xFF, 0xC0, 0, 11, 8, 0, 1, 0, 1}), std::tuple(false, 0u, 0u));
    EXPECT_EQ(size(Jpg, {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 0, 0, 5, 1, 1, 0x11, 0}), std::tuple(false, 0u, 0u));
    EXPECT_EQ(size(Bmp, BmpHeader({40, static_cast<std::uint32_t>(-3), 5})), std::tuple(false, 0u, 0u));
}

// A flat colour stays flat at every scale, growing or shrinking. Halving in
// integers gives exactly what the general filter gives, wholly transparent
// blocks included (the texture levels' test checks the values by hand).
TEST(ImageResample, FiltersKeepColoursAndHalvingAgrees) {
    os::Image scaled;
    const os::Image flat = FlatImage(256, 64, {200, 100, 50, 180});
    for (const auto& [width, height] : {std::pair{1u, 1u}, {2u, 1u}, {255u, 63u}, {300u, 64u}, {3u, 1000u}}) {
        ASSERT_TRUE(os::ResampleImage(flat, width, height, scaled)) << width << "x" << height;
        EXPECT_EQ(scaled.pixels, FlatImage(width, height, {200, 100, 50, 180}).pixels) << width << "x" << height;
    }
    const auto noise = [](std::uint32_t x, std::uint32_t y) {
        const auto alpha = static_cast<std::uint8_t>(x < 2 ? 0 : (x + y) % 3 * 120);
        return Rgba{static_cast<std::uint8_t>(x * 41 + y), static_cast<std::uint8_t>(y * 67 + x), 90, alpha};
    };
    for (const auto& [width, height] : {std::pair{6u, 4u}, {1u, 4u}, {6u, 1u}}) {
        os::Image half;
        ASSERT_TRUE(os::HalveImage(MakeImage(width, height, noise), half));
        ASSERT_TRUE(os::ResampleImage(MakeImage(width, height, noise), half.width, half.height, scaled));
        EXPECT_EQ(half.pixels, scaled.pixels) << width << "x" << height;
    }
    EXPECT_FALSE(os::HalveImage(MakeImage(3, 2, noise), scaled));
    EXPECT_FALSE(os::ResampleImage(flat, 16385, 1, scaled));
    EXPECT_FALSE(os::IsAcceptedImageSize(16384, 4097));
}
