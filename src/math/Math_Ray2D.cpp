#include "math/Math_Ray2D.h"

#include "math/Math_Carrier2D.h"
#include "math/Math_LineSegment2D.h"

namespace Math {

using Carrier::Range;

ClassifyResult Ray2D::ClassifyToRay(const Ray2D& other, Point2D& point, LineSegment2D& between, Ray2D& inner) const {
    if (const auto code =
            Carrier::CrossingCode(Range::Ray, origin, direction, Range::Ray, other.origin, other.direction, &point)) {
        return *code;
    }
    if (Carrier::Offset(other.origin, origin, direction) != 0.0f) {
        return ClassifyParallel;
    }
    // s: this origin along the other ray; u: the other origin along this one.
    const float s = Carrier::ParameterOf(origin, other.origin, other.direction);
    const float u = Carrier::ParameterOf(other.origin, origin, direction);
    // Directions of any length: only the sign of their dot product counts.
    const bool sameWay = DotProduct(direction, other.direction) > 0.0f;
    if (s <= 0.0f && u <= 0.0f) {
        // Pointing away from each other; they share a point only when the
        // origins coincide.
        if (s == 0.0f) {
            point = origin;
            return ClassifyIntersecting;
        }
        if (u == 0.0f) {
            point = other.origin;
            return ClassifyIntersecting;
        }
        return ClassifyCollinearApart;
    }
    if ((s <= 0.0f && u > 0.0f) || s > 0.0f) {
        if (sameWay) {
            // The ray whose origin lies on the other is the inner one.
            inner = s > 0.0f ? *this : other;
            return ClassifyContainsRay;
        }
        between = LineSegment2D(origin, other.origin);
        return ClassifyOppositeOverlap;
    }
    return ClassifyCollinearApart;
}

ClassifyResult Ray2D::ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const {
    return Carrier::ClassifyToCircle(Range::Ray, origin, direction, circle, first, second);
}

bool Ray2D::Tangent(const Circle2D& circle, Point2D& point) const {
    return Carrier::Tangent(Range::Ray, origin, direction, circle, point);
}

bool Ray2D::Perpendicular(const Ray2D& other) const { return Carrier::Perpendicular(direction, other.direction); }

bool Ray2D::Parallel(const Ray2D& other) const { return Carrier::Parallel(direction, other.direction); }

float Ray2D::AngleBetween(const Ray2D& other) const { return Carrier::DegreesBetween(direction, other.direction); }

}  // namespace Math
