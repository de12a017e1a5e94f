#pragma once

#include "math/Math_Vector2D.h"

namespace Physics2D {

// What the integrators advance. The position is in world units and moves by
// velocity x scale; velocities and accelerations are in physics units; the
// orientation is in degrees counter-clockwise and turns by the angular
// velocity in degrees per second.
struct BodyState {
    Vector2D position;
    float orientation = 0.0f;
    Vector2D velocity;
    float angularVelocity = 0.0f;
};

// The time derivative of a BodyState.
struct BodyRate {
    Vector2D displacement;
    float turn = 0.0f;
    Vector2D acceleration;
    float angularAcceleration = 0.0f;
};

// state + rate x h, field by field.
inline BodyState Advance(const BodyState& state, const BodyRate& rate, float h) {
    return {state.position + rate.displacement * h, state.orientation + rate.turn * h,
            state.velocity + rate.acceleration * h, state.angularVelocity + rate.angularAcceleration * h};
}

}  // namespace Physics2D
