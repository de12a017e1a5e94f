#pragma once

#include "core/Core_Clock.h"
#include "mygame/MyGame.h"

// Frames of a running game for the harnesses that play one: 1/60 s each on
// a clock of the harness's own, so that every frame updates as a real one
// would.
namespace fuzz {

inline double& HarnessNow() {
    static double now = 0.0;
    return now;
}

inline double HarnessClock() { return HarnessNow(); }

// From now on the engine's clock is the harness's.
inline void UseHarnessClock() { Core::SetClockFunction(&HarnessClock); }

inline void Frames(MyGame& game, int count) {
    for (int frame = 0; frame < count; ++frame) {
        HarnessNow() += 1000.0 / 60.0;
        game.Frame();
    }
}

}  // namespace fuzz
