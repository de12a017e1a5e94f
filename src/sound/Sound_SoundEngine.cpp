#include "sound/Sound_SoundEngine.h"

#include "sound/Sound_SoundEngineTestHooks.h"

namespace {
int g_stopAllCount = 0;
}

int& GetStopAllCountForTesting() { return g_stopAllCount; }

bool SoundEngine::Initialize(int, int) { return true; }

bool SoundEngine::SetDistanceModel(int) { return true; }

void SoundEngine::StopAll() { ++g_stopAllCount; }

bool SoundEngine::SetMasterVolume(float volume) {
    m_masterVolume = volume;
    return true;
}
