#include "collision/Collision_ShapeTests.h"

#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Collision2D {

namespace {

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// Closest points of two segments, either of which may be a single point.
void ClosestPoints(const Capsule& p, const Capsule& q, Vector2D& onP, Vector2D& onQ) {
    const Vector2D d1 = p.b - p.a;
    const Vector2D d2 = q.b - q.a;
    const Vector2D r = p.a - q.a;
    const float a = d1.Dot(d1);
    const float e = d2.Dot(d2);
    const float f = d2.Dot(r);
    float s = 0.0f;
    float t = 0.0f;
    if (a == 0.0f && e == 0.0f) {
        // Both points.
    } else if (a == 0.0f) {
        t = Clamp01(f / e);
    } else {
        const float c = d1.Dot(r);
        if (e == 0.0f) {
            s = Clamp01(-c / a);
        } else {
            const float b = d1.Dot(d2);
            const float denominator = a * e - b * b;
            s = denominator != 0.0f ? Clamp01((b * f - c * e) / denominator) : 0.0f;
            t = (b * s + f) / e;
            if (t < 0.0f) {
                t = 0.0f;
                s = Clamp01(-c / a);
            } else if (t > 1.0f) {
                t = 1.0f;
                s = Clamp01((b - c) / a);
            }
        }
    }
    onP = p.a + d1 * s;
    onQ = q.a + d2 * t;
}

Vector2D LeftNormal(const Vector2D& a, const Vector2D& b) { return Vector2D::Normalized({a.y - b.y, b.x - a.x}); }

Vector2D Middle(const Capsule& c) { return Midpoint(c.a, c.b); }

// When the cores touch there is no direction between them: take the other
// segment's normal on own's side, else own segment's normal, else straight up.
Vector2D FallbackNormal(const Capsule& own, const Capsule& other) {
    if (!other.IsCircle()) {
        Vector2D n = LeftNormal(other.a, other.b);
        if ((Middle(own) - other.a).Dot(n) < 0.0f) {
            n = -n;
        }
        return n;
    }
    if (!own.IsCircle()) {
        return LeftNormal(own.a, own.b);
    }
    return {0.0f, 1.0f};
}

std::uint32_t CrossingPoints(const Capsule& own, const Capsule& other, Vector2D* points) {
    Point2D first;
    Point2D second;
    Math::ClassifyResult result = Math::ClassifyNone;
    if (own.IsCircle() && other.IsCircle()) {
        result = Math::Circle2D(own.a, own.radius)
                     .ClassifyToCircle(Math::Circle2D(other.a, other.radius), first, second);
        if (result == Math::ClassifyTangentInside || result == Math::ClassifyTangentOutside) {
            points[0] = first;
            return 1;
        }
    } else if (own.IsCircle() || other.IsCircle()) {
        const Capsule& circle = own.IsCircle() ? own : other;
        const Capsule& segment = own.IsCircle() ? other : own;
        result = Math::LineSegment2D(segment.a, segment.b)
                     .ClassifyToCircle(Math::Circle2D(circle.a, circle.radius), first, second);
        if (result == Math::ClassifyTangent || result == Math::ClassifyOnePoint) {
            points[0] = first;
            return 1;
        }
    } else {
        Math::LineSegment2D overlap;
        if (Math::LineSegment2D(own.a, own.b).ClassifyToLineSegment(Math::LineSegment2D(other.a, other.b), first,
                                                                  overlap) == Math::ClassifyIntersecting) {
            points[0] = first;
            return 1;
        }
    }
    if (result == Math::ClassifyTwoPoints) {
        points[0] = first;
        points[1] = second;
        return 2;
    }
    return 0;
}

// Earliest t in [0, 1] with |p + t d - centre| = radius, from outside.
void EarliestOnCircle(const Vector2D& p, const Vector2D& d, const Vector2D& centre, float radius, float& best) {
    const Vector2D m = p - centre;
    const float a = d.Dot(d);
    const float b = m.Dot(d);
    const float c = m.Dot(m) - radius * radius;
    const float discriminant = b * b - a * c;
    if (a == 0.0f || discriminant < 0.0f) {
        return;
    }
    const float t = (-b - std::sqrt(discriminant)) / a;
    if (t >= 0.0f && t <= 1.0f) {
        best = std::min(best, t);
    }
}

// A point moving from p by d against a segment grown by radius.
bool EarliestOnCapsule(const Vector2D& p, const Vector2D& d, const Capsule& core, float radius, float& s) {
    Vector2D onPoint;
    Vector2D onCore;
    ClosestPoints({p, p, 0.0f}, core, onPoint, onCore);
    const Vector2D gap = onPoint - onCore;
    if (gap.Dot(gap) < radius * radius) {
        s = 0.0f;
        return true;
    }
    float best = std::numeric_limits<float>::infinity();
    EarliestOnCircle(p, d, core.a, radius, best);
    if (!core.IsCircle()) {
        EarliestOnCircle(p, d, core.b, radius, best);
        const Vector2D u = core.b - core.a;
        const Vector2D n = LeftNormal(core.a, core.b);
        const float start = n.Dot(p - core.a);
        const float rate = n.Dot(d);
        if (rate != 0.0f) {
            for (const float side : {radius, -radius}) {
                const float t = (side - start) / rate;
                const float along = u.Dot(p + d * t - core.a) / u.Dot(u);
                if (t >= 0.0f && t <= 1.0f && along >= 0.0f && along <= 1.0f) {
                    best = std::min(best, t);
                }
            }
        }
    }
    s = best;
    return best <= 1.0f;
}

// The contact of the shapes whose closest points are given.
void ContactFromClosest(const Capsule& own, const Capsule& other, const Vector2D& onOwn, const Vector2D& onOther,
                        ShapeContact& contact) {
    const Vector2D between = onOwn - onOther;
    const float distance = between.Length();
    contact.normal = distance > 0.0f ? between / distance : FallbackNormal(own, other);
    contact.depth = own.radius + other.radius - distance;
    contact.pointCount = CrossingPoints(own, other, contact.points);
    if (contact.pointCount == 0) {
        contact.points[0] = onOther + contact.normal * (other.radius - contact.depth * 0.5f);
        contact.pointCount = 1;
    }
    contact.position = contact.pointCount == 2 ? Midpoint(contact.points[0], contact.points[1]) : contact.points[0];
}

}  // namespace

void ContactGeometry(const Capsule& own, const Capsule& other, ShapeContact& contact) {
    Vector2D onOwn;
    Vector2D onOther;
    ClosestPoints(own, other, onOwn, onOther);
    ContactFromClosest(own, other, onOwn, onOther, contact);
}

bool TestShapes(const Capsule& own, const Capsule& other, ShapeContact& contact) {
    Vector2D onOwn;
    Vector2D onOther;
    ClosestPoints(own, other, onOwn, onOther);
    const Vector2D between = onOwn - onOther;
    const float reach = own.radius + other.radius;
    if (!(between.Dot(between) < reach * reach)) {
        return false;
    }
    ContactFromClosest(own, other, onOwn, onOther, contact);
    return true;
}

bool SweepMeetingTime(const Capsule& own, const Capsule& other, const Vector2D& motion, float& s) {
    const float radius = own.radius + other.radius;
    if (own.IsCircle()) {
        return EarliestOnCapsule(own.a - motion, motion, other, radius, s);
    }
    if (other.IsCircle()) {
        return EarliestOnCapsule(other.a + motion, -motion, own, radius, s);
    }
    return false;
}

}  // namespace Collision2D
