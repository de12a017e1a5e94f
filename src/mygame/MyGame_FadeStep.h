#pragma once

// One update of an exponential fade: the value covers the share dt * rate
// of its way to the target. A frame longer than 1 / rate would carry it
// past the target, and every later one back further still; such a step
// lands on the target instead. Shorter steps are computed exactly as
// written, so recorded runs replay to the same values.
template <class Real>
Real FadeStep(Real value, Real target, Real dt, Real rate) {
    const Real stepped = value + (target - value) * dt * rate;
    const bool passed = value < target ? stepped > target : stepped < target;
    return passed ? target : stepped;
}
