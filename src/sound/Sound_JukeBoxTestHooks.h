#pragma once

class SoundEngine;

namespace Tundra {

// How often any jukebox was updated and stopped, for tests of the frame order.
struct JukeBoxCalls {
    int updates = 0;
    int stops = 0;
};
JukeBoxCalls& GetJukeBoxCallsForTesting();

// The engine every jukebox uses instead of the game's; null restores the game's.
void SetJukeBoxEngineForTesting(SoundEngine* engine);

}  // namespace Tundra
