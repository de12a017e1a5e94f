#pragma once

#include "math/Math_Vector2D.h"

namespace Math {

struct Circle2D;
struct Ray2D;

// The whole line point + t * direction. The direction is never normalised
// and may have any length, zero included.
struct Line2D {
    Point2D point;
    Vector2D direction;

    Line2D() = default;
    Line2D(const Point2D& pointValue, const Vector2D& directionValue) : point(pointValue), direction(directionValue) {}

    // Crossing (0, point), the same line (19) or parallel (20).
    ClassifyResult ClassifyToLine(const Line2D& other, Point2D& crossing) const;
    // Crossing (0, point), missing (1), on the ray's line (19), parallel (20).
    ClassifyResult ClassifyToRay(const Ray2D& ray, Point2D& crossing) const;
    // Missing (1), touching (13, one point), crossing (0, two points).
    ClassifyResult ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const;
    bool Tangent(const Circle2D& circle, Point2D& touching) const;
    bool Perpendicular(const Line2D& other) const;
    bool Parallel(const Line2D& other) const;
    // In degrees, in [0, 180].
    float AngleBetween(const Line2D& other) const;
    float AngleBetween(const Ray2D& ray) const;
};

}  // namespace Math
