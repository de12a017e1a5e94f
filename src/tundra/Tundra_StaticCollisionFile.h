#pragma once

#include "math/Math_Vector2D.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace Tundra {

// The static shapes of one layer as its text file lists them: a heading
// word, a segment count and the segments (x1, y1, x2, y2, group, user id),
// then a heading word, a circle count and the circles (x, y, radius, group,
// user id). Tokens are separated by blanks; between two numbers of a record
// stands exactly one other byte. Reading stops at the first malformed or
// missing token, keeping the complete records before it.
struct StaticCollisionFile {
    struct Segment {
        Vector2D a;
        Vector2D b;
        std::uint8_t group = 0;
        std::uint32_t userId = 0;
    };
    struct Circle {
        Vector2D center;
        float radius = 0.0f;
        std::uint8_t group = 0;
        std::uint32_t userId = 0;
    };

    // Larger files are refused: far above any level's, and their text is
    // held in memory whole.
    static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

    static StaticCollisionFile Parse(std::string_view text);

    std::vector<Segment> segments;
    std::vector<Circle> circles;
};

}  // namespace Tundra
