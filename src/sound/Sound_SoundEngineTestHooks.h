#pragma once

#include "sound/Sound_SoundEngine.h"

// Where the engine last placed the listener, and how often any engine did.
const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine);
int& GetListenerPositionCountForTesting();

// How often every source was stopped, for tests of the level change.
int& GetStopAllCountForTesting();
