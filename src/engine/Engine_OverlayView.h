#pragma once

#include "math/Math_Vector2D.h"

#include <cmath>
#include <cstdint>
#include <numbers>

// The overlay pass sees the HUD in perspective, 45 degrees high, from in
// front of the window's centre, one unit per window pixel at z = 0: an
// object nearer the eye is drawn larger and farther from the centre.
namespace Engine {

inline constexpr float kOverlayFieldOfView = 45.0f;

// How far the eye stands from the plane z = 0 for a window of the height.
inline double OverlayEyeDistance(std::int32_t windowHeight) {
    return static_cast<double>(windowHeight) / (2.0 * std::tan(std::numbers::pi / 8.0));
}

// Where an overlay object at depth z is drawn over the window point (both
// counted from the window's centre).
inline Vector2D OverlayPointAtDepth(const Vector2D& windowPoint, float z, std::int32_t windowHeight) {
    const double distance = OverlayEyeDistance(windowHeight);
    const auto share = static_cast<float>((distance - z) / distance);
    return {windowPoint.x * share, windowPoint.y * share};
}

}  // namespace Engine
