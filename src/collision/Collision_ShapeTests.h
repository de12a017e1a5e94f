#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>

namespace Collision2D {

// Every collision shape in world space as a capsule: a core segment and a
// radius. A circle is a capsule whose two ends are the same point; a
// frame's segment is a capsule of half the object's thickness.
struct Capsule {
    Vector2D a;
    Vector2D b;
    float radius = 0.0f;

    bool IsCircle() const { return a == b; }
};

// Halves first: the sum of two coordinates near the float's limit would overflow.
inline Vector2D Midpoint(const Vector2D& a, const Vector2D& b) { return a * 0.5f + b * 0.5f; }

struct ShapeContact {
    float depth = 0.0f;
    std::uint32_t pointCount = 0;
    Vector2D points[2];
    Vector2D normal;    // out of the other shape into this one
    Vector2D position;  // mean of the points
};

// Overlap at the poses given: distance between the cores below the sum of
// the radii. The points are where the outlines cross (circle against
// circle, a core segment against a circle, two core segments) or else the
// middle of the overlap along the normal.
bool TestShapes(const Capsule& own, const Capsule& other, ShapeContact& contact);

// The same geometry without the overlap condition: the contact of shapes
// that just touch.
void ContactGeometry(const Capsule& own, const Capsule& other, ShapeContact& contact);

// own arrives at its pose after moving by motion relative to other (which
// is taken as still). When one of the two is a circle, writes the earliest
// time s in [0, 1] at which they met, 0 when they overlapped at the start,
// and returns true; false when they never met or neither is a circle.
bool SweepMeetingTime(const Capsule& own, const Capsule& other, const Vector2D& motion, float& s);

}  // namespace Collision2D
