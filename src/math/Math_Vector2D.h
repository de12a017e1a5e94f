#pragma once

#include "math/Math_Classification.h"
#include "math/Math_FloatStream.h"
#include "math/Math_Tolerance.h"

#include <cmath>

namespace Math {
struct Circle2D;
struct Line2D;
struct Ray2D;
}  // namespace Math

// A 2D displacement or direction: two 32-bit floats, every result rounded to
// float as it is stored. Nothing is checked: any pair of floats is valid and
// the IEEE result of an overflow or a division by zero stands.
struct Vector2D {
    float x = 0.0f;
    float y = 0.0f;

    Vector2D() = default;
    Vector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

    Vector2D operator-() const { return {-x, -y}; }

    void operator+=(const Vector2D& other) {
        x += other.x;
        y += other.y;
    }
    void operator-=(const Vector2D& other) {
        x -= other.x;
        y -= other.y;
    }
    void operator*=(float s) {
        x *= s;
        y *= s;
    }

    // Free, so that a Point2D on either side converts the same way.
    friend Vector2D operator+(const Vector2D& a, const Vector2D& b) { return {a.x + b.x, a.y + b.y}; }
    friend Vector2D operator-(const Vector2D& a, const Vector2D& b) { return {a.x - b.x, a.y - b.y}; }
    friend Vector2D operator*(const Vector2D& v, float s) { return {v.x * s, v.y * s}; }
    friend Vector2D operator*(float s, const Vector2D& v) { return {s * v.x, s * v.y}; }
    friend Vector2D operator/(const Vector2D& v, float s) { return {v.x / s, v.y / s}; }
    // Exact IEEE comparison: 0 equals -0 and a NaN equals nothing.
    friend bool operator==(const Vector2D& a, const Vector2D& b) { return a.x == b.x && a.y == b.y; }

    void SetZero() { x = y = 0.0f; }
    float Length() const { return std::sqrt(x * x + y * y); }
    float Dot(const Vector2D& other) const { return x * other.x + y * other.y; }

    // In place. A vector shorter than the tolerance carries no usable
    // direction and is left as it is.
    void Normalize() {
        const float length = Length();
        if (Math::IsNegligible(length, Math::kTolerance)) {
            return;
        }
        x /= length;
        y /= length;
    }

    // A unit-length copy without the tolerance band: only an exact zero
    // vector comes back as zero.
    static Vector2D Normalized(const Vector2D& v) {
        const float length = v.Length();
        if (length == 0.0f) {
            return {};
        }
        return {v.x / length, v.y / length};
    }

    // Outside (distance > radius), inside (<), or on the circle (==).
    Math::ClassifyResult ClassifyToCircle(const Math::Circle2D& circle) const;
    // Distance to the line through point along direction; writes the foot of
    // the perpendicular.
    float DistanceToLineThrough(const Vector2D& point, const Vector2D& direction, Vector2D& foot) const;
    // The same for a line or a ray's carrier; a zero direction leaves foot
    // as passed and measures the distance to it.
    float DistanceToLine(const Math::Line2D& line, Vector2D& foot) const;
    float DistanceToLine(const Math::Ray2D& ray, Vector2D& foot) const;

    void Write(Core::File& file) const { Math::WriteFloats(file, {x, y}); }
    void Read(Core::File& file) { Math::ReadFloats(file, x, y); }
};

// A position. It has the layout and the operations of Vector2D and differs
// only in intent; the difference of two points is a Vector2D.
struct Point2D : Vector2D {
    using Vector2D::Vector2D;
    Point2D() = default;
    Point2D(const Vector2D& v) : Vector2D(v) {}
};

namespace Math {

inline float DotProduct(const Vector2D& a, const Vector2D& b) { return a.x * b.x + a.y * b.y; }

// The 2D cross product a.x * b.y - a.y * b.x.
inline float CrossProduct(const Vector2D& a, const Vector2D& b) { return a.x * b.y - a.y * b.x; }

inline bool IsFinite(const Vector2D& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

}  // namespace Math

inline Core::File& operator<<(Core::File& file, const Vector2D& v) {
    v.Write(file);
    return file;
}

inline Core::File& operator>>(Core::File& file, Vector2D& v) {
    v.Read(file);
    return file;
}
