#include "Sound_EngineFixture.h"

#include <AL/al.h>

#include <chrono>
#include <functional>

using namespace std::chrono_literals;
using testsupport::WaitUntil;

using NullAudioEngine = SoundEngineFixture;

TEST_F(NullAudioEngine, InitializingTwiceFailsAndChangesNothing) {
    EXPECT_FALSE(engine->Initialize(-1, 70));
    EXPECT_EQ(engine->GetRefillPeriod(), kRefillMilliseconds);
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(*engine), 1u);
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(*engine), 1u) << "the default source only";
}

TEST_F(NullAudioEngine, ADeviceIndexOutsideTheListOpensTheDefaultDevice) {
    // One context is current in a process: the others take turns.
    engine->Shutdown();
    for (const int index : {-1, static_cast<int>(engine->GetDeviceNames().size())}) {
        SoundEngine other;
        EXPECT_TRUE(other.Initialize(index, kRefillMilliseconds)) << index;
        EXPECT_FALSE(other.GetVersion().empty());
    }
}

TEST_F(NullAudioEngine, AnotherEnginesEndLeavesTheOggDecoderInPlace) {
    { SoundEngine other; }
    EXPECT_NE(engine->LoadStaticSound(Write("t.ogg", testsupport::OggTone({.seconds = 0.1})), 0.0f), nullptr);
}

TEST_F(NullAudioEngine, AModelAboveSixIsStoredAndOpenALKeepsItsModel) {
    EXPECT_TRUE(engine->SetDistanceModel(9));
    EXPECT_EQ(engine->GetDistanceModel(), 9u);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_INVERSE_DISTANCE_CLAMPED);
    EXPECT_TRUE(engine->SetDistanceModel(3));
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_LINEAR_DISTANCE);
}

TEST_F(NullAudioEngine, PlayingAPlayingSourceFailsWithoutRestartingItAndPlayingAPausedOneResumesIt) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("tone.wav", 2.0), 0.0f), true, false);
    ASSERT_TRUE(engine->PlaySource(source));
    ASSERT_TRUE(WaitUntil([&] { return Property(source, AL_SAMPLE_OFFSET) > 2000; }, 2s));
    const int offset = Property(source, AL_SAMPLE_OFFSET);
    EXPECT_FALSE(engine->PlaySource(source));
    EXPECT_TRUE(WaitUntil([&] { return Property(source, AL_SAMPLE_OFFSET) > offset + 1000; }, 2s)) << "not restarted";

    ASSERT_TRUE(engine->PauseSource(source));
    EXPECT_FALSE(engine->IsSourcePlaying(source));
    EXPECT_TRUE(engine->IsSourceActive(source)) << "a paused source still counts as started";
    const int paused = Property(source, AL_SAMPLE_OFFSET);
    EXPECT_TRUE(engine->PlaySource(source));
    EXPECT_TRUE(engine->IsSourcePlaying(source));
    EXPECT_GE(Property(source, AL_SAMPLE_OFFSET), paused) << "resumed, not restarted";
}

TEST_F(NullAudioEngine, LoopingAStreamedSourceOnlyStoresTheFlag) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("long.wav", 1.0), 0.25f, 2), true, false);
    ASSERT_EQ(SoundEngineTestAccess::SourceMode(*engine, source), SoundSource::Mode::Streamed);
    EXPECT_TRUE(engine->SetSourceLooping(source, true));
    EXPECT_TRUE(engine->GetSourceLooping(source));
    EXPECT_EQ(Property(source, AL_LOOPING), AL_FALSE);
}

TEST_F(NullAudioEngine, AValueOpenALRefusesIsNotStored) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("t.wav", 0.1), 0.0f), false, false);
    struct Setter {
        const char* name;
        std::function<bool(float)> set;
        std::function<float()> get;
    };
    const Setter setters[] = {
        {"gain", [&](float v) { return engine->SetSourceGain(source, v); },
         [&] { return engine->GetSourceGain(source); }},
        {"pitch", [&](float v) { return engine->SetSourcePitch(source, v); },
         [&] { return engine->GetSourcePitch(source); }},
        {"reference distance", [&](float v) { return engine->SetSourceReferenceDistance(source, v); },
         [&] { return engine->GetSourceReferenceDistance(source); }},
        {"master volume", [&](float v) { return engine->SetMasterVolume(v); },
         [&] { return engine->GetMasterVolume(); }},
    };
    for (const Setter& setter : setters) {
        ASSERT_TRUE(setter.set(0.5f)) << setter.name;
        EXPECT_FALSE(setter.set(-1.0f)) << setter.name;
        EXPECT_EQ(setter.get(), 0.5f) << setter.name;
    }
}

TEST_F(NullAudioEngine, ReleasingARecordThatIsNotLiveFails) {
    SoundData* sound = engine->LoadStaticSound(WriteTone("t.wav", 0.1), 0.0f);
    const SoundSourceHandle released = engine->CreateSource(sound, true, false);
    ASSERT_TRUE(engine->ReleaseSource(released));
    const SoundSourceHandle next = engine->CreateSource(sound, true, false);
    SoundSource stranger;
    EXPECT_FALSE(engine->ReleaseSource({&stranger, next.id}));
    EXPECT_FALSE(engine->ReleaseSource(released));
    // A stale holder whose record's place was taken by a newer one.
    EXPECT_FALSE(engine->ReleaseSource({next.record, released.id}));
    EXPECT_FALSE(engine->SetSourceGain({next.record, released.id}, 0.5f));
    EXPECT_FALSE(engine->SetSourceGain(released, 0.5f));
    EXPECT_FALSE(engine->ReleaseSource({}));
    EXPECT_EQ(engine->GetSourceSound(next), sound) << "the newer record is untouched";

    engine->StopAll();
    EXPECT_FALSE(engine->ReleaseSource(next));
    EXPECT_FALSE(engine->PlaySource(next));
    EXPECT_FALSE(engine->CreateSource(sound, true, false)) << "a sound pointer kept across StopAll";
}

TEST_F(NullAudioEngine, StopAllEmptiesTheListsAndTheSameFileLoadsAgain) {
    const Core::String path = WriteTone("t.wav", 0.1);
    SoundData* sound = engine->LoadStaticSound(path, 0.0f);
    ASSERT_TRUE(engine->PlaySource(engine->CreateSource(sound, true, true)));
    engine->StopAll();
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(*engine), 0u);
    EXPECT_EQ(SoundEngineTestAccess::LoadedSoundCount(*engine), 0u);
    EXPECT_EQ(engine->FindLoadedSound(path, 0.0f), nullptr);
    EXPECT_NE(engine->LoadStaticSound(path, 0.0f), nullptr);
    EXPECT_EQ(SoundEngineTestAccess::LoadedSoundCount(*engine), 1u);
}

TEST_F(NullAudioEngine, LoadsSplitAtTheStreamingThresholdAndCacheOnlyStaticSounds) {
    // 16-bit mono: two bytes a sample.
    const Core::String atThreshold =
        WriteWav("at.wav", std::vector<std::int16_t>(SoundEngine::kStreamThreshold / 2, 100));
    const Core::String below =
        Write("below.wav", testsupport::PcmWav({.channels = 1, .blockAlign = 1, .bitsPerSample = 8},
                                               std::string(SoundEngine::kStreamThreshold - 1, '\x90')));
    SoundData* streamed = engine->LoadSound(atThreshold, SoundEngine::kStreamThreshold);
    SoundData* whole = engine->LoadSound(below, SoundEngine::kStreamThreshold);
    ASSERT_TRUE(streamed != nullptr && whole != nullptr);
    EXPECT_EQ(streamed->buffers.size(), SoundEngine::kStreamBufferCount);
    EXPECT_EQ(whole->buffers.size(), 1u);
    EXPECT_EQ(engine->FindLoadedSound(atThreshold, 0.0f), nullptr) << "streamed sounds are never shared";

    SoundData* second = engine->LoadStaticSound(below, 0.0f);
    EXPECT_NE(second, whole);
    EXPECT_EQ(engine->FindLoadedSound(below, 0.0f), whole);
    EXPECT_EQ(engine->FindLoadedSound(below, 0.5f), nullptr);
    EXPECT_EQ(engine->LoadSound(Write("x.ogg.bak", "junk"), SoundEngine::kStreamThreshold), nullptr);
    EXPECT_EQ(engine->LoadStaticSound(below, std::nanf("")), nullptr);
}

TEST_F(NullAudioEngine, AnIntroSplitsOnASampleFrameBoundary) {
    // Stereo: four bytes a frame; 0.3 of 1001 frames falls inside a frame.
    const Core::String path =
        Write("stereo.wav", testsupport::PcmWav({.channels = 2, .sampleRate = 22050}, std::string(1001 * 4, '\x01')));
    SoundData* sound = engine->LoadStaticSound(path, 0.3f);
    ASSERT_TRUE(sound != nullptr && sound->buffers.size() == 2u);
    ALint intro = 0;
    ALint loop = 0;
    alGetBufferi(sound->buffers[0], AL_SIZE, &intro);
    alGetBufferi(sound->buffers[1], AL_SIZE, &loop);
    EXPECT_EQ(intro, 1200);
    EXPECT_EQ(loop, 1001 * 4 - 1200);
    EXPECT_EQ(engine->FindLoadedSound(path, 0.3f), sound);
    EXPECT_EQ(SoundEngineTestAccess::SourceMode(*engine, engine->CreateSource(sound, true, true)),
              SoundSource::Mode::IntroAndLoop);
}
