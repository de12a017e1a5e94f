#include "tundra/Tundra_PathFile.h"

#include "core/Core_File.h"

#include <cmath>

namespace Tundra::PathFile {

bool IsValidCoordinate(float value) { return std::isfinite(value) && std::fabs(value) <= kMaxCoordinate; }

bool HasValidPoints(const BezierSegment& segment) {
    for (const Vector2D& point : {segment.p0, segment.p1, segment.p2, segment.p3}) {
        if (!IsValidCoordinate(point.x) || !IsValidCoordinate(point.y)) {
            return false;
        }
    }
    return true;
}

std::optional<std::vector<BezierSegment>> Read(Core::File& file) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    if (file.HasFailed() || count == 0 || count > kMaxSegments) {
        return std::nullopt;
    }
    std::vector<BezierSegment> segments(count);
    for (BezierSegment& segment : segments) {
        file >> segment.p0 >> segment.p1 >> segment.p2 >> segment.p3;
        if (file.HasFailed() || !HasValidPoints(segment)) {
            return std::nullopt;
        }
    }
    // The file ends with the last segment: a longer one is not a path file.
    std::uint8_t extra = 0;
    file.ReadU8(extra);
    if (!file.HasFailed()) {
        return std::nullopt;
    }
    return segments;
}

}  // namespace Tundra::PathFile
