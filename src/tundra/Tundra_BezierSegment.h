#pragma once

#include "math/Math_Vector2D.h"

#include <vector>

namespace Tundra {

// One cubic piece of a composite curve: P0 is its start, P3 its end. The
// two tables are kept and streamed with the curve but never used to
// evaluate it.
struct BezierSegment {
    Vector2D p0, p1, p2, p3;
    // Cumulative chord length at each sample, the last entry 1.
    std::vector<float> chordTable;
    // The local parameter of each sample: 0, 0.05, ... 0.95.
    std::vector<float> sampleParameters;

    // Fills both tables from 20 samples (u = 0 .. 0.95 in f32 steps of
    // 0.05). A segment of zero length keeps its chord entries at 0.
    void Sample();
};

// The point at local parameter u, summed in the order
// P0 + 3u (P1 - P0) + 3u^2 (P2 - 2 P1 + P0) + u^3 (P3 - 3 P2 + 3 P1 - P0).
Vector2D BezierPoint(const BezierSegment& segment, float u);
// The derivative with respect to u, not normalised:
// 3 (1 - u)^2 (P1 - P0) + 6 u (1 - u) (P2 - P1) + 3 u^2 (P3 - P2).
Vector2D BezierTangent(const BezierSegment& segment, float u);

}  // namespace Tundra
