#include "Sound_EngineFixture.h"

#include "os/OS_Sleep.h"

#include <AL/al.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;
using testsupport::WaitUntil;

// Every test here runs the streaming thread; they also run under ThreadSanitizer.
using NullAudioStreaming = SoundEngineFixture;

TEST_F(NullAudioStreaming, AStaticSoundThatEndsClearsItsFlagWithinOnePass) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("t.wav", 0.05), 0.0f), true, false);
    ASSERT_TRUE(engine->PlaySource(source));
    ASSERT_TRUE(WaitUntil([&] { return !engine->IsSourcePlaying(source); }, 2s));
    EXPECT_TRUE(WaitUntil([&] { return !engine->IsSourceActive(source); }, 2s));
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
    // A refill the thread made late leaves the source dry until its next pass.
    EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(source); }, 2s));
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
    EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(source); }, 2s));
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

TEST_F(NullAudioStreaming, DestroyingARunningEngineStopsItsThreadFirst) {
    const SoundSourceHandle source =
        engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 1.0), 0.05f, 2), true, true);
    ASSERT_TRUE(engine->PlaySource(source));
    engine.reset();
    SoundEngine again;
    EXPECT_TRUE(again.Initialize(-1, kRefillMilliseconds)) << "the device was closed";
}

namespace {

// Holds the streaming thread at the start of its next decoding, outside the
// source lock, until opened.
class DecodeGate {
public:
    void Close() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
        m_held = false;
    }
    void Open() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool WaitHeld() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, 2s, [this] { return m_held; });
    }
    // Whether the thread began this many more decodings within the bound.
    bool WaitDecodings(int more) {
        std::unique_lock<std::mutex> lock(m_mutex);
        const int target = m_decodings + more;
        return m_changed.wait_for(lock, 2s, [this, target] { return m_decodings >= target; });
    }
    static void Hook() {
        std::unique_lock<std::mutex> lock(g_gate.m_mutex);
        ++g_gate.m_decodings;
        g_gate.m_held = !g_gate.m_open;
        g_gate.m_changed.notify_all();
        g_gate.m_changed.wait(lock, [] { return g_gate.m_open; });
    }

    static DecodeGate g_gate;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    bool m_held = false;
    int m_decodings = 0;
};

DecodeGate DecodeGate::g_gate;

}  // namespace

class NullAudioStreamingDecodeHeld : public SoundEngineFixture {
protected:
    void SetUp() override {
        SoundEngineFixture::SetUp();
        SetStreamDecodeHookForTesting(&DecodeGate::Hook);
    }
    void TearDown() override {
        DecodeGate::g_gate.Open();
        engine.reset();
        SetStreamDecodeHookForTesting(nullptr);
    }

    // Starts a looping stream and holds the thread while it decodes it.
    SoundSourceHandle PlayHeldStream() {
        DecodeGate::g_gate.Close();
        stream = engine->CreateSource(engine->LoadStreamedSound(WriteTone("s.wav", 2.0), 0.02f, 2), true, true);
        EXPECT_TRUE(engine->PlaySource(stream));
        EXPECT_TRUE(DecodeGate::g_gate.WaitHeld());
        return stream;
    }

    // Whether the call returned while the decoding is held; run on another
    // thread, so that a call that waits for the decoding fails the test
    // rather than hanging it. The decoding goes on afterwards.
    bool ReturnsWhileHeld(const std::function<bool()>& call) {
        auto result = std::async(std::launch::async, call);
        const bool returned = result.wait_for(2s) == std::future_status::ready;
        DecodeGate::g_gate.Open();
        EXPECT_TRUE(result.get());
        return returned;
    }

    SoundSourceHandle stream;
};

TEST_F(NullAudioStreamingDecodeHeld, SourceCallsDoNotWaitForAStreamBeingDecoded) {
    const SoundSourceHandle effect =
        engine->CreateSource(engine->LoadStaticSound(WriteTone("t.wav", 0.2), 0.0f), true, false);
    PlayHeldStream();
    EXPECT_TRUE(ReturnsWhileHeld([&] {
        return engine->SetSourceGain(stream, 0.5f) && engine->SetSourcePosition(stream, {1.0f, 2.0f, 0.0f}) &&
               engine->IsSourceActive(stream) && engine->PlaySource(effect) && engine->SetSourceGain(effect, 0.25f);
    }));
    EXPECT_EQ(engine->GetSourceGain(stream), 0.5f);
    EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(stream); }, 2s)) << "the stream plays on";
}

TEST_F(NullAudioStreamingDecodeHeld, AStreamChangedWhileItsBlocksDecodeKeepsTheChange) {
    struct Case {
        const char* change;
        std::function<bool(SoundEngine&, SoundSourceHandle)> call;
        bool playsAfter;
    };
    const std::vector<Case> cases = {
        {"stop", [](SoundEngine& e, SoundSourceHandle s) { return e.StopSource(s); }, false},
        {"rewind", [](SoundEngine& e, SoundSourceHandle s) { return e.RewindSource(s); }, true},
        {"stop and play", [](SoundEngine& e, SoundSourceHandle s) { return e.StopSource(s) && e.PlaySource(s); }, true},
    };
    for (const Case& change : cases) {
        PlayHeldStream();
        EXPECT_TRUE(ReturnsWhileHeld([&] { return change.call(*engine, stream); })) << change.change;
        // Back at the start with both buffers, playing or waiting there.
        EXPECT_TRUE(WaitUntil([&] { return Property(stream, AL_BUFFERS_QUEUED) == 2; }, 2s)) << change.change;
        EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(stream) == change.playsAfter; }, 2s))
            << change.change;
        EXPECT_EQ(engine->IsSourceActive(stream), change.playsAfter) << change.change;
        if (!change.playsAfter) {
            EXPECT_EQ(Property(stream, AL_SAMPLE_OFFSET), 0) << change.change;
        }
        engine->StopAll();
    }
}

TEST_F(NullAudioStreamingDecodeHeld, AStreamReleasedWhileItsBlocksDecodeIsNeverQueuedAgain) {
    PlayHeldStream();
    SoundData* sound = engine->GetSourceSound(stream);
    EXPECT_TRUE(ReturnsWhileHeld([&] { return engine->ReleaseSource(stream); }));
    const SoundSourceHandle next = engine->CreateSource(sound, true, false);
    ASSERT_TRUE(engine->PlaySource(next));
    EXPECT_TRUE(WaitUntil([&] { return engine->IsSourcePlaying(next) && Property(next, AL_BUFFERS_QUEUED) == 2; },
                          2s));

    PlayHeldStream();
    EXPECT_TRUE(ReturnsWhileHeld([&] {
        engine->StopAll();
        return true;
    }));
    // The sound outlives the pass that decodes it; a StopAll after that pass frees it.
    EXPECT_TRUE(WaitUntil(
        [&] {
            engine->StopAll();
            return SoundEngineTestAccess::SourceCount(*engine) == 0;
        },
        2s));
}

TEST_F(NullAudioStreamingDecodeHeld, APauseWhileAStreamIsRefilledFromItsStartHolds) {
    struct Case {
        const char* change;
        std::function<bool(SoundEngine&, SoundSourceHandle)> call;
    };
    const std::vector<Case> cases = {
        {"rewind and pause", [](SoundEngine& e, SoundSourceHandle s) { return e.RewindSource(s) && e.PauseSource(s); }},
        {"stop, play and pause",
         [](SoundEngine& e, SoundSourceHandle s) { return e.StopSource(s) && e.PlaySource(s) && e.PauseSource(s); }},
    };
    for (const Case& change : cases) {
        PlayHeldStream();
        EXPECT_TRUE(ReturnsWhileHeld([&] { return change.call(*engine, stream); })) << change.change;
        ASSERT_TRUE(WaitUntil([&] { return Property(stream, AL_BUFFERS_QUEUED) == 2; }, 2s)) << change.change;
        // Passes that would start a stopped stream go by.
        ASSERT_TRUE(DecodeGate::g_gate.WaitDecodings(2)) << change.change;
        EXPECT_FALSE(engine->IsSourcePlaying(stream)) << change.change;
        EXPECT_TRUE(engine->IsSourceActive(stream)) << change.change;
        EXPECT_EQ(Property(stream, AL_SAMPLE_OFFSET), 0) << change.change;
        EXPECT_TRUE(engine->PlaySource(stream)) << change.change;
        EXPECT_TRUE(engine->IsSourcePlaying(stream)) << change.change;
        engine->StopAll();
    }
}

TEST_F(NullAudioStreamingDecodeHeld, ShutdownDuringAPassWaitsForIt) {
    PlayHeldStream();
    // From a helper, which is done with the engine once the call returns.
    auto shutdown = std::async(std::launch::async, [&] { engine->Shutdown(); });
    // Many passes' time: the call still waits.
    EXPECT_EQ(shutdown.wait_for(250ms), std::future_status::timeout) << "returned in the middle of a pass";
    DecodeGate::g_gate.Open();
    shutdown.get();
    EXPECT_EQ(SoundEngineTestAccess::ThreadCount(*engine), 0u);
    EXPECT_FALSE(SoundEngineTestAccess::HasLocks(*engine));
}
