#pragma once

#include "tundra/Tundra_ParticleSystem.h"

// A particle system of the stage that stands still while the game is paused:
// no emission, no particle motion, no update.
class PauseableParticleSystem : public Tundra::ParticleSystem {
    TUN_DECLARE_CLASS(PauseableParticleSystem);
    PauseableParticleSystem() = default;
    PauseableParticleSystem(const Core::String& texturePath, std::uint32_t count, float boundingSize,
                            const Vector2D& gravity);
    PauseableParticleSystem(const PauseableParticleSystem& other);

    void EngineUpdate(float dt) override;
};
