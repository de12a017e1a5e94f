#include "Fuzz_RunningGame.h"

#include "os/OS_Path.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_SaveEnvelope.h"
#include "tundra/Tundra_SaveScene.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

// A saved game's payload (the generators, then the game state stream), put
// in its envelope as a save writes it, loads into a running game of every
// framework class: either it loads, runs and draws a few frames, or it is
// refused and the running game is left as it was (its state hash the same).
// Either way the game then goes back to its own saved state, which lets go
// of what was loaded.
namespace {

struct SavingGame : Tundra::Game {
    using Game::Game;
    using Game::LoadStateFrom;
    using Game::SaveStateTo;
};

// Two levels of two layers, so that a level change can be pending.
struct TwoLayerFactory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 2; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        auto* level = TUN_NEW(Tundra::Level);
        level->AddLayer(TUN_NEW(Tundra::Layer, 0.0f));
        level->AddLayer(TUN_NEW(Tundra::Layer, 1.0f));
        return level;
    }
};

std::string SavePath(const char* name) { return os::ExecutableDirectory() + "/Saves/" + name; }
Core::String EnginePath(const char* name) { return Tundra::Game::GetDirectory() + "\\Saves\\" + name; }

// One game for the whole run, in a folder of its own, with its state saved
// as "base".
SavingGame& RunningGame() {
    static SavingGame* game = [] {
        char folder[] = "/tmp/fuzz-saved-game-XXXXXX";
        if (::mkdtemp(folder) == nullptr) {
            std::abort();
        }
        os::SetExecutablePathForTesting(std::string(folder) + "/game");
        auto* made = TUN_NEW(SavingGame, TUN_NEW(TwoLayerFactory), Engine::StartupSettings{64, 48}, 0);
        made->AddReference();
        made->Frame();
        tundratest::FillSaveScene(*made);
        fuzz::Step(*made, 4);
        if (!made->SaveStateTo(EnginePath("base"))) {
            std::abort();
        }
        return made;
    }();
    return *game;
}

fuzz::Bytes FileBytes(const char* name) {
    std::ifstream file(SavePath(name), std::ios::binary);
    return fuzz::Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteEnveloped(const char* name, const std::uint8_t* payload, std::size_t size) {
    const std::span<const std::uint8_t> bytes(payload, size);
    const std::vector<std::uint8_t> header = Tundra::SaveEnvelope::Header(bytes);
    std::remove(SavePath(name).c_str());
    std::ofstream file(SavePath(name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(payload), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SavingGame& game = RunningGame();
    WriteEnveloped("input", data, size);
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
    const fuzz::Bytes base = FileBytes("base");
    seeds.Add("scene", fuzz::Bytes(base.begin() + Tundra::SaveEnvelope::kHeaderSize, base.end()));
    game.GoToLevel(1);
    game.SaveStateTo(EnginePath("changing"));
    const fuzz::Bytes changing = FileBytes("changing");
    seeds.Add("level_change_pending", fuzz::Bytes(changing.begin() + Tundra::SaveEnvelope::kHeaderSize, changing.end()));
}
