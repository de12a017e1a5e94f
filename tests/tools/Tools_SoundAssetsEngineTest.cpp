#include <gtest/gtest.h>

#include "pal/PAL_ExecutablePath.h"
#include "sound/Sound_SoundEngine.h"
#include "tools/Tools_GameSounds.h"

namespace {

using testsupport::GameSound;
using testsupport::SoundKind;

// Every generated file loads through the engine the way the game asks for it
// (directory + "\Resources\Sounds\..."): effects whole, so their sources can
// loop in OpenAL, music streamed; each plays.
TEST(NullAudioSoundAssets, EffectsLoadWholeMusicStreamsAndEachPlays) {
    SoundEngine engine;
    ASSERT_TRUE(engine.Initialize(-1, 30));
    for (const GameSound& sound : testsupport::GameSounds()) {
        SCOPED_TRACE(sound.name);
        const Core::String path = GetExecutableDirectory() + "\\Resources\\Sounds\\" + sound.name.c_str();
        SoundData* data = engine.LoadSound(path, SoundEngine::kStreamThreshold);
        ASSERT_NE(data, nullptr);
        const bool loadedWhole = engine.FindLoadedSound(path, 0.0f) == data;
        EXPECT_EQ(loadedWhole, sound.kind != SoundKind::Music);

        const SoundSourceHandle source = engine.CreateSource(data, true, sound.kind == SoundKind::Loop);
        ASSERT_TRUE(source);
        EXPECT_TRUE(engine.PlaySource(source));
        EXPECT_TRUE(engine.IsSourcePlaying(source));
        EXPECT_TRUE(engine.ReleaseSource(source));
    }
}

}  // namespace
