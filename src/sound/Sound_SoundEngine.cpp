#include "sound/Sound_SoundEngine.h"

#include "sound/Sound_SoundEngineTestHooks.h"

namespace {
int g_stopAllCount = 0;
int g_listenerPositionCount = 0;
}  // namespace

const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine) { return engine.m_listenerPosition; }

int& GetListenerPositionCountForTesting() { return g_listenerPositionCount; }

int& GetStopAllCountForTesting() { return g_stopAllCount; }

bool SoundEngine::Initialize(int, int) { return true; }

bool SoundEngine::SetDistanceModel(int) { return true; }

void SoundEngine::StopAll() { ++g_stopAllCount; }

bool SoundEngine::SetMasterVolume(float volume) {
    m_masterVolume = volume;
    return true;
}

bool SoundEngine::SetListenerPosition(const Vector3D& position) {
    m_listenerPosition = position;
    ++g_listenerPositionCount;
    return true;
}
