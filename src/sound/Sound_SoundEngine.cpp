#include "sound/Sound_SoundEngine.h"

#include "pal/PAL_ThreadPriority.h"
#include "sound/Sound_AlCall.h"
#include "sound/Sound_DecoderTable.h"
#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundEngineTestHooks.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

int g_stopAllCount = 0;
int g_listenerPositionCount = 0;
// The decoder table is the process's: it is cleared only when the last
// engine goes, so that one engine's end leaves another's Ogg files readable.
int g_liveEngines = 0;

constexpr std::array<ALenum, 7> kDistanceModels = {
    AL_NONE,
    AL_INVERSE_DISTANCE,
    AL_INVERSE_DISTANCE_CLAMPED,
    AL_LINEAR_DISTANCE,
    AL_LINEAR_DISTANCE_CLAMPED,
    AL_EXPONENT_DISTANCE,
    AL_EXPONENT_DISTANCE_CLAMPED,
};

Core::String AlString(ALenum name) {
    const ALchar* text = alGetString(name);
    return text != nullptr ? Core::String(text) : Core::String();
}

}  // namespace

const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine) { return engine.GetListenerPosition(); }

int& GetListenerPositionCountForTesting() { return g_listenerPositionCount; }

int& GetStopAllCountForTesting() { return g_stopAllCount; }

SoundEngine::SoundEngine() {
    // The list is NUL-separated names ended by an empty one.
    const ALCchar* names = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
    const ALCchar* defaultName = alcGetString(nullptr, ALC_DEFAULT_DEVICE_SPECIFIER);
    for (const ALCchar* name = names; name != nullptr && *name != '\0'; name += std::strlen(name) + 1) {
        if (defaultName != nullptr && std::strcmp(name, defaultName) == 0) {
            m_defaultDeviceIndex = static_cast<int>(m_deviceNames.size());
        }
        m_deviceNames.emplace_back(name);
    }
    FillDecoderTable();
    ++g_liveEngines;
}

SoundEngine::~SoundEngine() {
    if (m_initialized) {
        // The thread first: it must not meet a source being freed. Then the
        // buffers and sources go while their context is still current.
        StopStreamingThread();
        ReleaseEverything();
        Shutdown();
    } else {
        StopStreamingThread();
        DestroyLocks();
        ForgetEverything();
    }
    if (--g_liveEngines == 0) {
        ClearDecoderTable();
    }
}

bool SoundEngine::Initialize(int deviceIndex, std::uint32_t refillMilliseconds) {
    if (m_initialized) {
        return false;
    }
    m_refillMilliseconds = refillMilliseconds;
    if (!CreateLocks()) {
        return false;
    }
    m_threadFinished = false;
    m_streamingThread =
        m_threads.CreateThread(nullptr, &StreamingThread, this, ThreadPriorityNormal(), false, "sound streaming");
    if (m_streamingThread == nullptr) {
        DestroyLocks();
        return false;
    }
    if (!OpenDevice(deviceIndex)) {
        return FailInitialize();
    }
    bool ready = false;
    {
        const SourceLock lock(m_sourceLock);
        // The first record is the default source, made only to prove that
        // the context gives sources.
        ready = lock && AppendSource(true) != nullptr &&
                CallAl([&] { alGetFloatv(AL_SPEED_OF_SOUND, &m_speedOfSound); }) && ApplyDistanceModel(m_distanceModel);
        if (ready) {
            m_vendor = AlString(AL_VENDOR);
            m_version = AlString(AL_VERSION);
            m_renderer = AlString(AL_RENDERER);
        }
    }
    if (!ready) {
        return FailInitialize();
    }
    m_initialized = true;
    return true;
}

bool SoundEngine::FailInitialize() {
    StopStreamingThread();
    if (m_context != nullptr) {
        ReleaseEverything();
    }
    CloseDevice();
    DestroyLocks();
    m_speedOfSound = 0.0f;
    return false;
}

void SoundEngine::Shutdown() {
    if (!m_initialized) {
        return;
    }
    StopStreamingThread();
    DestroyLocks();
    m_vendor.clear();
    m_version.clear();
    m_renderer.clear();
    m_speedOfSound = 0.0f;
    CloseDevice();
    m_initialized = false;
}

bool SoundEngine::CreateLocks() {
    m_sourceLock = m_threads.CreateMutex(0);
    m_endLock = m_threads.CreateMutex(0);
    m_endCondition = m_threads.CreateCondition();
    if (m_sourceLock == nullptr || m_endLock == nullptr || m_endCondition == nullptr) {
        DestroyLocks();
        return false;
    }
    return true;
}

void SoundEngine::DestroyLocks() {
    m_threads.DestroyMutex(m_sourceLock);
    m_threads.DestroyMutex(m_endLock);
    m_threads.DestroyCondition(m_endCondition);
    m_sourceLock = nullptr;
    m_endLock = nullptr;
    m_endCondition = nullptr;
}

void SoundEngine::StopStreamingThread() {
    if (m_streamingThread == nullptr) {
        return;
    }
    // The end lock is held from the stop request until the wait begins, and
    // the flag is tested in a loop: neither a missed signal nor a spurious
    // wake-up lets shut-down go on while the thread still runs.
    if (ThreadManager::LockMutex(m_endLock)) {
        m_threads.StopThread(m_streamingThread, false);
        while (!m_threadFinished && ThreadManager::WaitCondition(m_endCondition, m_endLock)) {
        }
        ThreadManager::UnlockMutex(m_endLock);
    } else {
        m_threads.StopThread(m_streamingThread, false);
    }
    // After its signal the thread only leaves its function and unregisters.
    m_threads.WaitForThreads(ThreadManager::kStopWaitLimit);
    m_streamingThread = nullptr;
}

void SoundEngine::SignalThreadFinished() {
    if (ThreadManager::LockMutex(m_endLock)) {
        m_threadFinished = true;
        ThreadManager::SignalCondition(m_endCondition, false);
        ThreadManager::UnlockMutex(m_endLock);
    }
}

bool SoundEngine::OpenDevice(int deviceIndex) {
    int index = m_defaultDeviceIndex;
    if (deviceIndex >= 0 && deviceIndex < static_cast<int>(m_deviceNames.size())) {
        index = deviceIndex;
    }
    const char* name = index < static_cast<int>(m_deviceNames.size()) ? m_deviceNames[index].c_str() : nullptr;
    m_device = alcOpenDevice(name);
    if (m_device == nullptr) {
        return false;
    }
    m_context = alcCreateContext(m_device, nullptr);
    if (m_context == nullptr || alcMakeContextCurrent(m_context) == ALC_FALSE) {
        CloseDevice();
        return false;
    }
    return true;
}

void SoundEngine::CloseDevice() {
    if (m_context != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
        m_context = nullptr;
    }
    if (m_device != nullptr) {
        alcCloseDevice(m_device);
        m_device = nullptr;
    }
}

bool SoundEngine::SetListenerPosition(const Vector3D& position) {
    ++g_listenerPositionCount;
    const SourceLock lock(m_sourceLock);
    if (!lock || !CallAl([&] { alListener3f(AL_POSITION, position.x, position.y, position.z); })) {
        return false;
    }
    m_listenerPosition = position;
    return true;
}

bool SoundEngine::SetMasterVolume(float gain) {
    const SourceLock lock(m_sourceLock);
    if (!lock || !CallAl([&] { alListenerf(AL_GAIN, gain); })) {
        return false;
    }
    m_masterGain = gain;
    return true;
}

bool SoundEngine::SetDistanceModel(std::uint32_t model) {
    const SourceLock lock(m_sourceLock);
    return lock && ApplyDistanceModel(model);
}

bool SoundEngine::ApplyDistanceModel(std::uint32_t model) {
    if (model < kDistanceModels.size() && !CallAl([&] { alDistanceModel(kDistanceModels[model]); })) {
        return false;
    }
    m_distanceModel = model;
    return true;
}

void SoundEngine::StopAll() {
    ++g_stopAllCount;
    const SourceLock lock(m_sourceLock);
    if (lock) {
        ReleaseEverything();
    }
}

void SoundEngine::ReleaseEverything() {
    for (SoundSource& source : m_sources) {
        Stop(source);
    }
    while (!m_sources.empty()) {
        FreeSource(m_sources.begin());
    }
    for (std::unique_ptr<SoundData>& sound : m_loadedSounds) {
        ReleaseSound(std::move(sound));
    }
    m_loadedSounds.clear();
    m_staticCache.clear();
    std::erase_if(m_retiredSounds, [](const std::unique_ptr<SoundData>& sound) { return !sound->lent; });
}

void SoundEngine::ReleaseSound(std::unique_ptr<SoundData> sound) {
    if (!sound->lent) {
        ReleaseSoundData(*sound);
        return;
    }
    DeleteSoundBuffers(*sound);
    ++sound->epoch;
    m_retiredSounds.push_back(std::move(sound));
}

void SoundEngine::ForgetEverything() {
    m_sources.clear();
    m_loadedSounds.clear();
    m_retiredSounds.clear();
    m_staticCache.clear();
}

bool SoundEngineTestAccess::HoldSourceLock(SoundEngine& engine) {
    return ThreadManager::LockMutex(engine.m_sourceLock);
}

void SoundEngineTestAccess::ReleaseSourceLock(SoundEngine& engine) { ThreadManager::UnlockMutex(engine.m_sourceLock); }
