#pragma once

#include "core/Core_Object.h"
#include "physics/Physics_BodyState.h"

#include <functional>

namespace Physics2D {

// The rate of a body at a given state (its forces evaluated there).
using RateFunction = std::function<BodyRate(const BodyState&)>;

// A stateless integrator: one step of size h from a state. Bodies share the
// integrator objects of a kind; the kind codes are those the game passes
// when it gives an object a body.
class ODESolver : public Core::Object {
public:
    virtual BodyState Step(const BodyState& state, float h, const RateFunction& rate) const = 0;
};

enum class IntegrationKind : int { Euler = 0, Heun = 1, RungeKutta4 = 2, None = 3 };

// 1 Heun, 2 Runge-Kutta, 3 none, any other value Euler.
IntegrationKind IntegrationKindFromCode(int code);

// Explicit: the position advances with the velocity at the start of the step.
class ODESolverEuler : public ODESolver {
    TUN_DECLARE_CLASS(ODESolverEuler);
    BodyState Step(const BodyState& state, float h, const RateFunction& rate) const override;
};

// The average of the rates at the start and at the Euler estimate of the end.
class ODESolverHeun : public ODESolver {
    TUN_DECLARE_CLASS(ODESolverHeun);
    BodyState Step(const BodyState& state, float h, const RateFunction& rate) const override;
};

// The classic four-stage Runge-Kutta step.
class ODESolverRungeKuttaN4 : public ODESolver {
    TUN_DECLARE_CLASS(ODESolverRungeKuttaN4);
    BodyState Step(const BodyState& state, float h, const RateFunction& rate) const override;
};

// A new integrator of the kind; null for None.
ODESolver* CreateSolver(IntegrationKind kind);

}  // namespace Physics2D
