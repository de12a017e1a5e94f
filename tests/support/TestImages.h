#pragma once

#include "os/OS_Image.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Image and raw surface files made at test time, so that no test depends on
// stored art. Writers throw std::runtime_error when a file cannot be written.
namespace testsupport {

using Rgba = std::array<std::uint8_t, 4>;
using Bytes = std::vector<std::uint8_t>;

// width x height pixels, pixel (x, y) (y counted from the top) = colour(x, y).
os::Image MakeImage(std::uint32_t width, std::uint32_t height,
                    const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour);
os::Image FlatImage(std::uint32_t width, std::uint32_t height, Rgba colour);

// 32-bit RGBA PNG, 24-bit BMP (alpha dropped), baseline JPEG at the given
// quality (alpha dropped), written by SDL's encoders.
void SavePng(const os::Image& image, const std::string& path);
void SaveBmp(const os::Image& image, const std::string& path);
void SaveJpg(const os::Image& image, const std::string& path, int quality);

// A raw surface file: little-endian format, width, height and pitch, then
// the pixel bytes as given (any count, so that tests can cut or pad them).
Bytes EncodeRawSurface(std::uint32_t format, std::uint32_t width, std::uint32_t height, std::uint32_t pitch,
                       const Bytes& pixels);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

}  // namespace testsupport
