#include "sound/Sound_AlCall.h"
#include "sound/Sound_Decoder.h"
#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"

#include <AL/al.h>

#include <atomic>

namespace {

std::atomic<StreamDecodeHook> g_decodeHook{nullptr};

// The next block of the sound into block; a read that fails counts as the end.
std::uint32_t ReadNextBlock(SoundData& sound, std::vector<std::uint8_t>& block) {
    block.resize(sound.bufferSize);
    std::uint32_t bytes = 0;
    return ReadBlockInto(sound, block.data(), block.size(), bytes) == kSoundOk ? bytes : 0u;
}

std::uint32_t ReadNextBlock(SoundData& sound) {
    std::uint32_t bytes = 0;
    return ReadBlock(sound, bytes) == kSoundOk ? bytes : 0u;
}

bool Upload(const SoundData& sound, ALuint buffer, const std::uint8_t* pcm, std::uint32_t bytes) {
    return CallAl([&] {
        alBufferData(buffer, sound.alFormat, pcm, static_cast<ALsizei>(bytes),
                     static_cast<ALsizei>(sound.format.sampleRate));
    });
}

bool UploadAndQueue(ALuint source, const SoundData& sound, ALuint buffer, const std::uint8_t* pcm,
                    std::uint32_t bytes) {
    // A buffer that got nothing stays out of the queue.
    return bytes > 0 && Upload(sound, buffer, pcm, bytes) &&
           CallAl([&] { alSourceQueueBuffers(source, 1, &buffer); });
}

bool IsRunning(ALuint source) {
    ALint state = 0;
    return QuerySource(source, AL_SOURCE_STATE, state) && (state == AL_PLAYING || state == AL_PAUSED);
}

}  // namespace

void SetStreamDecodeHookForTesting(StreamDecodeHook hook) { g_decodeHook = hook; }

std::uint32_t SoundEngine::StreamingThread(ManagedThread* thread) {
    auto* engine = static_cast<SoundEngine*>(thread->GetArgument());
    const std::uint32_t period = engine->m_refillMilliseconds;
    while (ManagedThread::ShouldRun(thread)) {
        engine->StreamingPass();
        SleepUnlessStopped(period, thread);
    }
    engine->SignalThreadFinished();
    return 0;
}

// Decoding is slow next to OpenAL's calls: the lock is held to look at the
// sources and to queue what was decoded, never while decoding, so the main
// thread's source calls wait at most for the queueing.
void SoundEngine::StreamingPass() {
    {
        const SourceLock lock(m_sourceLock);
        if (!lock) {
            return;
        }
        ServiceSources();
    }
    // A refill that finds its stream at the end asks for the start of the
    // sound, which the second round decodes.
    for (int round = 0; round < 2 && !m_work.empty(); ++round) {
        DecodeWork();
        const SourceLock lock(m_sourceLock);
        if (!lock) {
            return;
        }
        ApplyWork();
        if (round == 0) {
            for (SoundSource& source : m_sources) {
                if (source.mode == SoundSource::Mode::Streamed && source.primeWanted) {
                    LendStream(source, true);
                }
            }
        }
    }
}

void SoundEngine::ServiceSources() {
    for (SoundSource& source : m_sources) {
        switch (source.mode) {
            case SoundSource::Mode::Static:
                if (source.playing) {
                    ServiceStatic(source);
                }
                break;
            case SoundSource::Mode::IntroAndLoop:
                if (source.playing) {
                    ServiceIntroAndLoop(source);
                }
                break;
            case SoundSource::Mode::Streamed:
                if (source.primeWanted || source.playing) {
                    LendStream(source, source.primeWanted);
                }
                break;
            case SoundSource::Mode::Unbound:
                break;
        }
    }
}

void SoundEngine::ServiceStatic(SoundSource& source) {
    if (!IsRunning(source.name) && CallAl([&] { alSourceStop(source.name); })) {
        source.playing = false;
    }
}

void SoundEngine::ServiceIntroAndLoop(SoundSource& source) {
    // Played once through, intro and loop end like a static sound.
    if (!source.looping) {
        ServiceStatic(source);
        return;
    }
    ALint processed = 0;
    if (!QuerySource(source.name, AL_BUFFERS_PROCESSED, processed)) {
        return;
    }
    if (processed == 1) {
        ALuint intro = 0;
        if (CallAl([&] { alSourceUnqueueBuffers(source.name, 1, &intro); })) {
            CallAl([&] { alSourcei(source.name, AL_LOOPING, AL_TRUE); });
        }
    } else if (processed == 2) {
        // Both played before this pass came: start the loop again by itself.
        ALuint both[2] = {};
        const ALuint loop = source.sound->buffers[1];
        if (CallAl([&] { alSourceUnqueueBuffers(source.name, 2, both); }) &&
            CallAl([&] { alSourceQueueBuffers(source.name, 1, &loop); }) &&
            CallAl([&] { alSourcei(source.name, AL_LOOPING, AL_TRUE); }) &&
            CallAl([&] { alSourcePlay(source.name); })) {
            source.playing = true;
        }
    }
}

void SoundEngine::LendStream(SoundSource& source, bool prime) {
    SoundData* sound = source.sound;
    if (sound == nullptr || sound->lent) {
        return;
    }
    StreamWork& work = m_work.emplace_back();
    work.source = {&source, source.id};
    work.sound = sound;
    work.epoch = sound->epoch;
    work.prime = prime;
    work.looping = source.looping;
    sound->lent = true;
    if (prime) {
        // The queue is empty: every buffer is filled from the start.
        work.buffers.assign(sound->buffers.begin(), sound->buffers.end());
        return;
    }
    ALint processed = 0;
    if (!QuerySource(source.name, AL_BUFFERS_PROCESSED, processed)) {
        return;
    }
    for (ALint i = 0; i < processed; ++i) {
        ALuint buffer = 0;
        if (!CallAl([&] { alSourceUnqueueBuffers(source.name, 1, &buffer); })) {
            break;
        }
        work.buffers.push_back(buffer);
    }
}

void SoundEngine::DecodeWork() {
    for (StreamWork& work : m_work) {
        if (const StreamDecodeHook hook = g_decodeHook.load()) {
            hook();
        }
        SoundData& sound = *work.sound;
        if (work.prime) {
            RewindDecoder(sound);
        }
        work.blocks.resize(work.buffers.size());
        work.sizes.resize(work.buffers.size());
        for (std::size_t i = 0; i < work.buffers.size(); ++i) {
            std::uint32_t bytes = ReadNextBlock(sound, work.blocks[i]);
            if (bytes == 0 && work.looping && !work.prime) {
                RewindDecoder(sound);
                bytes = ReadNextBlock(sound, work.blocks[i]);
            }
            work.sizes[i] = bytes;
        }
    }
}

void SoundEngine::ApplyWork() {
    for (StreamWork& work : m_work) {
        work.sound->lent = false;
        SoundSource* source = FindLive(work.source);
        // Stopped, rewound, released or rebound meanwhile: what was decoded is
        // stale, and whoever changed the source has seen to its queue.
        if (source == nullptr || source->sound != work.sound || work.sound->epoch != work.epoch) {
            continue;
        }
        for (std::size_t i = 0; i < work.buffers.size(); ++i) {
            UploadAndQueue(source->name, *work.sound, work.buffers[i], work.blocks[i].data(), work.sizes[i]);
        }
        if (work.prime) {
            FinishPrime(*source);
        } else {
            FollowRefill(*source);
        }
    }
    m_work.clear();
}

void SoundEngine::FollowRefill(SoundSource& source) {
    if (!source.playing || source.paused || IsRunning(source.name)) {
        return;
    }
    // Stopped: starved, or at the end of the sound.
    ALint queued = 0;
    if (!QuerySource(source.name, AL_BUFFERS_QUEUED, queued)) {
        return;
    }
    if (queued > 0) {
        if (CallAl([&] { alSourcePlay(source.name); })) {
            source.playing = true;
        }
        return;
    }
    // Nothing left: from the start again, played on when looping, else
    // waiting there for the next play.
    source.primeWanted = true;
    source.finishing = !source.looping;
}

void SoundEngine::FinishPrime(SoundSource& source) {
    source.primeWanted = false;
    source.sound->stale = false;
    if (source.finishing) {
        source.finishing = false;
        source.playing = false;
    }
    if (!source.playing || source.paused) {
        CallAl([&] { alSourceRewind(source.name); });
    } else if (CallAl([&] { alSourcePlay(source.name); })) {
        source.playing = true;
    }
}

bool SoundEngine::FillAndQueue(SoundSource& source) {
    SoundData& sound = *source.sound;
    bool filled = true;
    for (const ALuint buffer : sound.buffers) {
        const std::uint32_t bytes = ReadNextBlock(sound);
        if (bytes > 0) {
            filled = UploadAndQueue(source.name, sound, buffer, sound.pcm.data(), bytes) && filled;
        }
    }
    return filled;
}

bool SoundEngine::Reprime(SoundSource& source) {
    const bool wasPlaying = QueryPlaying(source.name);
    if (source.mode == SoundSource::Mode::Streamed) {
        if (!CallAl([&] { alSourceStop(source.name); })) {
            return false;
        }
        SoundData* sound = source.sound;
        ALint processed = 0;
        if (sound != nullptr && sound->lent) {
            // The streaming thread is decoding this sound: what it brings back
            // is thrown away, and it fills the emptied queue from the start
            // once it has given the decoder back.
            ++sound->epoch;
            sound->stale = true;
            CallAl([&] { alSourcei(source.name, AL_BUFFER, 0); });
            source.primeWanted = true;
            source.finishing = false;
        } else if (sound != nullptr && (source.primeWanted || (QuerySource(source.name, AL_BUFFERS_PROCESSED, processed) &&
                                                               processed > 0))) {
            RewindDecoder(*sound);
            for (ALint i = 0; i < processed; ++i) {
                ALuint buffer = 0;
                CallAl([&] { alSourceUnqueueBuffers(source.name, 1, &buffer); });
            }
            FillAndQueue(source);
            source.primeWanted = false;
            source.finishing = false;
            sound->stale = false;
        }
    }
    return RewindAndResume(source, wasPlaying);
}

bool SoundEngine::RewindAndResume(SoundSource& source, bool wasPlaying) {
    if (!CallAl([&] { alSourceRewind(source.name); })) {
        return false;
    }
    if (wasPlaying) {
        if (!CallAl([&] { alSourcePlay(source.name); })) {
            return false;
        }
        source.playing = true;
    }
    return true;
}
