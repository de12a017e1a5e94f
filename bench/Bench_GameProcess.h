#pragma once

#include <cstdlib>
#include <string>

namespace bench {

// Once per process: the game's runs draw on SDL's offscreen driver, play on
// OpenAL Soft's null backend and keep their settings and profile in a fresh
// folder of their own, never the user's.
inline void PrepareGameProcess() {
    static const bool prepared = [] {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        char folder[] = "/tmp/bench-emberline-XXXXXX";
        const std::string home = ::mkdtemp(folder) != nullptr ? folder : "/tmp";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        return true;
    }();
    (void)prepared;
}

}  // namespace bench
