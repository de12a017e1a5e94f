#include "Tundra_SaveLoadTest.h"

#include "pal/PAL_ThreadManager.h"
#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"

using namespace tundratest;

namespace {

// A looping sound playing in the game's engine, as a level's objects would leave it.
void PlayALoop(SoundEngine& sound, const testsupport::TempDirectory& folder) {
    const std::string path = folder.WriteFile(
        "loop.wav", testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 0.2, 1, 22050))));
    ASSERT_TRUE(
        sound.PlaySource(sound.CreateSource(sound.LoadStaticSound(Core::String(path.c_str()), 0.0f), true, true)));
}

}  // namespace

// The game's engine on the null backend.
using NullAudioGame = SaveLoadTest;

TEST_F(NullAudioGame, TheGameStartsItsEngineAndEmptiesItAtLevelChangesAndLoads) {
    SavingGame& game = StartScene();
    SoundEngine& sound = *game.GetSoundEngine();
    EXPECT_TRUE(sound.IsInitialized());
    EXPECT_TRUE(sound.GetRefillPeriod() == 30u && sound.GetDistanceModel() == 2u);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("before")));

    PlayALoop(sound, m_folder);
    game.GoToLevel(1);
    Step(1);
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(sound), 0u);
    EXPECT_EQ(SoundEngineTestAccess::LoadedSoundCount(sound), 0u);

    PlayALoop(sound, m_folder);
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("before")));
    // Only the loaded scene's looping effect plays, its sound shared with the stopped one.
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(sound), 1u);
    EXPECT_EQ(SoundEngineTestAccess::LoadedSoundCount(sound), 1u);
}

TEST_F(NullAudioGame, ShuttingDownStopsTheStreamingThreadWithTheEngine) {
    SavingGame& game = StartGame();
    PlayALoop(*game.GetSoundEngine(), m_folder);
    const std::size_t adopted = GetFallbackThreadManager().GetThreadCount();
    game.Shutdown();
    EXPECT_EQ(game.GetSoundEngine(), nullptr);
    EXPECT_EQ(GetFallbackThreadManager().GetThreadCount(), adopted) << "no thread outlived its engine";
}

// No device at all: the game runs silent.
using NoAudioGame = SaveLoadTest;

TEST_F(NoAudioGame, ASilentGameRunsChangesLevelSavesAndLoads) {
    SavingGame& game = StartScene();
    SoundEngine& sound = *game.GetSoundEngine();
    EXPECT_FALSE(sound.IsInitialized());
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(sound), 0u);
    game.SetMasterVolume(5.0f);
    EXPECT_EQ(game.GetMasterVolume(), 1.0f) << "nothing reached a device";
    Step(3);
    game.GoToLevel(1);
    Step(2);
    EXPECT_EQ(game.GetCurrentLevelIndex(), 1u);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("silent")));
    const std::uint64_t hash = game.GetStateHash();
    Step(2);
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("silent")));
    EXPECT_EQ(game.GetStateHash(), hash);
    Step(2);
}
