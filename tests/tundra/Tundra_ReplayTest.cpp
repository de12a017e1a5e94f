#include "support/Tundra_NetworkRoles.h"
#include "support/Tundra_ReplayProbe.h"
#include "Tundra_SaveLoadTest.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "os/OS_ByteOrder.h"
#include "os/OS_Cursor.h"
#include "os/OS_FileTestHooks.h"
#include "os/OS_HeadlessInput.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

using namespace tundratest;

namespace {

// One scripted frame of input: keys held, the button held, the cursor.
struct ScriptedFrame {
    bool right, left, up, button;
    os::Point cursor;
};

ScriptedFrame ScriptedInput(int frame) {
    return {frame % 90 < 50, frame % 90 >= 60, frame % 45 == 20, frame % 37 < 2,
            {5 + (frame / 6) * 3 % 50, 4 + (frame / 4) % 11}};
}

// Frame lengths that vary from frame to frame, in milliseconds.
double FrameMs(int frame) { return 9.0 + (frame * 7) % 13; }

class ReplayTest : public SaveLoadTest {
protected:
    void SetUp() override {
        SaveLoadTest::SetUp();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        SeedRandom(7);
        Core::GameRandomGenerator().Seed(11);
        m_factory->layers = 1;
        m_factory->fill = [this](Tundra::Level& level, std::uint32_t) { AddReplayProbes(level, *m_game); };
        // The clock moves during each update too: a load restarts the frame
        // time, and a frame of 0 ms would skip the next update.
        OnRecord() = [this](const std::string& entry) {
            if (entry == "pre update") {
                m_preUpdateHash = m_game->GetStateHash();
                g_now += 1.0;
            }
        };
    }
    void TearDown() override {
        SaveLoadTest::TearDown();
        os::headless::ResetKeys();
    }

    void Apply(const ScriptedFrame& input) {
        os::headless::SetKey(os::VK_RIGHT, input.right);
        os::headless::SetKey(os::VK_LEFT, input.left);
        os::headless::SetKey(os::VK_UP, input.up);
        os::headless::SetKey(os::VK_LBUTTON, input.button);
        MoveCursor(input.cursor);
    }
    void MoveCursor(os::Point client) {
        os::ClientToScreen(m_game->GetWindow().GetHandle(), &client);
        os::SetCursorPos(client.x, client.y);
    }
    // Frames with the scripted input from the given frame on; the hash after each.
    std::vector<std::uint64_t> Play(int frames, int from = 0) {
        std::vector<std::uint64_t> hashes;
        for (int frame = from; frame < from + frames; ++frame) {
            Apply(ScriptedInput(frame));
            Step(1, FrameMs(frame));
            hashes.push_back(m_game->GetStateHash());
        }
        return hashes;
    }
    // Frames with the input left alone, at another pace than the recording's.
    std::vector<std::uint64_t> Watch(int frames) {
        std::vector<std::uint64_t> hashes;
        for (int frame = 0; frame < frames; ++frame) {
            Step(1, 25.0);
            hashes.push_back(m_game->GetStateHash());
        }
        return hashes;
    }
    // A recording of the scripted input over the given number of updates,
    // with a key and the button held since before it starts; the hash after
    // each update.
    std::vector<std::uint64_t> Record(const char* name, int frames) {
        // The devices' first polls count only once nothing is held.
        Step(2);
        Play(2);
        const Core::RefPtr<Tundra::Level> live = m_game->GetCurrentLevel();
        m_game->ReplayRecordingStart(name);
        std::vector<std::uint64_t> hashes = Play(frames);
        // It went on from its starting state, loaded back.
        EXPECT_NE(m_game->GetCurrentLevel(), live.Get());
        m_game->ReplayRecordingStop();
        // The data file is written by the next update; the input is let go
        // and the cursor put elsewhere, which the replay must not see.
        os::headless::ResetKeys();
        MoveCursor({30, 30});
        Step(1);
        return hashes;
    }
    std::uint64_t m_preUpdateHash = 0;
};

std::uint32_t CountOf(const FileBytes& data) { return data.size() < 4 ? 0 : os::LoadU32LE(data.data()); }

TEST_F(ReplayTest, AReplayRetracesTheRecordingFrameByFrameAndReturnsToWhereItStarted) {
    Start();
    constexpr int kFrames = 300;
    const std::vector<std::uint64_t> recorded = Record("run", kFrames);
    EXPECT_EQ(CountOf(ReadBytes("run_replayData")), kFrames - 1u);
    // Every scripted reaction took place: the recording is not a still life.
    EXPECT_EQ(std::set(recorded.begin(), recorded.end()).size(), recorded.size());

    for (const bool stopKey : {false, true}) {
        const std::uint64_t before = m_game->GetStateHash();
        m_game->ReplayStart("run");
        const int played = stopKey ? 120 : kFrames - 1;
        const std::vector<std::uint64_t> replayed = Watch(played);
        EXPECT_TRUE(std::equal(replayed.begin(), replayed.end(), recorded.begin())) << stopKey;
        if (stopKey) {
            EXPECT_TRUE(m_game->IsReplayPlaying());
            os::headless::SetKey(os::VK_ESCAPE, true);
            Step(1);
            os::headless::SetKey(os::VK_ESCAPE, false);
        }
        EXPECT_FALSE(m_game->IsReplayPlaying());
        // The next update loads the state the replay started from.
        Step(1);
        EXPECT_EQ(m_preUpdateHash, before) << stopKey;
    }
}

// What a replay retraces does not hang on where objects are in memory: the
// scene of every framework class replays alike after the heap was stirred.
TEST_F(ReplayTest, EveryFrameworkClassReplaysAlikeWhereverItLives) {
    m_factory->layers = 2;
    Start();
    FillSaveScene(*m_game);
    const std::vector<std::uint64_t> recorded = Record("all", 120);
    std::vector<std::unique_ptr<char[]>> stirred;
    for (std::size_t size = 8; size < 4096; size = size * 5 / 3 + 8) {
        stirred.emplace_back(new char[size]);
    }
    m_game->ReplayStart("all");
    const std::vector<std::uint64_t> replayed = Watch(119);
    EXPECT_TRUE(std::equal(replayed.begin(), replayed.end(), recorded.begin()));
}

// Cross-fading music advances with the game's time, not the device's: a
// recorded play with effects and shuffled, repeating music replays alike.
TEST_F(ReplayTest, APlayWithEffectsAndCrossFadingMusicReplaysAlike) {
    m_factory->layers = 2;
    Start();
    FillSaveScene(*m_game);
    const std::filesystem::path folder =
        std::filesystem::path(std::string(Tundra::Game::GetDirectory())) / "Resources" / "Sounds";
    std::vector<Core::String> tracks;
    for (const double frequency : {330.0, 440.0, 550.0}) {
        const std::string name = "track" + std::to_string(static_cast<int>(frequency)) + ".wav";
        std::ofstream(folder / name, std::ios::binary)
            << testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(frequency, 0.4, 1, 22050)));
        tracks.push_back(Tundra::Game::GetDirectory() + "\\Resources\\Sounds\\" + name.c_str());
    }
    auto* jukebox = TUN_NEW(Tundra::JukeBox, tracks);
    jukebox->SetShuffle(true);
    jukebox->SetRepeat(true);
    jukebox->SetFadeTime(0.15f);
    m_game->GetCurrentLevel()->SetJukeBox(jukebox);
    ASSERT_TRUE(jukebox->PlayMusic(-1));
    const std::vector<std::uint64_t> recorded = Record("music", 150);
    m_game->ReplayStart("music");
    const std::vector<std::uint64_t> replayed = Watch(149);
    EXPECT_TRUE(std::equal(replayed.begin(), replayed.end(), recorded.begin()));
}

// A replay without frames ends at once; one whose files are damaged or
// missing does not start: either way the game is left as it was.
TEST_F(ReplayTest, ReplaysThatEndAtOnceOrDoNotStartLeaveTheGameAsItWas) {
    Start();
    Record("one", 1);
    EXPECT_EQ(ReadBytes("one_replayData"), (FileBytes{0, 0, 0, 0}));
    Record("run", 40);
    const FileBytes data = ReadBytes("run_replayData");
    WriteBytes("bad_gameSaved", ReadBytes("run_gameSaved"));
    FileBytes trailing = data, badPresence = data;
    trailing.push_back(0);
    badPresence[4] = 2;
    const auto prefix = [&data](std::size_t size) { return FileBytes(data.begin(), data.begin() + size); };
    // Data file (none: missing), what the log gives as the reason.
    const std::pair<std::optional<FileBytes>, const char*> damaged[] = {
        {std::nullopt, "missing"},      {prefix(0), "truncated"},        {prefix(3), "truncated"},
        {prefix(5), "count larger than the file"},
        {prefix(data.size() / 2), "count larger than the file"}, {prefix(data.size() - 1), "truncated"},
        {trailing, "trailing bytes"}, {badPresence, "presence byte not 0 or 1"}};
    for (const auto& [bytes, reason] : damaged) {
        std::filesystem::remove(SavePath("bad_replayData"));
        std::filesystem::remove(SavePath("gameSaved_OnReplayStart"));
        if (bytes) {
            WriteBytes("bad_replayData", *bytes);
        }
        const std::uint64_t before = m_game->GetStateHash();
        Core::testhooks::StartCapturingErrors();
        m_game->ReplayStart("bad");
        Step(1);
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_FALSE(m_game->IsReplayPlaying()) << reason;
        EXPECT_EQ(m_preUpdateHash, before) << reason;
        EXPECT_TRUE(ReadBytes("gameSaved_OnReplayStart").empty()) << reason;
        ASSERT_EQ(errors.size(), 1u) << reason;
        EXPECT_NE(errors[0].find("bad_replayData"), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(reason), std::string::npos) << errors[0];
    }
    // The one-frame recording wrote no frame: its replay loads its start and comes back.
    const std::uint64_t before = m_game->GetStateHash();
    m_game->ReplayStart("one");
    Step(1);
    EXPECT_FALSE(m_game->IsReplayPlaying());
    Step(1);
    EXPECT_EQ(m_preUpdateHash, before);
    // Where the state to come back to cannot be written, an older one is not
    // come back to: the replay does not start.
    Play(5);
    const std::uint64_t unsaved = m_game->GetStateHash();
    os::testhooks::FailReplacingFileCommits(1);
    m_game->ReplayStart("run");
    Step(1);
    EXPECT_FALSE(m_game->IsReplayPlaying());
    EXPECT_EQ(m_preUpdateHash, unsaved);
}

// A replay watched during a recording pauses it; the recording's frames stay
// its own, and a second start while a replay plays changes nothing.
TEST_F(ReplayTest, AReplayWatchedDuringARecordingLeavesTheRecordingWhole) {
    Start();
    Record("a", 20);
    m_game->ReplayRecordingStart("b");
    std::vector<std::uint64_t> recorded = Play(10);
    const std::uint64_t paused = m_game->GetStateHash();
    m_game->ReplayStart("a");
    Watch(5);
    m_game->ReplayStart("a");
    Watch(14);
    ASSERT_FALSE(m_game->IsReplayPlaying());
    Step(1);
    EXPECT_EQ(m_preUpdateHash, paused);
    EXPECT_TRUE(m_game->IsReplayRecording());
    recorded.push_back(m_game->GetStateHash());
    const std::vector<std::uint64_t> resumed = Play(9, 10);
    recorded.insert(recorded.end(), resumed.begin(), resumed.end());
    m_game->ReplayRecordingStop();
    Play(1);
    EXPECT_EQ(CountOf(ReadBytes("b_replayData")), 19u);
    m_game->ReplayStart("b");
    const std::vector<std::uint64_t> replayed = Watch(19);
    EXPECT_TRUE(std::equal(replayed.begin(), replayed.end(), recorded.begin()));
}

// Names that are not plain file names are refused; a network game records
// frames but neither saves their start nor writes them, and plays nothing.
TEST_F(ReplayTest, RefusedNamesAndNetworkGamesWriteNothing) {
    Start();
    Core::testhooks::StartCapturingErrors();
    for (const char* name : {"", "..\\x", "a/b", "x\n"}) {
        m_game->ReplayRecordingStart(name);
        m_game->ReplayStart(name);
        EXPECT_FALSE(m_game->IsReplayRecording() || m_game->IsReplayPlaying()) << name;
    }
    EXPECT_EQ(Core::testhooks::StopCapturingErrors().size(), 8u);
    testsupport::SetNetworkRole(testsupport::NetworkRole::Client);
    m_game->ReplayRecordingStart("net");
    Play(3);
    EXPECT_TRUE(m_game->IsReplayRecording());
    m_game->ReplayRecordingStop();
    m_game->ReplayStart("net");
    Play(1);
    EXPECT_FALSE(m_game->IsReplayRecording() || m_game->IsReplayPlaying());
    EXPECT_FALSE(std::filesystem::exists(SavePath("")));
}

TEST_F(ReplayTest, ReplayFilesAreTheDataFilesNamesWithoutTheSuffix) {
    Start();
    for (const char* file : {"x_replayData", "Y_REPLAYDATA", "z_RePlayData", "w_gameSaved", "plain",
                             ".a_replayData.12.0.tmp"}) {
        m_folder.WriteFile(std::string("Saves/") + file, "");
    }
    std::filesystem::create_directory(SavePath("d_replayData"));
    std::vector<Core::String> names{"stale"};
    m_game->GetReplayFiles(names);
    EXPECT_EQ(names, (std::vector<Core::String>{"x", "Y", "z"}));
}

}  // namespace
