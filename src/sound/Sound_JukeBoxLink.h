#pragma once

class SoundEngine;

namespace Tundra {

// What the jukebox needs of the game above the sound layer: the running
// game's sound engine (null when there is none) and whether the game is
// writing its state hash. The game installs it at start-up; without it the
// jukebox has no engine and is silent.
struct JukeBoxLink {
    SoundEngine* (*engine)();
    bool (*writingStateHash)();
};

class JukeBoxLinkRegistration {
public:
    explicit JukeBoxLinkRegistration(const JukeBoxLink& link);
};

}  // namespace Tundra
