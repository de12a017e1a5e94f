#pragma once

#include "math/Math_Vector2D.h"

namespace Math {

struct Circle2D;
struct Line2D;
struct Ray2D;

// The segment from pointA (t = 0) to pointB (t = 1).
struct LineSegment2D {
    Point2D pointA;
    Point2D pointB;

    LineSegment2D() = default;
    LineSegment2D(const Point2D& a, const Point2D& b) : pointA(a), pointB(b) {}

    Vector2D Direction() const { return pointB - pointA; }

    // Crossing (0, point), missing (1), parallel (20); on one line (within an
    // absolute tolerance of 1 on the unnormalised cross product) overlapping
    // (19, the common piece) or apart (21).
    ClassifyResult ClassifyToLineSegment(const LineSegment2D& other, Point2D& crossing, LineSegment2D& overlap) const;
    // Crossing (0, point), missing (1), parallel (20); on the ray's line
    // overlapping (19, the common piece), touching the origin with an end
    // (0, that end) or apart (21).
    ClassifyResult ClassifyToRay(const Ray2D& ray, Point2D& crossing, LineSegment2D& overlap) const;
    // Crossing (0, point), missing (1), on the line (19), parallel (20).
    ClassifyResult ClassifyToLine(const Line2D& line, Point2D& crossing) const;
    // Missing (1), touching (13), crossing once (14) or twice (15); points
    // in order along the segment.
    ClassifyResult ClassifyToCircle(const Circle2D& circle, Point2D& first, Point2D& second) const;
    bool Tangent(const Circle2D& circle, Point2D& touching) const;

    bool Perpendicular(const LineSegment2D& other) const;
    bool Parallel(const LineSegment2D& other) const;
    // Parallel, with other's pointA exactly on this segment's line.
    bool Alligned(const LineSegment2D& other) const;
    // In radians, in [0, pi].
    float AngleBetween(const LineSegment2D& other) const;

    void Write(Core::File& file) const { WriteFloats(file, {pointA.x, pointA.y, pointB.x, pointB.y}); }
    void Read(Core::File& file) { ReadFloats(file, pointA.x, pointA.y, pointB.x, pointB.y); }
};

// The code of ClassifyToLineSegment, but on one line only when exactly
// collinear, and nothing written.
ClassifyResult ClassifyParallelSegments(const LineSegment2D& first, const LineSegment2D& second);

}  // namespace Math

inline Core::File& operator<<(Core::File& file, const Math::LineSegment2D& segment) {
    segment.Write(file);
    return file;
}

inline Core::File& operator>>(Core::File& file, Math::LineSegment2D& segment) {
    segment.Read(file);
    return file;
}
