#pragma once

#include <string>
#include <vector>

#include "os/OS_Path.h"

// The sound files the game loads from "Resources/Sounds" beside its program,
// and how each is played.
namespace testsupport {

// Below this many bytes of 16-bit samples the engine loads a sound whole.
constexpr long kStreamThreshold = 262144;

enum class SoundKind { Effect, Loop, Music };

struct GameSound {
    std::string name;
    SoundKind kind;
};

inline std::vector<GameSound> GameSounds() {
    std::vector<GameSound> sounds = {
        {"buttonHover.ogg", SoundKind::Effect},  {"playerHit.ogg", SoundKind::Effect},
        {"playerDeath.ogg", SoundKind::Effect},  {"playerCollect.ogg", SoundKind::Effect},
        {"weaponStart0.ogg", SoundKind::Effect}, {"weaponStart1.ogg", SoundKind::Effect},
        {"weaponStart2.ogg", SoundKind::Loop},   {"weaponStart3.ogg", SoundKind::Loop},
        {"weaponEnd2.ogg", SoundKind::Effect},   {"weaponEnd3.ogg", SoundKind::Effect},
    };
    for (int n = 1; n <= 9; ++n) {
        sounds.push_back({"music (" + std::to_string(n) + ").ogg", SoundKind::Music});
    }
    for (int n = 0; n <= 2; ++n) {
        sounds.push_back({"bgm" + std::to_string(n) + ".ogg", SoundKind::Music});
    }
    return sounds;
}

inline std::vector<GameSound> GameSoundsOf(SoundKind kind) {
    std::vector<GameSound> sounds = GameSounds();
    std::erase_if(sounds, [kind](const GameSound& sound) { return sound.kind != kind; });
    return sounds;
}

// The native path of a generated sound beside the running test program.
inline std::string GeneratedSoundPath(const std::string& name) {
    return os::ExecutableDirectory() + "/Resources/Sounds/" + name;
}

}  // namespace testsupport
