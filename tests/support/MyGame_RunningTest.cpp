#include "support/MyGame_RunningTest.h"

#include <utility>

namespace mygametest {
namespace {

FrameStepper& RunningStepper() {
    static FrameStepper stepper;
    return stepper;
}

}  // namespace

void SetRunningTestStepper(FrameStepper stepper) { RunningStepper() = std::move(stepper); }

void StepRunningTest(int frames) {
    if (RunningStepper()) {
        RunningStepper()(frames);
    }
}

}  // namespace mygametest
