#include "physics/Physics_ODESolver.h"

namespace Physics2D {

namespace {

// a + b x s, field by field.
BodyRate Combine(const BodyRate& a, const BodyRate& b, float s) {
    return {a.displacement + b.displacement * s, a.turn + b.turn * s, a.acceleration + b.acceleration * s,
            a.angularAcceleration + b.angularAcceleration * s};
}

}  // namespace

IntegrationKind IntegrationKindFromCode(int code) {
    switch (code) {
        case 1: return IntegrationKind::Heun;
        case 2: return IntegrationKind::RungeKutta4;
        case 3: return IntegrationKind::None;
        default: return IntegrationKind::Euler;
    }
}

BodyState ODESolverEuler::Step(const BodyState& state, float h, const RateFunction& rate) const {
    return Advance(state, rate(state), h);
}

BodyState ODESolverHeun::Step(const BodyState& state, float h, const RateFunction& rate) const {
    const BodyRate start = rate(state);
    const BodyRate end = rate(Advance(state, start, h));
    return Advance(state, Combine(start, end, 1.0f), h * 0.5f);
}

BodyState ODESolverRungeKuttaN4::Step(const BodyState& state, float h, const RateFunction& rate) const {
    const float half = h * 0.5f;
    const BodyRate k1 = rate(state);
    const BodyRate k2 = rate(Advance(state, k1, half));
    const BodyRate k3 = rate(Advance(state, k2, half));
    const BodyRate k4 = rate(Advance(state, k3, h));
    const BodyRate sum = Combine(Combine(Combine(k1, k2, 2.0f), k3, 2.0f), k4, 1.0f);
    return Advance(state, sum, h / 6.0f);
}

ODESolver* CreateSolver(IntegrationKind kind) {
    switch (kind) {
        case IntegrationKind::Heun: return TUN_NEW(ODESolverHeun);
        case IntegrationKind::RungeKutta4: return TUN_NEW(ODESolverRungeKuttaN4);
        case IntegrationKind::None: return nullptr;
        case IntegrationKind::Euler: break;
    }
    return TUN_NEW(ODESolverEuler);
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::ODESolverEuler)
TUN_DEFINE_CLASS(Physics2D::ODESolverHeun)
TUN_DEFINE_CLASS(Physics2D::ODESolverRungeKuttaN4)
