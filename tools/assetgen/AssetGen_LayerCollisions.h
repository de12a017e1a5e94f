#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The static-collision files of the nine layers. None holds a shape: the
// title strip and the stages stand on tile objects with their own actors.
namespace AssetGen::LayerCollisions {

// A heading word and a count of 0 for the segments, then for the circles.
inline constexpr std::string_view kNoShapes = "LineSegments 0\nCircles 0\n";

bool Write(const std::string& path, std::uint64_t seed, std::string& error);

}  // namespace AssetGen::LayerCollisions
