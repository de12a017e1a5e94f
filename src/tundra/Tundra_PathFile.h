#pragma once

#include "tundra/Tundra_BezierSegment.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Core {
class File;
}

namespace Tundra {

// The binary path file: a u32 segment count N, then per segment the eight
// f32 coordinates of P0, P1, P2 and P3 (x before y), little-endian, and
// nothing else. The asset generator writes these.
namespace PathFile {

inline constexpr std::uint32_t kMaxSegments = 4096;
// Coordinates are world units of a layer; beyond this f32 cannot measure
// the curve finely enough to build its arc-length table.
inline constexpr float kMaxCoordinate = 1000000.0f;

// A coordinate a path may hold: finite and within the bounds.
bool IsValidCoordinate(float value);
bool HasValidPoints(const BezierSegment& segment);

// The segments (tables not yet sampled) when the stream, from its current
// position, holds exactly one valid path file: 1 <= N <= kMaxSegments,
// valid coordinates, no byte after the last segment. Otherwise nothing.
std::optional<std::vector<BezierSegment>> Read(Core::File& file);

}  // namespace PathFile
}  // namespace Tundra
