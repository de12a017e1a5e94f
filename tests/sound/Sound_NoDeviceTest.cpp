#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

// Run with a drivers list that names no backend: no device opens.
TEST(NoAudioEngine, InitializeFailsLeavingNothingAndEveryOperationFailsQuietly) {
    testsupport::TempDirectory files;
    const Core::String path(
        files
            .WriteFile("t.wav",
                       testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440, 0.1, 1, 22050))))
            .c_str());
    SoundEngine engine;
    EXPECT_FALSE(engine.Initialize(-1, 30));
    EXPECT_FALSE(engine.IsInitialized());
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(engine), 0u);
    EXPECT_EQ(SoundEngineTestAccess::MutexCount(engine), 0u);
    EXPECT_EQ(SoundEngineTestAccess::ConditionCount(engine), 0u);
    EXPECT_FALSE(SoundEngineTestAccess::HasLocks(engine));

    EXPECT_EQ(engine.LoadSound(path, SoundEngine::kStreamThreshold), nullptr);
    EXPECT_EQ(engine.LoadStaticSound(path, 0.0f), nullptr);
    EXPECT_EQ(engine.LoadStreamedSound(path, 0.5f, 2), nullptr);
    EXPECT_FALSE(engine.CreateSource(nullptr, true, false));
    const SoundSourceHandle none;
    EXPECT_FALSE(engine.PlaySource(none) || engine.StopSource(none) || engine.ReleaseSource(none) ||
                 engine.SetSourceGain(none, 1.0f) || engine.IsSourceActive(none));
    EXPECT_FALSE(engine.SetMasterVolume(0.5f));
    EXPECT_FALSE(engine.SetListenerPosition({1, 2, 3}));
    EXPECT_FALSE(engine.SetDistanceModel(1));
    engine.StopAll();
    engine.Shutdown();
    EXPECT_FALSE(engine.Initialize(-1, 30)) << "still no device, and still nothing left behind";
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(engine), 0u);
}
