#include "Sound_EngineFixture.h"

#include "os/OS_Sleep.h"

#include <AL/al.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using testsupport::WaitUntil;

// Every test here runs the streaming thread; they also run under ThreadSanitizer.
using NullAudioStreaming = SoundEngineFixture;

namespace {
// One refill period and a wide margin for a loaded machine.
constexpr auto kOnePass = std::chrono::milliseconds(SoundEngineFixture::kRefillMilliseconds) + 250ms;
}  // namespace

TEST_F(NullAudioStreaming, AStaticSoundThatEndsClearsItsFlagWithinOnePass) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("t.wav", 0.05), 0.0f), true, false);
    ASSERT_TRUE(engine->PlaySource(source));
    ASSERT_TRUE(WaitUntil([&] { return !engine->IsSourcePlaying(source); }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsSourceActive(source); }, kOnePass));
}

TEST_F(NullAudioStreaming, AStreamPlaysToItsEndStopsAndPlaysAgainFromItsStart) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 0.4), 0.05f, 2), true, false);
    for (int round = 0; round < 2; ++round) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(engine->PlaySource(source)) << round;
        ASSERT_TRUE(WaitUntil([&] { return !engine->IsSourceActive(source); }, 3s)) << round;
        EXPECT_GE(std::chrono::steady_clock::now() - start, 350ms) << "the whole sound, round " << round;
        EXPECT_EQ(Property(source, AL_BUFFERS_QUEUED), 2) << "primed again";
        EXPECT_EQ(Property(source, AL_SAMPLE_OFFSET), 0) << "at the start";
    }
}

TEST_F(NullAudioStreaming, ALoopingStreamPlaysPastItsEndWithoutItsFlagEverClearing) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 0.15), 0.05f, 2), true, true);
    ASSERT_TRUE(engine->PlaySource(source));
    const auto end = std::chrono::steady_clock::now() + 450ms;
    bool alwaysActive = true;
    while (std::chrono::steady_clock::now() < end) {
        alwaysActive = alwaysActive && engine->IsSourceActive(source);
        os::Sleep(1);
    }
    EXPECT_TRUE(alwaysActive);
    EXPECT_TRUE(engine->IsSourcePlaying(source));
}

TEST_F(NullAudioStreaming, AStarvedStreamRestartsAtTheNextPass) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 2.0), 0.02f, 2), true, false);
    ASSERT_TRUE(engine->PlaySource(source));
    const ALuint name = SoundEngineTestAccess::SourceName(*engine, source);
    ASSERT_TRUE(SoundEngineTestAccess::HoldSourceLock(*engine));
    // Longer than the 40 ms queued: the source runs dry while the thread waits.
    ALint state = AL_PLAYING;
    for (int i = 0; i < 500 && state == AL_PLAYING; ++i) {
        os::Sleep(1);
        alGetSourcei(name, AL_SOURCE_STATE, &state);
    }
    SoundEngineTestAccess::ReleaseSourceLock(*engine);
    EXPECT_EQ(state, AL_STOPPED);
    EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(source); }, kOnePass));
    EXPECT_TRUE(engine->IsSourceActive(source));
}

TEST_F(NullAudioStreaming, AnIntroPlaysOnceAndItsLoopRepeatsWhileTheWalkGoesOn) {
    const SoundSourceHandle looped =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("loop.wav", 0.2), 0.5f), true, true);
    const SoundSourceHandle after =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("t.wav", 0.3), 0.0f), true, false);
    ASSERT_TRUE(engine->PlaySource(looped) && engine->PlaySource(after));
    EXPECT_TRUE(WaitUntil([&] { return Property(looped, AL_BUFFERS_QUEUED) == 1; }, 2s)) << "the intro left the queue";
    EXPECT_EQ(Property(looped, AL_LOOPING), AL_TRUE);
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsSourceActive(after); }, 2s)) << "the next source was served";
    EXPECT_TRUE(engine->IsSourcePlaying(looped) && engine->IsSourceActive(looped));
}

TEST_F(NullAudioStreaming, ShutdownReturnsOnlyOnceTheThreadHasFinished) {
    engine->Shutdown();
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(*engine), 0u);
    EXPECT_FALSE(SoundEngineTestAccess::HasLocks(*engine));
    EXPECT_EQ(SoundEngineTestAccess::MutexCount(*engine), 0u);
    EXPECT_FALSE(engine->IsInitialized());
    EXPECT_FALSE(engine->SetMasterVolume(0.5f)) << "silent once shut down";
}

TEST_F(NullAudioStreaming, ShutdownDuringAPassWaitsForIt) {
    ASSERT_TRUE(engine->PlaySource(
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 1.0), 0.05f, 2), true, true)));
    // Another thread holds the lock as a long pass would; the streaming
    // thread queues up behind it in the middle of its loop.
    std::atomic<bool> held{false};
    std::thread pass([&] {
        held = SoundEngineTestAccess::HoldSourceLock(*engine);
        std::this_thread::sleep_for(100ms);
        SoundEngineTestAccess::ReleaseSourceLock(*engine);
    });
    ASSERT_TRUE(WaitUntil([&] { return held.load(); }, 2s));
    std::this_thread::sleep_for(30ms);
    const auto start = std::chrono::steady_clock::now();
    engine->Shutdown();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(*engine), 0u);
    pass.join();
}

TEST_F(NullAudioStreaming, DestroyingARunningEngineStopsItsThreadFirst) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 1.0), 0.05f, 2), true, true);
    ASSERT_TRUE(engine->PlaySource(source));
    engine.reset();
    SoundEngine again;
    EXPECT_TRUE(again.Initialize(-1, kRefillMilliseconds)) << "the device was closed";
}
