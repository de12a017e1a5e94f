#include "tundra/Tundra_BezierSegment.h"

namespace Tundra {

Vector2D BezierPoint(const BezierSegment& s, float u) {
    const Vector2D a = s.p3 - s.p2 * 3.0f + s.p1 * 3.0f - s.p0;
    const Vector2D b = s.p2 - s.p1 * 2.0f + s.p0;
    return s.p0 + (s.p1 - s.p0) * (3.0f * u) + b * (3.0f * u * u) + a * (u * u * u);
}

Vector2D BezierTangent(const BezierSegment& s, float u) {
    const float v = 1.0f - u;
    return (s.p1 - s.p0) * (3.0f * v * v) + (s.p2 - s.p1) * (6.0f * u * v) + (s.p3 - s.p2) * (3.0f * u * u);
}

void BezierSegment::Sample() {
    chordTable.clear();
    sampleParameters.clear();
    Vector2D previous;
    for (float u = 0.0f; u <= 1.0f; u += 0.05f) {
        const Vector2D point = BezierPoint(*this, u);
        sampleParameters.push_back(u);
        chordTable.push_back(chordTable.empty() ? 0.0f : chordTable.back() + (point - previous).Length());
        previous = point;
    }
    const float total = chordTable.back();
    if (total > 0.0f) {
        for (float& entry : chordTable) {
            entry /= total;
        }
    }
}

}  // namespace Tundra
