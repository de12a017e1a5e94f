#include "tundra/Tundra_Sound.h"

#include "core/Core_ErrorLog.h"
#include "core/Core_File.h"
#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundEngine.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_SaveFolder.h"

namespace Tundra {
namespace {

// The part of the saved and the per-tick network state that follows playing.
struct PlayState {
    float volume = 1.0f;
    float pitch = 1.0f;
    float intensity = 0.0f;
    bool looping = false;
    bool playing = false;

    void Write(Core::File& file) const {
        file.WriteF32(volume);
        file.WriteF32(pitch);
        file.WriteF32(intensity);
        file.WriteU8(looping ? 1 : 0);
        file.WriteU8(playing ? 1 : 0);
    }

    void Read(Core::File& file) {
        file.ReadF32(volume);
        file.ReadF32(pitch);
        file.ReadF32(intensity);
        looping = file.ReadFlag();
        playing = file.ReadFlag();
    }
};

// The saved name below the sounds folder. Only a plain file name: a stored
// name never leads elsewhere ("..\..\x.ogg"); a refused one is reported.
Core::String SavedSoundPath(const Core::String& name) {
    if (name.empty()) {
        return {};
    }
    if (!SaveFolder::IsPlainName(name)) {
        Core::LogError("sound file name refused (not a plain file name): \"" + Core::PrintableForLog(name) + "\"");
        return {};
    }
    return Game::GetDirectory() + "\\Resources\\Sounds\\" + name;
}

bool IsIntroFraction(float fraction) { return fraction >= 0.0f && fraction <= 1.0f; }

}  // namespace

Sound::Sound(const Core::String& path, std::uint32_t positioning, float intensity, bool looping, float introFraction,
             bool noStreaming) {
    Setup(path, positioning, intensity, looping, introFraction, noStreaming);
}

Sound::Sound(const Sound& other) : GameObject() {
    Setup(other.m_filePath, other.m_positioning, other.m_intensity, other.m_looping, other.m_introFraction,
          other.m_noStreaming);
    SetVolume(other.m_volume);
    SetPitch(other.m_pitch);
    SetName(other.GetName());
    SetPosition(other.GetPosition());
    // The copy starts without a script: the hook runs in the source's.
    other.RunHook("OnClone", true, &other);
}

Sound::~Sound() { ReleaseHeldSource(); }

void Sound::PushToLua(lua_State* state) const { PushToLuaAs(state, "Sound"); }

SoundEngine* Sound::Engine() {
    const Game* game = Game::GetInstance();
    return game != nullptr ? game->GetSoundEngine() : nullptr;
}

void Sound::Setup(const Core::String& path, std::uint32_t positioning, float intensity, bool looping,
                  float introFraction, bool noStreaming) {
    ReleaseHeldSource();
    m_started = false;
    m_noStreaming = noStreaming;
    m_sound = nullptr;
    SoundEngine* engine = Engine();
    if (engine != nullptr && !path.empty()) {
        m_sound = engine->FindLoadedSound(path, introFraction);
        if (m_sound == nullptr) {
            m_sound = introFraction == 0.0f && !noStreaming
                          ? engine->LoadSound(path, SoundEngine::kStreamThreshold)
                          : engine->LoadStaticSound(path, introFraction);
        }
    }
    if (m_sound != nullptr) {
        m_filePath = m_sound->path;
    }
    m_introFraction = introFraction;
    m_intensity = intensity;
    m_looping = looping;
    m_positioning = positioning;
    m_volume = 1.0f;
    m_pitch = 1.0f;
}

bool Sound::Play(bool restart) {
    SoundEngine* engine = Engine();
    if (engine == nullptr) {
        return false;
    }
    if (!m_source) {
        m_source = engine->CreateSource(m_sound, m_positioning == kRelative, m_looping);
    } else if (restart) {
        engine->StopSource(m_source);
    }
    if (!m_source) {
        return false;
    }
    if (m_volume >= 0.0f) {
        engine->SetSourceGain(m_source, m_volume);
    }
    if (m_pitch > 0.0f) {
        engine->SetSourcePitch(m_source, m_pitch);
    }
    engine->SetSourceLooping(m_source, m_looping);
    if (!engine->PlaySource(m_source)) {
        return false;
    }
    m_started = true;
    return true;
}

void Sound::Stop() {
    m_started = false;
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->StopSource(m_source);
    }
}

void Sound::Pause() {
    m_started = false;
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->PauseSource(m_source);
    }
}

void Sound::Rewind() {
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->RewindSource(m_source);
    }
}

bool Sound::IsPlaying() const {
    SoundEngine* engine = Engine();
    return engine != nullptr && m_source && engine->IsSourcePlaying(m_source);
}

void Sound::SetVolume(float volume) {
    // Not NaN either: it would reach the saves.
    if (!(volume >= 0.0f)) {
        return;
    }
    m_volume = volume;
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->SetSourceGain(m_source, volume);
    }
}

float Sound::GetVolume() const { return SourceValueOr(&SoundEngine::GetSourceGain, m_volume); }

void Sound::SetPitch(float pitch) {
    if (!(pitch > 0.0f)) {
        return;
    }
    m_pitch = pitch;
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->SetSourcePitch(m_source, pitch);
    }
}

float Sound::GetPitch() const { return SourceValueOr(&SoundEngine::GetSourcePitch, m_pitch); }

void Sound::SetLooping(bool looping) {
    m_looping = looping;
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->SetSourceLooping(m_source, looping);
    }
}

float Sound::SourceValueOr(float (SoundEngine::*get)(SoundSourceHandle), float stored) const {
    // A source the engine let go of (StopAll) has no value of its own.
    SoundEngine* engine = Engine();
    if (engine == nullptr || !m_source || engine->GetSourceSound(m_source) == nullptr) {
        return stored;
    }
    return (engine->*get)(m_source);
}

float Sound::SourceDepth() const {
    if (m_positioning == kAtOwnDepth) {
        return GetLayer() != nullptr ? GetLayer()->GetZOrder() : 0.0f;
    }
    const Camera* listener = Camera::GetActiveListener();
    const Layer* layer = listener != nullptr ? listener->GetLayer() : nullptr;
    return layer != nullptr ? layer->GetZOrder() : 0.0f;
}

void Sound::ReleaseHeldSource() {
    if (SoundEngine* engine = Engine(); engine != nullptr && m_source) {
        engine->ReleaseSource(m_source);
    }
    m_source = {};
}

void Sound::EngineUpdate(float dt) {
    GameObject::EngineUpdate(dt);
    Update(dt);
    // The hooks may have ended the game.
    SoundEngine* engine = Engine();
    if (engine == nullptr || !m_source) {
        return;
    }
    engine->SetSourceReferenceDistance(m_source, m_intensity);
    if (m_positioning == kAtListenerDepth || m_positioning == kAtOwnDepth) {
        engine->SetSourcePosition(m_source, {GetPositionX(), GetPositionY(), SourceDepth()});
    }
    // Finished or stopped: the next Play takes a new source.
    if (!engine->IsSourceActive(m_source)) {
        ReleaseHeldSource();
    }
}

void Sound::Destroy() {
    GameObject::Destroy();
    Stop();
}

void Sound::Cleanup() {
    GameObject::Cleanup();
    ReleaseHeldSource();
}

void Sound::Save(Core::File& file) const {
    GameObject::Save(file);
    file << GetFileNameFromPath(m_filePath);
    file.WriteU32(m_positioning);
    file.WriteF32(m_introFraction);
    file.WriteU8(m_noStreaming ? 1 : 0);
    const bool playing = !Game::IsWritingStateHash() && m_looping && m_started;
    PlayState{GetVolume(), GetPitch(), m_intensity, m_looping, playing}.Write(file);
}

void Sound::Load(Core::File& file) {
    GameObject::Load(file);
    Core::String name;
    file >> name;
    std::uint32_t positioning = kRelative;
    float introFraction = 0.0f;
    file.ReadU32(positioning);
    file.ReadF32(introFraction);
    const bool noStreaming = file.ReadFlag();
    PlayState state;
    state.Read(file);
    if (file.HasFailed()) {
        return;
    }
    if (positioning > kAtOwnDepth || !IsIntroFraction(introFraction)) {
        file.SetFailed();
        return;
    }
    Setup(SavedSoundPath(name), positioning, state.intensity, state.looping, introFraction, noStreaming);
    SetVolume(state.volume);
    SetPitch(state.pitch);
    if (state.playing) {
        Play(false);
    }
}

void Sound::NetworkSyncSend(Core::File& file) const {
    GameObject::NetworkSyncSend(file);
    PlayState{GetVolume(), GetPitch(), m_intensity, m_looping, IsPlaying()}.Write(file);
}

void Sound::NetworkSyncReceive(Core::File& file) {
    GameObject::NetworkSyncReceive(file);
    PlayState state;
    state.Read(file);
    if (file.HasFailed()) {
        return;
    }
    SetLooping(state.looping);
    m_intensity = state.intensity;
    SetVolume(state.volume);
    SetPitch(state.pitch);
    if (!state.playing) {
        Stop();
    } else if (!IsPlaying()) {
        Play(true);
    }
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Sound)
