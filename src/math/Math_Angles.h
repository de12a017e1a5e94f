#pragma once

#include "math/Math_Vector2D.h"

namespace Math {

// The angle of a unit vector in degrees, in [0, 360]: counter-clockwise from
// +x, with y = 0 counted in the upper half.
float UnitVectorToDegrees(const Vector2D& v);

// The unit vector at an angle in degrees, counter-clockwise from +x.
// Components within 0.0001 of zero are snapped to zero, so that right angles
// give exact axis directions.
Vector2D DegreesToUnitVector(float degrees);

// acos of a cosine, rounded to float. Rounding can push a cosine just past
// +-1; it is clamped so that nearly parallel directions give 0 or pi, not a
// NaN. A NaN cosine stays NaN.
float ClampedAcos(float cosine);

}  // namespace Math
