#pragma once

#include <cstdint>
#include <random>
#include <vector>

// Files for the loaders' tests.
namespace testsupport {

// A raw surface file: little-endian format, width, height and pitch, then
// the pixel bytes as given (any count, so that tests can cut or pad them).
std::vector<std::uint8_t> EncodeRawSurface(std::uint32_t format, std::uint32_t width, std::uint32_t height,
                                           std::uint32_t pitch, const std::vector<std::uint8_t>& pixels);

// One random mutation of a valid file: a few bytes changed anywhere, bits
// flipped near the front, a 32-bit header field set to an extreme value
// (either byte order), or the file cut short. Headers sit at the front, so
// most changes land there.
std::vector<std::uint8_t> MutateFile(const std::vector<std::uint8_t>& valid, std::mt19937& random);

}  // namespace testsupport
