#include "math/Math_Circle2D.h"

#include "math/Math_LineSegment2D.h"

#include <algorithm>

namespace Math {

ClassifyResult Circle2D::ClassifyToCircle(const Circle2D& other, Point2D& first, Point2D& second) const {
    const float r0 = radius;
    const float r1 = other.radius;
    const Vector2D delta = other.center - center;
    const float distanceSquared = DotProduct(delta, delta);
    const float distance = std::sqrt(distanceSquared);

    if (distance + r1 < r0) {
        return ClassifyContains;
    }
    if (distance + r0 < r1) {
        return ClassifyInside;
    }
    // Centres so close that their distance squares to 0 give no direction
    // between them: they are one centre.
    if (distance == 0.0f && r0 == r1) {
        return ClassifyCoincident;
    }
    // u runs from this centre to the other; h is the distance along u to the
    // chord through the common points (or to the touching point).
    Vector2D u = delta;
    u.Normalize();
    const float h = (distanceSquared + r0 * r0 - r1 * r1) / (2.0f * distance);
    const Point2D foot = center + u * h;

    const float radiusDifference = r0 - r1;
    if (distanceSquared == radiusDifference * radiusDifference) {
        first = foot;
        return ClassifyTangentInside;
    }
    const float radiusSum = r0 + r1;
    if (radiusSum * radiusSum < distanceSquared) {
        return ClassifyOutside;
    }
    if (distanceSquared != radiusSum * radiusSum) {
        // Rounding can make h a hair longer than r0 for nearly touching
        // circles; the half chord is then 0, not a NaN.
        const float halfChord = std::sqrt(std::max(r0 * r0 - h * h, 0.0f));
        const Vector2D normal(-u.y, u.x);
        first = foot + normal * halfChord;
        second = foot - normal * halfChord;
        return ClassifyTwoPoints;
    }
    first = foot;
    return ClassifyTangentOutside;
}

ClassifyResult Circle2D::ClassifyToLineSegment(const LineSegment2D& segment, Point2D& first, Point2D& second) const {
    return segment.ClassifyToCircle(*this, first, second);
}

}  // namespace Math
