#pragma once

#include <cmath>

namespace Math {

// Below this a length, determinant, dot or cross product counts as zero:
// normalising, matrix inverses, parallel and perpendicular tests.
inline constexpr float kTolerance = 0.0005f;

// A point this close to a plane's reference point lies on the plane.
inline constexpr float kOnPlaneTolerance = 0.05f;

// Unit-vector components this close to zero are snapped to zero, so that
// right angles give exact axis directions.
inline constexpr float kUnitSnap = 0.0001f;

// True when |value| < tolerance, the ends excluded; false for a NaN. Too
// small a length, determinant or distance to count.
inline bool IsNegligible(float value, float tolerance) { return std::fabs(value) < tolerance; }

// True when value lies in [centre - tolerance, centre + tolerance], ends included.
inline bool IsWithin(float value, float centre, float tolerance) {
    return centre - tolerance <= value && value <= centre + tolerance;
}

}  // namespace Math
