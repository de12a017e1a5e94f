#pragma once

#include "sound/Sound_SoundEngine.h"
#include "support/MovingClock.h"

#include <cstdlib>

namespace fuzz {

// A sound engine with its streaming thread on OpenAL Soft's null backend,
// made on the first call and kept for the process.
inline SoundEngine& NullAudioEngine() {
    static SoundEngine* engine = [] {
        setenv("ALSOFT_DRIVERS", "null", 1);
        // The streaming thread sleeps on the Core clock, which stands still
        // on the headless backend.
        static testsupport::MovingClock clock;
        auto* made = new SoundEngine;
        made->Initialize(-1, 1);
        return made;
    }();
    return *engine;
}

}  // namespace fuzz
