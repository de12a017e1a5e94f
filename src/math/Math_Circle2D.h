#pragma once

#include "math/Math_Vector2D.h"

namespace Math {

struct LineSegment2D;

// A circle: centre and radius. The radius is not checked.
struct Circle2D {
    Point2D center;
    float radius = 1.0f;

    Circle2D() = default;
    Circle2D(const Point2D& centerValue, float radiusValue) : center(centerValue), radius(radiusValue) {}

    // Against another circle: contains it (26), inside it (3), the same
    // circle (19, also for centres too close to measure), touching from inside (27, one point) or outside (28, one
    // point), apart (2), or crossing (15, two points).
    ClassifyResult ClassifyToCircle(const Circle2D& other, Point2D& first, Point2D& second) const;
    // The segment's test against this circle.
    ClassifyResult ClassifyToLineSegment(const LineSegment2D& segment, Point2D& first, Point2D& second) const;

    void Write(Core::File& file) const { WriteFloats(file, {center.x, center.y, radius}); }
    void Read(Core::File& file) { ReadFloats(file, center.x, center.y, radius); }
};

}  // namespace Math

inline Core::File& operator<<(Core::File& file, const Math::Circle2D& circle) {
    circle.Write(file);
    return file;
}

inline Core::File& operator>>(Core::File& file, Math::Circle2D& circle) {
    circle.Read(file);
    return file;
}
