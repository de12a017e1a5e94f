#pragma once

#include "math/Math_Circle2D.h"
#include "math/Math_Vector2D.h"

#include <cmath>
#include <optional>

// What segments, rays and lines share: each is a carrier p + t * d whose
// parameter t is limited to a range. Used by the shape tests only.
namespace Math::Carrier {

enum class Range { Segment, Ray, Line };

inline bool InRange(Range range, float t) {
    switch (range) {
        case Range::Segment:
            return t >= 0.0f && t <= 1.0f;
        case Range::Ray:
            return t >= 0.0f;
        case Range::Line:
            // Any parameter, but a NaN is none: it comes from a zero direction.
            return !std::isnan(t);
    }
    return false;
}

inline Point2D PointAt(const Point2D& p, const Vector2D& d, float t) { return p + d * t; }

// Where p1 + t * d1 meets p2 + u * d2: crossing (0, the point written) when
// t and u lie in their carriers' ranges, else none (1). Carriers whose
// directions have a cross product within the tolerance of 0 are parallel and
// get no code here: each pair of shapes treats them its own way.
inline std::optional<ClassifyResult> CrossingCode(Range range1, const Point2D& p1, const Vector2D& d1, Range range2,
                                                  const Point2D& p2, const Vector2D& d2, Point2D* crossing) {
    const float c = CrossProduct(d1, d2);
    if (IsWithin(c, 0.0f, kTolerance)) {
        return std::nullopt;
    }
    const Vector2D w = p2 - p1;
    const float t = CrossProduct(w, d2) / c;
    const float u = CrossProduct(w, d1) / c;
    if (!InRange(range1, t) || !InRange(range2, u)) {
        return ClassifyNone;
    }
    if (crossing != nullptr) {
        *crossing = PointAt(p1, d1, t);
    }
    return ClassifyIntersecting;
}

// How far q lies off the line p + t * d, unnormalised: 0 on the line.
inline float Offset(const Point2D& q, const Point2D& p, const Vector2D& d) { return CrossProduct(q - p, d); }

// The parameter of q along p + t * d, assuming q on that line. It is taken
// from x unless the direction is nearly vertical.
inline float ParameterOf(const Point2D& q, const Point2D& p, const Vector2D& d) {
    if (std::fabs(d.x) >= kTolerance) {
        return (q.x - p.x) / d.x;
    }
    return (q.y - p.y) / d.y;
}

// Directions meeting at a right angle, within the tolerance on their dot product.
inline bool Perpendicular(const Vector2D& d1, const Vector2D& d2) {
    return IsWithin(DotProduct(d1, d2), 0.0f, kTolerance);
}

// Directions along one line, within the tolerance on their cross product.
inline bool Parallel(const Vector2D& d1, const Vector2D& d2) {
    return IsWithin(CrossProduct(d1, d2), 0.0f, kTolerance);
}

// acos(n1.n2 / (|n1| |n2|)) in radians, for directions already normalised
// by one of the two normalisations.
float RadiansBetweenNormalized(const Vector2D& n1, const Vector2D& n2);

// The angle between two directions in degrees, in [0, 180].
float DegreesBetween(const Vector2D& d1, const Vector2D& d2);

// The quadratic |p + t * d - centre|^2 = r^2 in t.
struct CircleQuadratic {
    float a = 0.0f;
    float b = 0.0f;
    float discriminant = 0.0f;

    float First() const { return (-b - std::sqrt(discriminant)) / (2.0f * a); }
    float Second() const { return (std::sqrt(discriminant) - b) / (2.0f * a); }
    float Touching() const { return -b / (2.0f * a); }
};

inline CircleQuadratic Quadratic(const Point2D& p, const Vector2D& d, const Circle2D& circle) {
    // The constant term from the offset to the centre: expanding it into
    // p.p + c.c - 2 p.c cancels away every digit at world coordinates.
    const Vector2D offset = p - circle.center;
    const float a = DotProduct(d, d);
    const float b = 2.0f * DotProduct(d, offset);
    const float c = DotProduct(offset, offset) - circle.radius * circle.radius;
    return {a, b, b * b - 4.0f * a * c};
}

// A carrier against a circle; points in order along the carrier. Segments
// touch (13) or cross once (14) or twice (15); rays cross once (14, touching
// included) or twice (15); lines touch (13) or cross (0, both points).
ClassifyResult ClassifyToCircle(Range range, const Point2D& p, const Vector2D& d, const Circle2D& circle,
                                Point2D& first, Point2D& second);

// A discriminant within the tolerance of 0 with the touching parameter in range.
bool Tangent(Range range, const Point2D& p, const Vector2D& d, const Circle2D& circle, Point2D& touching);

}  // namespace Math::Carrier
