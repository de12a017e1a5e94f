#pragma once

#include "math/Math_FloatStream.h"

// A homogeneous point or the coefficients of a plane. It has the layout and
// stream form of Color; only the default differs: the point at the origin.
struct Vector4D {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    Vector4D() = default;
    Vector4D(float xValue, float yValue, float zValue, float wValue) : x(xValue), y(yValue), z(zValue), w(wValue) {}
};

inline Core::File& operator<<(Core::File& file, const Vector4D& v) {
    Math::WriteFloats(file, {v.x, v.y, v.z, v.w});
    return file;
}

inline Core::File& operator>>(Core::File& file, Vector4D& v) {
    Math::ReadFloats(file, v.x, v.y, v.z, v.w);
    return file;
}
