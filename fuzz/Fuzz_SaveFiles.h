#pragma once

#include "Fuzz_Harness.h"

#include "os/OS_Path.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_SaveEnvelope.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

// Shared by the harnesses that load saved games into a running game: a game
// whose immediate save and load are open to the harness, its levels, and
// the save files of its own "Saves" folder.
namespace fuzz {

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

// A game past its first frame, in a folder of its own (see RunFolder),
// kept for the run.
inline SavingGame& MakeSavingGame(std::string_view folderPrefix) {
    os::SetExecutablePathForTesting(RunFolder(folderPrefix) + "/game");
    auto* made = TUN_NEW(SavingGame, TUN_NEW(TwoLayerFactory), Engine::StartupSettings{64, 48}, 0);
    made->AddReference();
    made->Frame();
    return *made;
}

inline std::string SavePath(const char* name) { return os::ExecutableDirectory() + "/Saves/" + name; }
inline Core::String EnginePath(const char* name) { return Tundra::Game::GetDirectory() + "\\Saves\\" + name; }

inline Bytes FileBytes(const char* name) {
    std::ifstream file(SavePath(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The save's payload: the file without its envelope.
inline Bytes PayloadOf(const char* name) {
    const Bytes file = FileBytes(name);
    return file.size() < Tundra::SaveEnvelope::kHeaderSize
               ? Bytes()
               : Bytes(file.begin() + Tundra::SaveEnvelope::kHeaderSize, file.end());
}

// The payload in its envelope, as a save writes it.
inline void WriteEnveloped(const char* name, const std::uint8_t* payload, std::size_t size) {
    const std::span<const std::uint8_t> bytes(payload, size);
    const std::vector<std::uint8_t> header = Tundra::SaveEnvelope::Header(bytes);
    std::remove(SavePath(name).c_str());
    std::ofstream file(SavePath(name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(payload), static_cast<std::streamsize>(size));
}

}  // namespace fuzz
