#pragma once

#include "core/Core_String.h"
#include "sound/Sound_SoundSource.h"
#include "tundra/Tundra_GameObject.h"

#include <cstdint>

class SoundEngine;
struct SoundData;

namespace Tundra {

// A sound effect in a layer: one sound loaded by the game's sound engine
// (the engine owns it) and, while it plays, one engine source. Each frame it
// places the source, applies its intensity, and gives the source back once
// the engine found the sound finished or stopped; the next Play takes a new
// one. Without a sound, or without a sound device, nothing plays.
class Sound : public GameObject {
    TUN_DECLARE_CLASS(Sound);

    enum Positioning : std::uint32_t {
        // Listener-relative, never moved.
        kRelative = 0,
        // At the object, at the depth of the active listener's layer.
        kAtListenerDepth = 1,
        // At the object, at the depth of its own layer.
        kAtOwnDepth = 2,
    };

    // No sound and no source until Load runs.
    Sound() = default;
    Sound(const Core::String& path, std::uint32_t positioning, float intensity, bool looping, float introFraction,
          bool noStreaming);
    // Set up anew from the source's path and settings, so that it shares a
    // static sound; takes its volume, pitch, name and position.
    Sound(const Sound& other);
    Sound& operator=(const Sound&) = delete;
    ~Sound() override;

    void PushToLua(lua_State* state) const override;
    // After the object part: the file name alone, positioning, intro
    // fraction, no streaming, volume, pitch, intensity, looping, playing.
    // Playing is stored for a looping sound started and not stopped or
    // paused since; never for a one-shot, whose end the device times on its
    // own clock (two saves of the same state would differ).
    void Save(Core::File& file) const override;
    // The sound comes back from "\Resources\Sounds\<name>" below the game's
    // directory and plays again when it was stored playing. A name that is
    // not a plain file name loads nothing and is reported.
    void Load(Core::File& file) override;
    // Stops the sound; the source is given back by clean-up.
    void Destroy() override;
    // Volume, pitch, intensity, looping and playing.
    void NetworkSyncSend(Core::File& file) const override;
    void NetworkSyncReceive(Core::File& file) override;
    void EngineUpdate(float dt) override;
    void Cleanup() override;

    // Takes the engine's static sound of the same path and fraction when
    // there is one; otherwise loads it, streamed when it is long, unless
    // noStreaming or an intro fraction asks for a static load. Gives back
    // any source held; volume and pitch start at 1.
    void Setup(const Core::String& path, std::uint32_t positioning, float intensity, bool looping,
               float introFraction, bool noStreaming);

    // Takes a source when it holds none; restart stops it first. False when
    // nothing was started, also when it was playing already.
    bool Play(bool restart);
    // The source stays with the object until the next update.
    void Stop();
    void Pause();
    void Rewind();
    bool IsPlaying() const;
    // Negative volumes and pitches of 0 or less are ignored.
    void SetVolume(float volume);
    float GetVolume() const;
    void SetPitch(float pitch);
    float GetPitch() const;
    // The source's reference distance, applied at the next update.
    void SetIntensity(float intensity) { m_intensity = intensity; }
    float GetIntensity() const { return m_intensity; }
    void SetLooping(bool looping);
    bool GetLooping() const { return m_looping; }
    const Core::String& GetFileName() const { return m_filePath; }
    std::uint32_t GetPositioning() const { return m_positioning; }

private:
    friend class SoundTestAccess;

    // The game's sound engine; null without a game.
    static SoundEngine* Engine();
    // The source's value while the engine knows the source, else stored.
    float SourceValueOr(float (SoundEngine::*get)(SoundSourceHandle), float stored) const;
    // Where the source belongs in the world, for the positioned modes.
    float SourceDepth() const;
    void ReleaseHeldSource();

    SoundData* m_sound = nullptr;
    SoundSourceHandle m_source;
    Core::String m_filePath;
    bool m_looping = false;
    float m_introFraction = 0.0f;
    std::uint32_t m_positioning = kRelative;
    float m_volume = 1.0f;
    float m_pitch = 1.0f;
    float m_intensity = 0.0f;
    bool m_noStreaming = false;
    // Set by a Play that started the sound, cleared by Stop, Pause and a
    // new Setup: the game's own account, which the device's cannot change.
    bool m_started = false;
};

}  // namespace Tundra
