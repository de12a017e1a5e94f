#include "math/Math_LineSegment2D.h"

#include "math/Math_Carrier2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"

namespace Math {

namespace {

using Carrier::Range;

// Collision geometry from data files is rarely exactly collinear: segment
// pairs count as on one line within this absolute tolerance on the
// unnormalised cross product.
constexpr float kSegmentOnLineTolerance = 1.0f;

bool InSegment(float t) { return Carrier::InRange(Range::Segment, t); }

// Two segments on one line: the common piece, if any, is written to overlap.
ClassifyResult ClassifyCollinearSegments(const LineSegment2D& first, const LineSegment2D& second,
                                         LineSegment2D* overlap) {
    const Vector2D d1 = first.Direction();
    const Vector2D d2 = second.Direction();
    // The receiver counts as the shorter one when the lengths are equal.
    const bool firstIsShorter = d1.Length() <= d2.Length();
    const LineSegment2D& shorter = firstIsShorter ? first : second;
    const LineSegment2D& longer = firstIsShorter ? second : first;
    const Vector2D along = longer.Direction();
    const bool aInside = InSegment(Carrier::ParameterOf(shorter.pointA, longer.pointA, along));
    const bool bInside = InSegment(Carrier::ParameterOf(shorter.pointB, longer.pointA, along));

    if (aInside && bInside) {
        if (overlap != nullptr) {
            *overlap = shorter;
        }
        return ClassifyCoincident;
    }
    if (!aInside && !bInside) {
        return ClassifyCollinearApart;
    }
    // One end of the shorter segment lies on the longer one; the piece runs
    // from it to the end of the longer segment that the shorter one passes.
    // Directions of any length: only the sign of their dot product counts.
    const float dot = DotProduct(d1, d2);
    if (!(dot > 0.0f) && !(dot < 0.0f)) {
        return ClassifyCollinearApart;
    }
    const bool sameWay = dot > 0.0f;
    // From an inside pointA the shorter segment runs forward, past longer's
    // pointB when both run the same way; from an inside pointB it comes from
    // behind longer's pointA. Running opposite swaps the two.
    const Point2D& longerEnd = (aInside == sameWay) ? longer.pointB : longer.pointA;
    if (overlap != nullptr) {
        *overlap = LineSegment2D(aInside ? shorter.pointA : shorter.pointB, longerEnd);
    }
    return ClassifyCoincident;
}

ClassifyResult ClassifySegmentPair(const LineSegment2D& first, const LineSegment2D& second, float onLineTolerance,
                                   Point2D* crossing, LineSegment2D* overlap) {
    const Vector2D d1 = first.Direction();
    if (const auto code = Carrier::CrossingCode(Range::Segment, first.pointA, d1, Range::Segment, second.pointA,
                                                second.Direction(), crossing)) {
        return *code;
    }
    if (!IsWithin(Carrier::Offset(second.pointA, first.pointA, d1), 0.0f, onLineTolerance)) {
        return ClassifyParallel;
    }
    return ClassifyCollinearSegments(first, second, overlap);
}

}  // namespace

ClassifyResult LineSegment2D::ClassifyToLineSegment(const LineSegment2D& other, Point2D& crossing,
                                                    LineSegment2D& overlap) const {
    return ClassifySegmentPair(*this, other, kSegmentOnLineTolerance, &crossing, &overlap);
}

ClassifyResult ClassifyParallelSegments(const LineSegment2D& first, const LineSegment2D& second) {
    return ClassifySegmentPair(first, second, 0.0f, nullptr, nullptr);
}

ClassifyResult LineSegment2D::ClassifyToRay(const Ray2D& ray, Point2D& crossing, LineSegment2D& overlap) const {
    const Vector2D d = Direction();
    if (const auto code =
            Carrier::CrossingCode(Range::Segment, pointA, d, Range::Ray, ray.origin, ray.direction, &crossing)) {
        return *code;
    }
    if (Carrier::Offset(ray.origin, pointA, d) != 0.0f) {
        return ClassifyParallel;
    }
    const float tA = Carrier::ParameterOf(pointA, ray.origin, ray.direction);
    const float tB = Carrier::ParameterOf(pointB, ray.origin, ray.direction);
    if (tA > 0.0f && tB >= 0.0f) {
        overlap = *this;
        return ClassifyCoincident;
    }
    if (tA > 0.0f && tB < 0.0f) {
        overlap = LineSegment2D(pointA, ray.origin);
        return ClassifyCoincident;
    }
    if (tA <= 0.0f && tB > 0.0f) {
        overlap = LineSegment2D(pointB, ray.origin);
        return ClassifyCoincident;
    }
    // Only an end exactly at the origin touches the ray.
    if (tA == 0.0f) {
        crossing = pointA;
        return ClassifyIntersecting;
    }
    if (tB == 0.0f) {
        crossing = pointB;
        return ClassifyIntersecting;
    }
    return ClassifyCollinearApart;
}

ClassifyResult LineSegment2D::ClassifyToLine(const Line2D& line, Point2D& crossing) const {
    const Vector2D d = Direction();
    if (const auto code =
            Carrier::CrossingCode(Range::Segment, pointA, d, Range::Line, line.point, line.direction, &crossing)) {
        return *code;
    }
    return Carrier::Offset(line.point, pointA, d) == 0.0f ? ClassifyCoincident : ClassifyParallel;
}

ClassifyResult LineSegment2D::ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const {
    return Carrier::ClassifyToCircle(Range::Segment, pointA, Direction(), circle, first, second);
}

bool LineSegment2D::Tangent(const Circle2D& circle, Point2D& touching) const {
    return Carrier::Tangent(Range::Segment, pointA, Direction(), circle, touching);
}

bool LineSegment2D::Perpendicular(const LineSegment2D& other) const {
    return Carrier::Perpendicular(Direction(), other.Direction());
}

bool LineSegment2D::Parallel(const LineSegment2D& other) const {
    return Carrier::Parallel(Direction(), other.Direction());
}

bool LineSegment2D::Alligned(const LineSegment2D& other) const {
    return Parallel(other) && Carrier::Offset(other.pointA, pointA, Direction()) == 0.0f;
}

float LineSegment2D::AngleBetween(const LineSegment2D& other) const {
    Vector2D d1 = Direction();
    Vector2D d2 = other.Direction();
    d1.Normalize();
    d2.Normalize();
    return Carrier::RadiansBetweenNormalized(d1, d2);
}

}  // namespace Math
