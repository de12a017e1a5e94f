#include "sound/Sound_AlCall.h"
#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundEngine.h"
#include "sound/Sound_SoundEngineTestHooks.h"

#include <AL/al.h>

#include <atomic>
#include <iterator>

namespace {
// Ids are never reused in a process, so an id names one record for good.
std::atomic<std::uint64_t> g_lastSourceId{0};
}  // namespace

template <typename Result, typename Action>
Result SoundEngine::WithLiveSource(SoundSourceHandle handle, Result fallback, Action&& action) {
    const SourceLock lock(m_sourceLock);
    SoundSource* source = lock ? FindLive(handle) : nullptr;
    return source != nullptr ? action(*source) : fallback;
}

SoundSource* SoundEngine::FindLive(SoundSourceHandle handle) {
    // Compared, never followed: the holder's record may be long gone.
    for (SoundSource& source : m_sources) {
        if (source.id == handle.id && &source == handle.record) {
            return &source;
        }
    }
    return nullptr;
}

bool SoundEngine::IsLoaded(const SoundData* sound) const {
    for (const std::unique_ptr<SoundData>& loaded : m_loadedSounds) {
        if (loaded.get() == sound) {
            return true;
        }
    }
    return false;
}

SoundSource* SoundEngine::AppendSource(bool relative) {
    SoundSource& source = m_sources.emplace_back();
    if (!CallAl([&] { alGenSources(1, &source.name); })) {
        m_sources.pop_back();
        return nullptr;
    }
    source.created = true;
    if (!CallAl([&] { alSourcei(source.name, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE); })) {
        FreeSource(std::prev(m_sources.end()));
        return nullptr;
    }
    source.relative = relative;
    source.id = ++g_lastSourceId;
    return &source;
}

void SoundEngine::FreeSource(std::list<SoundSource>::iterator record) {
    if (record->created) {
        Unbind(*record);
        CallAl([&] { alDeleteSources(1, &record->name); });
    }
    m_sources.erase(record);
}

bool SoundEngine::ApplyLooping(SoundSource& source, bool looping) {
    if (source.mode == SoundSource::Mode::Static &&
        !CallAl([&] { alSourcei(source.name, AL_LOOPING, looping ? AL_TRUE : AL_FALSE); })) {
        return false;
    }
    source.looping = looping;
    return true;
}

bool SoundEngine::Stop(SoundSource& source) {
    if (!CallAl([&] { alSourceStop(source.name); })) {
        return false;
    }
    source.playing = false;
    source.paused = false;
    return source.mode != SoundSource::Mode::Streamed || Reprime(source);
}

bool SoundEngine::Unbind(SoundSource& source) {
    Stop(source);
    source.mode = SoundSource::Mode::Unbound;
    source.primeWanted = false;
    source.finishing = false;
    if (!CallAl([&] { alSourcei(source.name, AL_BUFFER, 0); })) {
        return false;
    }
    source.sound = nullptr;
    return true;
}

bool SoundEngine::Bind(SoundSource& source, SoundData* sound) {
    Unbind(source);
    std::vector<ALuint>& buffers = sound->buffers;
    if (buffers.empty()) {
        return false;
    }
    if (buffers.size() == 1) {
        if (!CallAl([&] { alSourcei(source.name, AL_BUFFER, static_cast<ALint>(buffers[0])); })) {
            return false;
        }
        source.mode = SoundSource::Mode::Static;
        ApplyLooping(source, source.looping);
    } else if (sound->lent || sound->stale) {
        // Its buffers are being refilled, or hold the middle of the sound:
        // the streaming thread fills the queue from the start.
        ++sound->epoch;
        source.primeWanted = true;
        source.mode = SoundSource::Mode::Streamed;
    } else {
        if (!CallAl([&] { alSourceQueueBuffers(source.name, static_cast<ALsizei>(buffers.size()), buffers.data()); })) {
            return false;
        }
        const bool introAndLoop = buffers.size() == 2 && sound->introFraction != 0.0f;
        source.mode = introAndLoop ? SoundSource::Mode::IntroAndLoop : SoundSource::Mode::Streamed;
    }
    source.sound = sound;
    return true;
}

SoundSourceHandle SoundEngine::CreateSource(SoundData* sound, bool relative, bool looping) {
    const SourceLock lock(m_sourceLock);
    if (!lock || sound == nullptr || !IsLoaded(sound)) {
        return {};
    }
    SoundSource* source = AppendSource(relative);
    if (source == nullptr) {
        return {};
    }
    if (!ApplyLooping(*source, looping) || !Bind(*source, sound)) {
        FreeSource(std::prev(m_sources.end()));
        return {};
    }
    return {source, source->id};
}

bool SoundEngine::PlaySource(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [](SoundSource& source) {
        ALint state = 0;
        if (!QuerySource(source.name, AL_SOURCE_STATE, state) || state == AL_PLAYING ||
            !CallAl([&] { alSourcePlay(source.name); })) {
            return false;
        }
        source.playing = true;
        source.paused = false;
        // A stream found at its end and not yet back at its start plays again.
        source.finishing = false;
        return true;
    });
}

bool SoundEngine::PauseSource(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [](SoundSource& source) {
        if (!CallAl([&] { alSourcePause(source.name); })) {
            return false;
        }
        source.paused = true;
        return true;
    });
}

bool SoundEngine::IsSourcePlaying(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [](SoundSource& source) { return QueryPlaying(source.name); });
}

bool SoundEngine::IsSourceActive(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [](SoundSource& source) { return source.playing; });
}

bool SoundEngine::RewindSource(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [this](SoundSource& source) {
        const bool wasPlaying = QueryPlaying(source.name);
        return Reprime(source) && RewindAndResume(source, wasPlaying);
    });
}

bool SoundEngine::StopSource(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [this](SoundSource& source) { return Stop(source); });
}

bool SoundEngine::ReleaseSource(SoundSourceHandle handle) {
    const SourceLock lock(m_sourceLock);
    if (!lock) {
        return false;
    }
    for (auto record = m_sources.begin(); record != m_sources.end(); ++record) {
        if (record->id == handle.id && &*record == handle.record) {
            Stop(*record);
            FreeSource(record);
            return true;
        }
    }
    return false;
}

bool SoundEngine::SetSourceLooping(SoundSourceHandle handle, bool looping) {
    return WithLiveSource(handle, false,
                          [this, looping](SoundSource& source) { return ApplyLooping(source, looping); });
}

bool SoundEngine::GetSourceLooping(SoundSourceHandle handle) {
    return WithLiveSource(handle, false, [](SoundSource& source) { return source.looping; });
}

namespace {

// Hands a float to OpenAL and stores it in the record once OpenAL took it.
template <typename Apply>
bool SetStored(float& stored, float value, Apply&& apply) {
    if (!CallAl([&] { apply(value); })) {
        return false;
    }
    stored = value;
    return true;
}

}  // namespace

bool SoundEngine::SetSourceGain(SoundSourceHandle handle, float gain) {
    return WithLiveSource(handle, false, [gain](SoundSource& source) {
        return SetStored(source.gain, gain, [&](float value) { alSourcef(source.name, AL_GAIN, value); });
    });
}

float SoundEngine::GetSourceGain(SoundSourceHandle handle) {
    return WithLiveSource(handle, 0.0f, [](SoundSource& source) { return source.gain; });
}

bool SoundEngine::SetSourcePitch(SoundSourceHandle handle, float pitch) {
    return WithLiveSource(handle, false, [pitch](SoundSource& source) {
        return SetStored(source.pitch, pitch, [&](float value) { alSourcef(source.name, AL_PITCH, value); });
    });
}

float SoundEngine::GetSourcePitch(SoundSourceHandle handle) {
    return WithLiveSource(handle, 0.0f, [](SoundSource& source) { return source.pitch; });
}

bool SoundEngine::SetSourceReferenceDistance(SoundSourceHandle handle, float distance) {
    return WithLiveSource(handle, false, [distance](SoundSource& source) {
        return SetStored(source.referenceDistance, distance,
                         [&](float value) { alSourcef(source.name, AL_REFERENCE_DISTANCE, value); });
    });
}

float SoundEngine::GetSourceReferenceDistance(SoundSourceHandle handle) {
    return WithLiveSource(handle, 0.0f, [](SoundSource& source) { return source.referenceDistance; });
}

bool SoundEngine::SetSourcePosition(SoundSourceHandle handle, const Vector3D& position) {
    return WithLiveSource(handle, false, [&position](SoundSource& source) {
        if (!CallAl([&] { alSource3f(source.name, AL_POSITION, position.x, position.y, position.z); })) {
            return false;
        }
        source.position = position;
        return true;
    });
}

Vector3D SoundEngine::GetSourcePosition(SoundSourceHandle handle) {
    return WithLiveSource(handle, Vector3D(), [](SoundSource& source) { return source.position; });
}

SoundData* SoundEngine::GetSourceSound(SoundSourceHandle handle) {
    return WithLiveSource(handle, static_cast<SoundData*>(nullptr), [](SoundSource& source) { return source.sound; });
}

std::uint32_t SoundEngineTestAccess::SourceName(SoundEngine& engine, SoundSourceHandle handle) {
    return engine.WithLiveSource(handle, 0u, [](SoundSource& source) { return source.name; });
}

SoundSource::Mode SoundEngineTestAccess::SourceMode(SoundEngine& engine, SoundSourceHandle handle) {
    return engine.WithLiveSource(handle, SoundSource::Mode::Unbound, [](SoundSource& source) { return source.mode; });
}

int SoundEngineTestAccess::SourceProperty(SoundEngine& engine, SoundSourceHandle handle, int property) {
    return engine.WithLiveSource(handle, -1, [property](SoundSource& source) {
        ALint value = 0;
        return QuerySource(source.name, property, value) ? value : -1;
    });
}
