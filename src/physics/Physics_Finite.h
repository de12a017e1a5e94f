#pragma once

#include "core/Core_File.h"
#include "physics/Physics_BodyState.h"

#include <cmath>

namespace Physics2D {

// The engine keeps every stored number finite: a single infinity or NaN
// would spread through the solver to every body it touches.
using Math::IsFinite;

inline bool IsFinite(const BodyState& s) {
    return IsFinite(s.position) && std::isfinite(s.orientation) && IsFinite(s.velocity) &&
           std::isfinite(s.angularVelocity);
}

// A stored value that must be finite: any other fails the stream.
inline void ReadFinite(Core::File& file, float& value) {
    file.ReadF32(value);
    if (!std::isfinite(value)) file.SetFailed();
}

inline void ReadFinite(Core::File& file, Vector2D& value) {
    ReadFinite(file, value.x);
    ReadFinite(file, value.y);
}

}  // namespace Physics2D
