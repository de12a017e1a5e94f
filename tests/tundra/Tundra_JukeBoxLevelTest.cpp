#include "Tundra_HostileRead.h"
#include "Tundra_ScriptChunk.h"
#include "support/Tundra_TestGame.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "os/OS_Path.h"
#include "pal/PAL_ExecutablePath.h"
#include "sound/Sound_JukeBox.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"
#include "tundra/Lua_Host.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <algorithm>
#include <filesystem>

using namespace tundratest;

namespace {

class JukeBoxLevelTest : public GameTest {
protected:
    void TearDown() override {
        os::SetExecutablePathForTesting("");
        GameTest::TearDown();
    }

    // Two tracks of a second, played by a jukebox of the running level.
    Tundra::JukeBox& LevelJukeBox() {
        const std::string tone =
            testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 1.0, 1, 22050)));
        const std::vector<Core::String> paths{Core::String(m_directory.WriteFile("a.wav", tone)),
                                              Core::String(m_directory.WriteFile("b.wav", tone))};
        auto* jukebox = TUN_NEW(Tundra::JukeBox, paths);
        m_game->GetCurrentLevel()->SetJukeBox(jukebox);
        return *jukebox;
    }

    testsupport::TempDirectory m_directory;
};

// The level's jukebox plays on the game's engine; the state hash does not
// depend on how far the track has come (a load starts it again) nor on
// whether the device still plays it, and the level's end gives both its
// sources back.
TEST_F(JukeBoxLevelTest, NullAudioAJukeBoxHashesTheSameWhereverItsTrackIsAndTheLevelEndReleasesItsSources) {
    TestGame& game = Start();
    SoundEngine& engine = *game.GetSoundEngine();
    const std::size_t sources = SoundEngineTestAccess::SourceCount(engine);
    Tundra::JukeBox* jukebox = &LevelJukeBox();
    ASSERT_TRUE(jukebox->PlayMusic(0) && jukebox->IsPlaying());
    const std::uint64_t playing = game.GetStateHash();
    jukebox->Update(0.5f);
    EXPECT_EQ(game.GetStateHash(), playing);
    jukebox->PauseMusic();
    EXPECT_EQ(game.GetStateHash(), playing);
    jukebox->SetFadeTime(1.0f);
    ASSERT_TRUE(jukebox->PlayMusic(1));
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(engine), sources + 2);
    game.GetCurrentLevel()->Shutdown();
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(engine), sources);
}

TEST_F(JukeBoxLevelTest, NullAudioAScriptMovesTheJukeBoxToTheNextTrack) {
    Start();
    const Tundra::JukeBox& jukebox = LevelJukeBox();
    lua_State* state = Lua::Host::GetMainState();
    jukebox.PushToLua(state);
    lua_setglobal(state, "jukebox");
    EXPECT_TRUE(RunChunk("jukebox:PlayMusic() jukebox:NextTrack() return jukebox:GetCurrentTrack()", 1,
                         [](lua_State* results, int first) { EXPECT_EQ(NumberAt(results, first), 1.0); }));
    EXPECT_TRUE(jukebox.IsPlaying());
}

// A saved level reads back with its jukebox: music anywhere in the game's
// resources comes back, a track whose file went is left out with a log
// line, and the jukebox plays what is left.
TEST_F(JukeBoxLevelTest, NullAudioASavedLevelLoadsWithTheMusicThatCameBack) {
    TestGame& game = Start();
    os::SetExecutablePathForTesting(m_directory.Path() + "/Emberline");
    const std::string tone =
        testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 1.0, 1, 22050)));
    const struct {
        std::vector<std::string> music;
        std::int32_t playing;
        bool lastGone;
    } cases[] = {
        {{"\\Resources\\Music\\a.wav"}, 0, false},
        {{"\\Resources\\Sounds\\a.wav", "\\Resources\\Sounds\\b.wav"}, 1, true},
    };
    for (const auto& [music, playing, lastGone] : cases) {
        std::vector<Core::String> paths;
        std::string written;
        for (const std::string& path : music) {
            paths.push_back(GetExecutableDirectory() + Core::String(path));
            written = path.substr(1);
            std::replace(written.begin(), written.end(), '\\', '/');
            written = m_directory.WriteFile(written, tone);
        }
        auto* jukebox = TUN_NEW(Tundra::JukeBox, paths);
        game.GetCurrentLevel()->SetJukeBox(jukebox);
        ASSERT_TRUE(jukebox->PlayMusic(playing));
        const Bytes bytes = Saved(game.GetCurrentLevel());
        if (lastGone) {
            std::filesystem::remove(written);
        }
        Core::testhooks::StartCapturingErrors();
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<Tundra::Level> level = file.ReadObjectAs<Tundra::Level>(Core::File::Reference::Owning);
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        ASSERT_TRUE(level && level->GetJukeBox() && level->GetJukeBox()->GetCurrentPlaylist()) << music[0];
        const Tundra::JukeBox& read = *level->GetJukeBox();
        EXPECT_EQ(read.GetCurrentPlaylist()->GetTrackCount(), 1) << music[0];
        EXPECT_TRUE(read.IsPlaying()) << music[0];
        EXPECT_EQ(errors.size(), lastGone ? 1u : 0u) << music[0];
        level->Shutdown();
    }
}

}  // namespace
