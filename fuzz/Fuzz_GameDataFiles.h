#pragma once

#include "Fuzz_Harness.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_DataFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Shared by the harnesses of the game's own files: each input is the file
// in a data folder of the run's own, read by the game as the program makes
// it, which runs a few frames and is released.
namespace fuzz {

inline void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "game data file: %s\n", what);
        std::abort();
    }
}

// XDG_DATA_HOME for the run; the game's files go to its "Emberline".
inline const std::filesystem::path& DataHome() {
    static const std::filesystem::path folder = [] {
        const std::string made = RunFolder("fuzz-emberline");
        ::setenv("XDG_DATA_HOME", made.c_str(), 1);
        ::unsetenv("USERPROFILE");
        // Each input makes a game, which opens a sound device: the null
        // backend opens without a line on stderr.
        ::setenv("ALSOFT_DRIVERS", "null", 1);
        return std::filesystem::path(made);
    }();
    return folder;
}

inline std::filesystem::path GameFile(const std::string& name) { return DataHome() / "Emberline" / name; }

inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

inline void WriteGameFile(const std::string& name, const std::string_view bytes) {
    std::ofstream(GameFile(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes the bytes as the named file beside the other file as the game
// writes it, makes the game, lets inspect look at it once loaded, runs three
// frames and releases it.
template <class Inspect>
void RunGameOver(const std::string& name, const Bytes& bytes, const std::string& other, const std::string& otherText,
                 const Inspect& inspect) {
    std::filesystem::remove_all(DataHome() / "Emberline");
    std::filesystem::create_directories(DataHome() / "Emberline");
    WriteGameFile(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    WriteGameFile(other, otherText);
    Core::RefPtr<MyGame> game = MakeGame(MakeGameContent());
    Check(game != nullptr, "no game");
    inspect(*game);
    for (int frame = 0; frame < 3; ++frame) {
        game->Frame();
    }
    game->Shutdown();
}

// A damaged file is kept aside byte for byte and replaced by the written
// form of what was read; an undamaged one stays as it was.
inline void CheckKeptAside(const std::string& name, const Bytes& bytes, bool damaged, const std::string& written) {
    const std::string original(bytes.begin(), bytes.end());
    const bool keptAside = std::filesystem::exists(GameFile(name + ".damaged"));
    Check(keptAside == (damaged || bytes.size() > kMaxDataFileBytes), "damage not kept aside");
    Check(FileText(GameFile(keptAside ? name + ".damaged" : name)) == original, "the read file's bytes changed");
    Check(!keptAside || FileText(GameFile(name)) == written, "no repaired file");
}

}  // namespace fuzz
