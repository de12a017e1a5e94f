#include "sound/Sound_AlCall.h"
#include "sound/Sound_Decoder.h"
#include "sound/Sound_SoundEngine.h"

#include <AL/al.h>

namespace {

// The next block of the sound; a read that fails counts as the end.
std::uint32_t ReadNextBlock(SoundData& sound) {
    std::uint32_t bytes = 0;
    return ReadBlock(sound, bytes) == kSoundOk ? bytes : 0u;
}

bool Upload(SoundData& sound, ALuint buffer, std::uint32_t bytes) {
    return CallAl([&] {
        alBufferData(buffer, sound.alFormat, sound.pcm.data(), static_cast<ALsizei>(bytes),
                     static_cast<ALsizei>(sound.format.sampleRate));
    });
}

bool IsRunning(ALuint source) {
    ALint state = 0;
    return QuerySource(source, AL_SOURCE_STATE, state) && (state == AL_PLAYING || state == AL_PAUSED);
}

}  // namespace

std::uint32_t SoundEngine::StreamingThread(ManagedThread* thread) {
    auto* engine = static_cast<SoundEngine*>(thread->GetArgument());
    const std::uint32_t period = engine->m_refillMilliseconds;
    while (ManagedThread::ShouldRun(thread)) {
        {
            const SourceLock lock(engine->m_sourceLock);
            if (lock) {
                engine->StreamingPass();
            }
        }
        SleepUnlessStopped(period, thread);
    }
    engine->SignalThreadFinished();
    return 0;
}

void SoundEngine::StreamingPass() {
    for (SoundSource& source : m_sources) {
        if (!source.playing) {
            continue;
        }
        switch (source.mode) {
            case SoundSource::Mode::Static:
                ServiceStatic(source);
                break;
            case SoundSource::Mode::IntroAndLoop:
                ServiceIntroAndLoop(source);
                break;
            case SoundSource::Mode::Streamed:
                ServiceStream(source);
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

void SoundEngine::ServiceStream(SoundSource& source) {
    SoundData& sound = *source.sound;
    ALint processed = 0;
    if (QuerySource(source.name, AL_BUFFERS_PROCESSED, processed)) {
        for (ALint i = 0; i < processed; ++i) {
            ALuint buffer = 0;
            if (!CallAl([&] { alSourceUnqueueBuffers(source.name, 1, &buffer); })) {
                break;
            }
            std::uint32_t bytes = ReadNextBlock(sound);
            if (bytes == 0 && source.looping) {
                RewindDecoder(sound);
                bytes = ReadNextBlock(sound);
            }
            if (bytes > 0 && Upload(sound, buffer, bytes)) {
                CallAl([&] { alSourceQueueBuffers(source.name, 1, &buffer); });
            }
        }
    }
    if (IsRunning(source.name)) {
        return;
    }
    // Stopped: starved, or at the end of the sound.
    ALint queued = 0;
    if (!QuerySource(source.name, AL_BUFFERS_QUEUED, queued)) {
        return;
    }
    if (queued == 0 && !source.looping) {
        // Finished: wait at the start of the sound for the next play.
        if (CallAl([&] {
                alSourceQueueBuffers(source.name, static_cast<ALsizei>(sound.buffers.size()), sound.buffers.data());
            }) &&
            CallAl([&] { alSourceStop(source.name); })) {
            source.playing = false;
            Reprime(source);
        }
        return;
    }
    if (queued == 0) {
        RewindDecoder(sound);
        FillAndQueue(source);
    }
    if (CallAl([&] { alSourcePlay(source.name); })) {
        source.playing = true;
    }
}

bool SoundEngine::FillAndQueue(SoundSource& source) {
    SoundData& sound = *source.sound;
    bool filled = true;
    for (const ALuint buffer : sound.buffers) {
        const std::uint32_t bytes = ReadNextBlock(sound);
        // A buffer that got nothing stays out of the queue.
        if (bytes > 0) {
            filled = Upload(sound, buffer, bytes) && CallAl([&] { alSourceQueueBuffers(source.name, 1, &buffer); }) &&
                     filled;
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
        ALint processed = 0;
        if (source.sound != nullptr && QuerySource(source.name, AL_BUFFERS_PROCESSED, processed) && processed > 0) {
            RewindDecoder(*source.sound);
            for (ALint i = 0; i < processed; ++i) {
                ALuint buffer = 0;
                CallAl([&] { alSourceUnqueueBuffers(source.name, 1, &buffer); });
            }
            FillAndQueue(source);
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
