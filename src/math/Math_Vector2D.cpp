#include "math/Math_Vector2D.h"

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"

namespace {

// A zero direction defines no line: the foot is kept as passed.
float DistanceToCarrier(const Vector2D& p, const Vector2D& point, const Vector2D& direction, Vector2D& foot) {
    if (Math::DotProduct(direction, direction) == 0.0f) {
        return (p - foot).Length();
    }
    return p.DistanceToLineThrough(point, direction, foot);
}

}  // namespace

Math::ClassifyResult Vector2D::ClassifyToCircle(const Math::Circle2D& circle) const {
    const float distance = (*this - circle.center).Length();
    if (distance > circle.radius) {
        return Math::ClassifyOutside;
    }
    if (distance < circle.radius) {
        return Math::ClassifyInside;
    }
    return Math::ClassifyIntersecting;
}

float Vector2D::DistanceToLineThrough(const Vector2D& point, const Vector2D& direction, Vector2D& foot) const {
    const float s = Math::DotProduct(*this - point, direction) / Math::DotProduct(direction, direction);
    foot = point + direction * s;
    return (*this - foot).Length();
}

float Vector2D::DistanceToLine(const Math::Line2D& line, Vector2D& foot) const {
    return DistanceToCarrier(*this, line.point, line.direction, foot);
}

float Vector2D::DistanceToLine(const Math::Ray2D& ray, Vector2D& foot) const {
    return DistanceToCarrier(*this, ray.origin, ray.direction, foot);
}
