#include "renderer/Renderer_ParticleEffect.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(ParticleEffect, "Renderer::ParticleEffect");

ParticleEffect::ParticleEffect(const ParticleEffect& other)
    : Effect(other), sourceFactor(other.sourceFactor), destinationFactor(other.destinationFactor) {
    if (!other.blendTarget) {
        return;
    }
    // The clone has the source's shape: find the target's place there and
    // take the clone's state at that place.
    for (std::uint32_t t = 0; t < other.GetTechniqueCount(); ++t) {
        const Core::RefPtr<Technique> technique = other.GetTechnique(t);
        for (std::uint32_t p = 0; p < technique->GetPassCount(); ++p) {
            const Core::RefPtr<Pass> pass = technique->GetPass(p);
            for (std::uint32_t s = 0; s < pass->GetStateCount(); ++s) {
                if (pass->GetState(s).Get() == other.blendTarget.Get()) {
                    blendTarget = static_cast<AlphaBlendingState*>(GetTechnique(t)->GetPass(p)->GetState(s).Get());
                    return;
                }
            }
        }
    }
}

void ParticleEffect::UpdateStates() {
    if (!blendTarget) {
        return;
    }
    blendTarget->sourceFactor = static_cast<std::int32_t>(sourceFactor);
    blendTarget->destinationFactor = static_cast<std::int32_t>(destinationFactor);
}

}  // namespace Renderer
