#include "math/Math_Angles.h"

#include <numbers>

namespace Math {

float ClampedAcos(float cosine) {
    if (cosine > 1.0f) {
        cosine = 1.0f;
    } else if (cosine < -1.0f) {
        cosine = -1.0f;
    }
    return static_cast<float>(std::acos(static_cast<double>(cosine)));
}

float UnitVectorToDegrees(const Vector2D& v) {
    const float radians = ClampedAcos(v.x);
    const auto degrees = static_cast<float>(static_cast<double>(radians) * 180.0 / std::numbers::pi);
    return v.y < 0.0f ? 360.0f - degrees : degrees;
}

Vector2D DegreesToUnitVector(float degrees) {
    const auto radians = static_cast<float>(static_cast<double>(degrees) * std::numbers::pi / 180.0);
    auto snap = [](double component) {
        const auto value = static_cast<float>(component);
        return IsNegligible(value, kUnitSnap) ? 0.0f : value;
    };
    return {snap(std::cos(static_cast<double>(radians))), snap(std::sin(static_cast<double>(radians)))};
}

}  // namespace Math
