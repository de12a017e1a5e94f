#pragma once

#include "math/Math_Tolerance.h"
#include "math/Math_Vector3D.h"

// A plane as a reference point, a normal and the coefficients of
// a*x + b*y + c*z + d = 0. The normal equals (a, b, c) after either setter; it
// is unit length only when the caller normalised the coefficients.
struct Plane {
    Vector3D point;
    Vector3D normal;
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;

    // The reference point is put on the axis of the first of c, b, a that is
    // clearly non-zero; when all three are near zero it is kept.
    void SetFromCoefficients(float aValue, float bValue, float cValue, float dValue) {
        a = aValue;
        b = bValue;
        c = cValue;
        d = dValue;
        normal = {a, b, c};
        auto clearlyNonZero = [](float value) { return !Math::IsNegligible(value, Math::kTolerance); };
        if (clearlyNonZero(c)) {
            point = {0.0f, 0.0f, -d / c};
        } else if (clearlyNonZero(b)) {
            point = {0.0f, -d / b, 0.0f};
        } else if (clearlyNonZero(a)) {
            point = {-d / a, 0.0f, 0.0f};
        }
    }

    void SetFromPointNormal(const Vector3D& pointValue, const Vector3D& normalValue) {
        point = pointValue;
        normal = normalValue;
        a = normal.x;
        b = normal.y;
        c = normal.z;
        d = -point.Dot(normal);
    }
};

// Points within the on-plane distance of the reference point count as on the
// plane whatever their side; otherwise the stored normal decides.
inline Math::ClassifyResult Vector3D::ClassifyToPlane(const Plane& plane) const {
    const Vector3D offset = *this - plane.point;
    const float distance = offset.Length();
    if (Math::IsNegligible(distance, Math::kOnPlaneTolerance)) {
        return Math::ClassifyIntersecting;
    }
    const float side = plane.normal.Dot(offset);
    if (side > 0.0f) {
        return Math::ClassifyFront;
    }
    if (side < 0.0f) {
        return Math::ClassifyBehind;
    }
    return Math::ClassifyIntersecting;
}
