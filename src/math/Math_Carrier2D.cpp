#include "math/Math_Carrier2D.h"

#include "math/Math_Angles.h"

namespace Math::Carrier {

float RadiansBetweenNormalized(const Vector2D& n1, const Vector2D& n2) {
    return ClampedAcos(DotProduct(n1, n2) / (n1.Length() * n2.Length()));
}

float DegreesBetween(const Vector2D& d1, const Vector2D& d2) {
    // 180 / pi as a float.
    return RadiansBetweenNormalized(Vector2D::Normalized(d1), Vector2D::Normalized(d2)) * 57.2957802f;
}

ClassifyResult ClassifyToCircle(Range range, const Point2D& p, const Vector2D& d, const Circle2D& circle,
                                Point2D& first, Point2D& second) {
    const CircleQuadratic q = Quadratic(p, d, circle);
    if (q.discriminant > 0.0f) {
        const float t1 = q.First();
        const float t2 = q.Second();
        if (range == Range::Line) {
            first = PointAt(p, d, t1);
            second = PointAt(p, d, t2);
            return ClassifyIntersecting;
        }
        if (InRange(range, t1)) {
            first = PointAt(p, d, t1);
            if (InRange(range, t2)) {
                second = PointAt(p, d, t2);
                return ClassifyTwoPoints;
            }
            return ClassifyOnePoint;
        }
        if (InRange(range, t2)) {
            first = PointAt(p, d, t2);
            return ClassifyOnePoint;
        }
        return ClassifyNone;
    }
    if (q.discriminant == 0.0f) {
        const float t = q.Touching();
        if (!InRange(range, t)) {
            return ClassifyNone;
        }
        first = PointAt(p, d, t);
        // A ray that touches a circle is counted as crossing it once.
        return range == Range::Ray ? ClassifyOnePoint : ClassifyTangent;
    }
    return ClassifyNone;
}

bool Tangent(Range range, const Point2D& p, const Vector2D& d, const Circle2D& circle, Point2D& touching) {
    const CircleQuadratic q = Quadratic(p, d, circle);
    if (!IsWithin(q.discriminant, 0.0f, kTolerance)) {
        return false;
    }
    const float t = q.Touching();
    if (!InRange(range, t)) {
        return false;
    }
    touching = PointAt(p, d, t);
    return true;
}

}  // namespace Math::Carrier
