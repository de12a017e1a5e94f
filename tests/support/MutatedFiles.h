#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace testsupport {

// One random mutation of a valid file: a few bytes changed anywhere, bits
// flipped near the front, a 32-bit header field set to an extreme value
// (either byte order), or the file cut short. Headers sit at the front, so
// most changes land there.
std::vector<std::uint8_t> MutateFile(const std::vector<std::uint8_t>& valid, std::mt19937& random);

}  // namespace testsupport
