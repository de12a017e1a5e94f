#include "Tundra_ScriptChunk.h"
#include "support/Tundra_TestGame.h"

#include "sound/Sound_JukeBox.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"
#include "tundra/Lua_Host.h"

#include <gtest/gtest.h>
#include <lua.hpp>

using namespace tundratest;

namespace {

class JukeBoxLevelTest : public GameTest {
protected:
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

}  // namespace
