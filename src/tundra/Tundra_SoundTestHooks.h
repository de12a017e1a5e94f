#pragma once

#include "tundra/Tundra_Sound.h"

namespace Tundra {

// What tests look at inside a sound object.
class SoundTestAccess {
public:
    static SoundData* GetSound(const Sound& sound) { return sound.m_sound; }
    static SoundSourceHandle GetSource(const Sound& sound) { return sound.m_source; }
};

}  // namespace Tundra
