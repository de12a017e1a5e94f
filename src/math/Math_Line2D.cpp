#include "math/Math_Line2D.h"

#include "math/Math_Carrier2D.h"
#include "math/Math_Ray2D.h"

namespace Math {

using Carrier::Range;

ClassifyResult Line2D::ClassifyToLine(const Line2D& other, Point2D& crossing) const {
    if (const auto code = Carrier::CrossingCode(Range::Line, point, direction, Range::Line, other.point,
                                                other.direction, &crossing)) {
        return *code;
    }
    return Carrier::Offset(other.point, point, direction) == 0.0f ? ClassifyCoincident : ClassifyParallel;
}

ClassifyResult Line2D::ClassifyToRay(const Ray2D& ray, Point2D& crossing) const {
    if (const auto code =
            Carrier::CrossingCode(Range::Line, point, direction, Range::Ray, ray.origin, ray.direction, &crossing)) {
        return *code;
    }
    return Carrier::Offset(ray.origin, point, direction) == 0.0f ? ClassifyCoincident : ClassifyParallel;
}

ClassifyResult Line2D::ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const {
    return Carrier::ClassifyToCircle(Range::Line, point, direction, circle, first, second);
}

bool Line2D::Tangent(const Circle2D& circle, Point2D& touching) const {
    return Carrier::Tangent(Range::Line, point, direction, circle, touching);
}

bool Line2D::Perpendicular(const Line2D& other) const { return Carrier::Perpendicular(direction, other.direction); }

bool Line2D::Parallel(const Line2D& other) const { return Carrier::Parallel(direction, other.direction); }

float Line2D::AngleBetween(const Line2D& other) const { return Carrier::DegreesBetween(direction, other.direction); }

float Line2D::AngleBetween(const Ray2D& ray) const { return Carrier::DegreesBetween(direction, ray.direction); }

}  // namespace Math
