#pragma once

#include "math/Math_Classification.h"

#include <cmath>

struct Plane;

// A 3D point or direction: three 32-bit floats.
struct Vector3D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3D() = default;
    Vector3D(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    Vector3D operator-(const Vector3D& other) const { return {x - other.x, y - other.y, z - other.z}; }
    Vector3D operator*(float s) const { return {x * s, y * s, z * s}; }
    void operator+=(const Vector3D& other) {
        x += other.x;
        y += other.y;
        z += other.z;
    }

    float Dot(const Vector3D& other) const { return x * other.x + y * other.y + z * other.z; }
    float Length() const { return std::sqrt(Dot(*this)); }

    // In place. Unlike the 2D vector there is no tolerance band: only a zero
    // (or NaN) length leaves the vector as it is.
    void Normalize() {
        const float length = Length();
        if (length == 0.0f || std::isnan(length)) {
            return;
        }
        x /= length;
        y /= length;
        z /= length;
    }

    // On the plane (0), in front of it (8) or behind it (9).
    Math::ClassifyResult ClassifyToPlane(const Plane& plane) const;
};

namespace Math {

inline Vector3D CrossProduct(float ax, float ay, float az, float bx, float by, float bz) {
    return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

}  // namespace Math
