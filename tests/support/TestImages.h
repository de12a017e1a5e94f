#pragma once

#include "os/OS_Image.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Image files made at test time, so that no test depends on stored art.
// Writers throw std::runtime_error when SDL cannot write the file.
namespace testsupport {

using Rgba = std::array<std::uint8_t, 4>;

// width x height pixels, pixel (x, y) (y counted from the top) = colour(x, y).
os::Image MakeImage(std::uint32_t width, std::uint32_t height,
                    const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour);
os::Image FlatImage(std::uint32_t width, std::uint32_t height, Rgba colour);
Rgba PixelAt(const os::Image& image, std::uint32_t x, std::uint32_t y);

// 32-bit RGBA PNG (IMG_SavePNG).
void SavePng(const os::Image& image, const std::string& path);
// 24-bit BMP (SDL_SaveBMP); alpha is dropped.
void SaveBmp(const os::Image& image, const std::string& path);
// Baseline JPEG (IMG_SaveJPG) at the given quality; alpha is dropped.
void SaveJpg(const os::Image& image, const std::string& path, int quality);
// 8-bit paletted PNG (IMG_SavePNG of an INDEX8 surface): palette alphas
// below 255 are written as a tRNS chunk. indices are width x height, top-down.
void SavePalettePng(std::uint32_t width, std::uint32_t height, const std::vector<std::uint8_t>& indices,
                    const std::vector<Rgba>& palette, const std::string& path);

// A grey-and-alpha PNG (colour type 4, 8 bits), which SDL cannot write:
// encoded here with stored (uncompressed) deflate blocks, as zlib's RFC 1950
// and deflate's RFC 1951 allow. greyAlpha holds two bytes per pixel, top-down.
std::vector<std::uint8_t> EncodeGreyAlphaPng(std::uint32_t width, std::uint32_t height,
                                             const std::vector<std::uint8_t>& greyAlpha);
// Recomputes the CRC of every complete chunk, so that altered chunk data
// reaches the decoder instead of failing its checksum.
void FixPngChecksums(std::vector<std::uint8_t>& png);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace testsupport
