#include "Fuzz_RunningGame.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_Path.h"
#include "support/Tundra_ReplayProbe.h"
#include "tundra/Tundra_SaveFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Replay data files are read from disk: any bytes given as one to a running
// game must either be refused, the game going on from where it was, or be
// played to their end, after which the game is back where it was.
namespace {

// Remembers the state hash at every update's start of the level's work:
// right after a load, before anything of the update has moved.
struct ReplayGame : Tundra::Game {
    explicit ReplayGame(Tundra::LevelFactory* factory) : Game(factory, Engine::StartupSettings{64, 48}, 0) {}
    void PreUpdate(float) override { preUpdateHash = GetStateHash(); }
    std::uint64_t preUpdateHash = 0;
};

Tundra::Level* ProbeLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    level->AddLayer(TUN_NEW(Tundra::Layer, 0.0f));
    tundratest::AddReplayProbes(*level, *Tundra::Game::GetInstance());
    return level;
}

void WriteFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(os::ResolvePath(Tundra::SaveFolder::FilePath(name)), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

fuzz::Bytes ReadFile(const std::string& name) {
    std::ifstream in(os::ResolvePath(Tundra::SaveFolder::FilePath(name)), std::ios::binary);
    return fuzz::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Keys, the button and the cursor as they change over a recording.
void ScriptedInput(int frame) {
    os::headless::SetKey(os::VK_RIGHT, frame % 20 < 12);
    os::headless::SetKey(os::VK_UP, frame % 9 == 4);
    os::headless::SetKey(os::VK_LBUTTON, frame % 7 < 2);
    os::SetCursorPos(3 + frame * 5 % 60, 10 + frame % 4);
}

// A game of probes in a folder of its own, whose recording "fz" is made of
// the given number of updates.
ReplayGame& RecordedGame(int frames) {
    static const std::string folder =
        (std::filesystem::temp_directory_path() / ("tundra-fuzz-replay-" + std::to_string(::getpid()))).string();
    // Registered once the folder's name is made, so that it runs before the name goes.
    [[maybe_unused]] static const bool removedAtExit = (std::atexit([] { std::filesystem::remove_all(folder); }), true);
    std::filesystem::create_directories(folder);
    os::SetExecutablePathForTesting(folder + "/Emberline");
    static ReplayGame* game = [] {
        auto* made = TUN_NEW(ReplayGame, TUN_NEW(fuzz::OneLevelFactory<ProbeLevel>));
        made->AddReference();
        made->Frame();
        return made;
    }();
    game->ReplayRecordingStart("fz");
    for (int frame = 0; frame < frames; ++frame) {
        ScriptedInput(frame);
        fuzz::Step(*game, 1);
    }
    game->ReplayRecordingStop();
    os::headless::ResetKeys();
    fuzz::Step(*game, 1);
    return *game;
}

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ReplayGame& game = RecordedGame(3);
    WriteFile("fz_replayData", data, size);
    const std::uint64_t before = game.GetStateHash();
    Core::testhooks::StartCapturingErrors();
    game.ReplayStart("fz");
    fuzz::Step(game, 1);
    const bool refused = !Core::testhooks::StopCapturingErrors().empty();
    if (refused && game.preUpdateHash != before) {
        Fail("a refused replay changed the game");
    }
    // Each frame takes at least 14 bytes of the file.
    for (std::size_t frame = 0; game.IsReplayPlaying(); ++frame) {
        if (frame > size / 14) {
            Fail("a replay played more frames than its file holds");
        }
        fuzz::Step(game, 1);
    }
    if (!refused) {
        fuzz::Step(game, 1);
        if (game.preUpdateHash != before) {
            Fail("a replay did not come back to where it started");
        }
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    RecordedGame(60);
    seeds.Add("recording", ReadFile("fz_replayData"));
    RecordedGame(1);
    seeds.Add("no_frames", ReadFile("fz_replayData"));
}
