#pragma once

#include "core/Core_RefPtr.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_CompositeBezierCurve.h"

#include <cstdint>

namespace Core {
class File;
}

// Moves a point along a composite Bezier curve at constant speed: t is the
// normalised arc length, advanced by distance / the curve's length.
struct PathFollower {
    // Shared between the clones of the object that follows it.
    Core::RefPtr<Tundra::CompositeBezierCurve> curve;
    // 1: a stopped follower reports the reversed direction.
    std::int32_t mode = 0;
    float t = 0.0f;
    // World units a second along the curve; negative runs backwards.
    float speed = 0.0f;
    // Wraps t around the ends instead of clamping it.
    std::uint8_t loop = 1;

    // Moves t by speed * dt and writes the point and the direction there
    // (direction not normalised). Without a curve, or with one of length 0
    // (a refused path file), nothing happens and the outputs stay as given.
    void Advance(float dt, Vector2D& position, Vector2D& direction);
    // A curve of some length to follow.
    bool HasPath() const;

    // The curve as an object reference, then mode, t, speed and loop.
    void Save(Core::File& file) const;
    // A bad value fails the file and leaves the follower unchanged.
    void Load(Core::File& file);
};
