#include "sound/Sound_SoundEngine.h"

#include "sound/Sound_SoundEngineTestHooks.h"

namespace {
int g_stopAllCount = 0;
int g_listenerPositionCount = 0;
}  // namespace

const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine) { return engine.GetListenerPosition(); }

int& GetListenerPositionCountForTesting() { return g_listenerPositionCount; }

int& GetStopAllCountForTesting() { return g_stopAllCount; }

SoundEngine::SoundEngine() = default;
struct SoundData {};
SoundEngine::~SoundEngine() = default;
bool SoundEngine::Initialize(int, std::uint32_t) { return false; }
void SoundEngine::Shutdown() {}
bool SoundEngine::SetDistanceModel(std::uint32_t model) {
    m_distanceModel = model;
    return true;
}
void SoundEngine::StopAll() { ++g_stopAllCount; }
bool SoundEngine::SetMasterVolume(float volume) {
    m_masterGain = volume;
    return true;
}
bool SoundEngine::SetListenerPosition(const Vector3D& position) {
    m_listenerPosition = position;
    ++g_listenerPositionCount;
    return true;
}
SoundSourceHandle SoundEngine::CreateSource(SoundData*, bool, bool) { return {}; }
bool SoundEngine::PlaySource(SoundSourceHandle) { return false; }
bool SoundEngine::PauseSource(SoundSourceHandle) { return false; }
bool SoundEngine::IsSourcePlaying(SoundSourceHandle) { return false; }
bool SoundEngine::IsSourceActive(SoundSourceHandle) { return false; }
bool SoundEngine::RewindSource(SoundSourceHandle) { return false; }
bool SoundEngine::StopSource(SoundSourceHandle) { return false; }
bool SoundEngine::ReleaseSource(SoundSourceHandle) { return false; }
bool SoundEngine::SetSourceLooping(SoundSourceHandle, bool) { return false; }
bool SoundEngine::GetSourceLooping(SoundSourceHandle) { return false; }
bool SoundEngine::SetSourceGain(SoundSourceHandle, float) { return false; }
float SoundEngine::GetSourceGain(SoundSourceHandle) { return 0.0f; }
bool SoundEngine::SetSourcePitch(SoundSourceHandle, float) { return false; }
float SoundEngine::GetSourcePitch(SoundSourceHandle) { return 0.0f; }
bool SoundEngine::SetSourcePosition(SoundSourceHandle, const Vector3D&) { return false; }
Vector3D SoundEngine::GetSourcePosition(SoundSourceHandle) { return {}; }
bool SoundEngine::SetSourceReferenceDistance(SoundSourceHandle, float) { return false; }
float SoundEngine::GetSourceReferenceDistance(SoundSourceHandle) { return 0.0f; }
SoundData* SoundEngine::GetSourceSound(SoundSourceHandle) { return nullptr; }
SoundData* SoundEngine::LoadSound(const Core::String&, std::uint32_t) { return nullptr; }
SoundData* SoundEngine::LoadStaticSound(const Core::String&, float) { return nullptr; }
SoundData* SoundEngine::LoadStreamedSound(const Core::String&, float, std::uint32_t) { return nullptr; }
SoundData* SoundEngine::FindLoadedSound(const Core::String&, float) const { return nullptr; }
