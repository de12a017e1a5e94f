#pragma once

#include "math/Math_Vector3D.h"

// The game's audio engine. Until the audio subsystem fills it in it makes
// no sound: it only keeps the master volume.
class SoundEngine {
public:
    SoundEngine() = default;
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;
    ~SoundEngine() = default;

    // Device index (-1 the default device) and streaming refill period in ms.
    bool Initialize(int device, int refillMilliseconds);
    bool SetDistanceModel(int model);
    // Stops every source; sources and loaded sounds become invalid.
    void StopAll();
    bool SetMasterVolume(float volume);
    float GetMasterVolume() const { return m_masterVolume; }
    bool SetListenerPosition(const Vector3D& position);

private:
    friend const Vector3D& GetListenerPositionForTesting(const SoundEngine& engine);

    float m_masterVolume = 1.0f;
    Vector3D m_listenerPosition;
};
