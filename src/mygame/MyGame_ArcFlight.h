#pragma once

#include "math/Math_Vector2D.h"

// What the arcing shots and the leaping mascot share: a point along a
// quadratic Bezier curve, and a spin while they fly.

// The point at t of the curve from p0 to p2 pulled toward p1; t is not
// clamped, so past 1 the point keeps to the extended parabola.
inline Vector2D ArcPoint(const Vector2D& p0, const Vector2D& p1, const Vector2D& p2, float t) {
    const float u = 1.0f - t;
    return p0 * (u * u) + p1 * (2.0f * u * t) + p2 * (t * t);
}

// The angle one frame of spinning later: backwards it falls without a
// wrap, forwards it wraps past a full turn.
inline float SpunAngle(float degrees, bool backwards, float degreesPerSecond, float dt) {
    const float angle = backwards ? degrees - degreesPerSecond * dt : degrees + degreesPerSecond * dt;
    return angle > 360.0f ? angle - 360.0f : angle;
}
