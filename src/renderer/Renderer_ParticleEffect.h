#pragma once

#include "core/Core_RefPtr.h"
#include "renderer/Renderer_AlphaBlendingState.h"
#include "renderer/Renderer_Effect.h"

#include <cstdint>

namespace Renderer {

// The effect of particle draws: the drawing code sets the two blend factors
// of the particle system before each draw and UpdateStates pushes them into
// the blending state of the effect's pass.
class ParticleEffect : public Effect {
    TUN_DECLARE_CLASS(ParticleEffect);

    ParticleEffect() = default;
    // A clone's blend target is the blending state at the same place in the
    // clone's own passes, so that it works like its source; empty when the
    // source's target is not in one of its passes.
    ParticleEffect(const ParticleEffect& other);
    ParticleEffect& operator=(const ParticleEffect&) = delete;

    // Copies the two factors into the blend target, leaving its enabled flag
    // alone; nothing without a target.
    void UpdateStates() override;

    // The very blending state a pass holds, not a copy.
    Core::RefPtr<AlphaBlendingState> blendTarget;
    // Engine blend factors: source alpha and one minus source alpha at first.
    std::uint32_t sourceFactor = 6;
    std::uint32_t destinationFactor = 7;
};

}  // namespace Renderer
