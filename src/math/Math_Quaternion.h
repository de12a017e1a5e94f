#pragma once

#include "math/Math_Vector3D.h"

struct Matrix4;

// A rotation as w + xi + yj + zk, scalar part first. The default is the
// identity rotation.
struct Quaternion {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Quaternion() = default;
    Quaternion(float wValue, float xValue, float yValue, float zValue) : w(wValue), x(xValue), y(yValue), z(zValue) {}

    // Hamilton product this * r, every part computed from the incoming values.
    void operator*=(const Quaternion& r) {
        const float nw = w * r.w - x * r.x - y * r.y - z * r.z;
        const float nx = w * r.x + x * r.w + y * r.z - z * r.y;
        const float ny = w * r.y + y * r.w + z * r.x - x * r.z;
        const float nz = w * r.z + z * r.w + x * r.y - y * r.x;
        w = nw;
        x = nx;
        y = ny;
        z = nz;
    }

    // A zero (or NaN) length leaves the quaternion as it is.
    void Normalize() {
        const float length = std::sqrt(w * w + x * x + y * y + z * z);
        if (length == 0.0f || std::isnan(length)) {
            return;
        }
        const float k = 1.0f / length;
        w *= k;
        x *= k;
        y *= k;
        z *= k;
    }

    // The rotation matrix of a quaternion taken as unit length.
    static void ToMatrix4(const Quaternion& q, Matrix4& out);

    // The rotation by degrees about axis. The axis is normalised in place
    // (the caller sees it change); a zero axis gives the scalar part alone.
    static Quaternion& FromAxisAngle(Quaternion& out, Vector3D& axis, float degrees);
};
