#pragma once

#include "mygame/MyGame_PauseableParticleSystem.h"

#include <cstdint>

// The particle effect of a debuff: emitting while attached; once told to stop
// it lingers for a second while its particles run out, then it is finished.
class PS_BaseDebuff : public PauseableParticleSystem {
    TUN_DECLARE_CLASS(PS_BaseDebuff);
    PS_BaseDebuff() = default;
    PS_BaseDebuff(const Core::String& texturePath, std::uint32_t count, float boundingSize, const Vector2D& gravity);
    PS_BaseDebuff(const PS_BaseDebuff& other);

    // The flags and linger time after the particle system.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Re-armed: not stopping, not finished, a full linger time; an effect
    // still lingering keeps on lingering.
    void OnStart() override;
    // Counts the linger time down while stopping.
    void Update(float dt) override;

    // No more emission; the linger countdown starts.
    void Stop();
    // Once the linger time ran out.
    virtual void OnFinished() {}

    bool IsStopping() const { return m_stopping != 0; }
    bool IsFinished() const { return m_finished != 0; }
    float GetLingerTime() const { return m_lingerTime; }

private:
    std::uint8_t m_stopping = 0;
    float m_lingerTime = 1.0f;
    std::uint8_t m_finished = 0;
};
