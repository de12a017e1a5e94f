#pragma once

#include "math/Math_Vector2D.h"

namespace Math {

struct Circle2D;
struct LineSegment2D;

// A half line origin + t * direction, t >= 0. The direction is never
// normalised and may have any length, zero included.
struct Ray2D {
    Point2D origin;
    Vector2D direction;

    Ray2D() = default;
    Ray2D(const Point2D& originValue, const Vector2D& directionValue)
        : origin(originValue), direction(directionValue) {}

    // Crossing (0, point), missing (1), parallel (20); on one line: apart
    // (21), touching at an origin (0, point), pointing at each other (22,
    // the piece between the origins) or one within the other (23, the inner
    // ray).
    ClassifyResult ClassifyToRay(const Ray2D& other, Point2D& point, LineSegment2D& between, Ray2D& inner) const;
    // Missing (1), crossing or touching in one point (14), crossing twice (15).
    ClassifyResult ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const;
    bool Tangent(const Circle2D& circle, Point2D& point) const;
    bool Perpendicular(const Ray2D& other) const;
    bool Parallel(const Ray2D& other) const;
    // In degrees, in [0, 180].
    float AngleBetween(const Ray2D& other) const;
};

}  // namespace Math
