#include "Tundra_TestGame.h"

#include "sound/Sound_JukeBox.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

using namespace tundratest;

namespace {

// The level's jukebox plays on the game's engine; the state hash does not
// depend on whether the device still plays its track, and the level's end
// gives both its sources back.
TEST_F(GameTest, NullAudioAJukeBoxHashesTheSamePlayingOrNotAndTheLevelEndReleasesItsSources) {
    const testsupport::TempDirectory directory;
    const testsupport::WavFormatFields format;
    const std::string tone = testsupport::PcmWav(format, testsupport::SampleBytes(testsupport::SineTone(440.0, 1.0, 1, 22050)));
    const std::vector<Core::String> paths{Core::String(directory.WriteFile("a.wav", tone)),
                                          Core::String(directory.WriteFile("b.wav", tone))};
    TestGame& game = Start();
    SoundEngine& engine = *game.GetSoundEngine();
    const std::size_t sources = SoundEngineTestAccess::SourceCount(engine);
    auto* jukebox = TUN_NEW(Tundra::JukeBox, paths);
    game.GetCurrentLevel()->SetJukeBox(jukebox);
    ASSERT_TRUE(jukebox->PlayMusic(0) && jukebox->IsPlaying());
    const std::uint64_t playing = game.GetStateHash();
    jukebox->PauseMusic();
    EXPECT_EQ(game.GetStateHash(), playing);
    jukebox->SetFadeTime(1.0f);
    ASSERT_TRUE(jukebox->PlayMusic(1));
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(engine), sources + 2);
    game.GetCurrentLevel()->Shutdown();
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(engine), sources);
}

}  // namespace
