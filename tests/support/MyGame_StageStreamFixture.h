#pragma once

#include "support/MyGame_StageFixture.h"
#include "support/MyGame_StageSaves.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A stage saved and loaded through the game's own requests, in a saves
// folder of the test's own.
namespace mygametest {

class StageStreamFixture : public StageFixture {
protected:
    // Saved now, then played on: the state saved, and the states after
    // each next frame (the save's own frame first).
    std::vector<std::uint64_t> SaveAndPlayOn(const char* name, int frames);
    // A fresh game of the stage (seeded apart) loads the save and plays on
    // through the hashes the save's game gave.
    void ExpectLoadPlaysOn(const char* name, std::uint32_t stage, const std::vector<std::uint64_t>& uninterrupted);
    // Saved in the frame after the save's own, and again after a load of
    // the first save has played the same frame: the same bytes (a stage's
    // or the title level's). A load starts the music's track again, so the
    // music is stopped first.
    void ExpectSaveLoadSaveGivesTheSameBytes();
    // Asks for the load and steps until the game holds another level.
    void Load(const char* name);
    void Save(const char* name);
    // Cut in `cuts` places and changed `mutations` times (a few bits
    // each), and sealed again so that only the stream can tell, the payload
    // either loads and plays, or is refused and the game plays on.
    void LoadCutsAndMutations(std::span<const std::uint8_t> payload, std::size_t cuts, int mutations);

    StageSaves m_saves;
};

}  // namespace mygametest
