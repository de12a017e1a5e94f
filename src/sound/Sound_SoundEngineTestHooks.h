#pragma once

#include "sound/Sound_SoundEngine.h"

#include <cstddef>
#include <cstdint>

// Where the engine last placed the listener, and how often any engine did.
const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine);
int& GetListenerPositionCountForTesting();

// How often every source was stopped, for tests of the level change.
int& GetStopAllCountForTesting();

// Called by every streaming thread, outside the source lock, before it
// decodes the blocks of one stream; null for none.
using StreamDecodeHook = void (*)();
void SetStreamDecodeHookForTesting(StreamDecodeHook hook);

// What tests look at inside an engine.
class SoundEngineTestAccess {
public:
    static std::size_t SourceCount(const SoundEngine& engine) { return engine.m_sources.size(); }
    static std::size_t LoadedSoundCount(const SoundEngine& engine) { return engine.m_loadedSounds.size(); }
    static std::size_t ThreadCount(const SoundEngine& engine) { return engine.m_threads.GetThreadCount(); }
    static std::size_t MutexCount(const SoundEngine& engine) { return engine.m_threads.GetMutexCount(); }
    static std::size_t ConditionCount(const SoundEngine& engine) { return engine.m_threads.GetConditionCount(); }
    static bool HasLocks(const SoundEngine& engine) {
        return engine.m_sourceLock != nullptr || engine.m_endLock != nullptr || engine.m_endCondition != nullptr;
    }
    // The OpenAL name of a live source, 0 for a handle that names none.
    static std::uint32_t SourceName(SoundEngine& engine, SoundSourceHandle handle);
    static SoundSource::Mode SourceMode(SoundEngine& engine, SoundSourceHandle handle);
    // An integer property of a live source as OpenAL reports it (AL_SOURCE_STATE,
    // AL_SAMPLE_OFFSET, AL_BUFFERS_QUEUED, ...), -1 when there is none.
    static int SourceProperty(SoundEngine& engine, SoundSourceHandle handle, int property);
    // Holds the source lock, as a long streaming pass would, until Release.
    static bool HoldSourceLock(SoundEngine& engine);
    static void ReleaseSourceLock(SoundEngine& engine);
};
