#include "mygame/MyGame_PauseableParticleSystem.h"

#include "mygame/MyGame_Globals.h"

TUN_DEFINE_CLASS(PauseableParticleSystem)

PauseableParticleSystem::PauseableParticleSystem(const Core::String& texturePath, std::uint32_t count,
                                                 float boundingSize, const Vector2D& gravity)
    : ParticleSystem(texturePath, count, boundingSize, gravity) {}

PauseableParticleSystem::PauseableParticleSystem(const PauseableParticleSystem& other) : ParticleSystem(other) {}

void PauseableParticleSystem::EngineUpdate(float dt) {
    if (Globals().paused != 0) {
        return;
    }
    ParticleSystem::EngineUpdate(dt);
}
