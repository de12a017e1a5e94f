#include "Fuzz_RunningGame.h"
#include "Fuzz_SaveFiles.h"

#include "tundra/Tundra_SaveScene.h"

#include <cstdio>
#include <cstdlib>

// A saved game's payload (the generators, then the game state stream), put
// in its envelope as a save writes it, loads into a running game of every
// framework class: either it loads, runs and draws a few frames, or it is
// refused and the running game is left as it was (its state hash the same).
// Either way the game then goes back to its own saved state, which lets go
// of what was loaded.
namespace {

using fuzz::EnginePath;
using fuzz::SavingGame;

// One game for the whole run, with its state saved as "base".
SavingGame& RunningGame() {
    static SavingGame* game = [] {
        SavingGame* made = &fuzz::MakeSavingGame("fuzz-saved-game");
        tundratest::FillSaveScene(*made);
        fuzz::Step(*made, 4);
        if (!made->SaveStateTo(EnginePath("base"))) {
            std::abort();
        }
        return made;
    }();
    return *game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SavingGame& game = RunningGame();
    fuzz::WriteEnveloped("input", data, size);
    const std::uint64_t before = game.GetStateHash();
    if (game.LoadStateFrom(EnginePath("input"))) {
        fuzz::Step(game, 3);
    } else if (game.GetStateHash() != before) {
        std::fprintf(stderr, "a refused save changed the running game\n");
        std::abort();
    }
    if (!game.LoadStateFrom(EnginePath("base"))) {
        std::abort();
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    SavingGame& game = RunningGame();
    seeds.Add("scene", fuzz::PayloadOf("base"));
    game.GoToLevel(1);
    game.SaveStateTo(EnginePath("changing"));
    seeds.Add("level_change_pending", fuzz::PayloadOf("changing"));
}
