#include "renderer/Renderer_Effect.h"

namespace Renderer {

TUN_DEFINE_CLASS_NAMED(Effect, "Renderer::Effect");

Effect::Effect(const Effect& other)
    : Core::Object(other),
      blended(other.blended),
      m_techniques(Core::CloneElements(other.m_techniques)),
      m_textures(other.m_textures) {}

void Effect::AddTechnique(const Core::RefPtr<Technique>& technique) {
    if (technique) {
        m_techniques.push_back(technique);
    }
}

Core::RefPtr<Technique> Effect::GetTechnique(std::uint32_t index) const {
    return index < m_techniques.size() ? m_techniques[index] : nullptr;
}

void Effect::SetTexture(std::uint32_t slot, const Core::RefPtr<ITexture>& texture) {
    if (slot < kTextureSlotCount) {
        m_textures[slot] = texture;
    }
}

Core::RefPtr<ITexture> Effect::GetTexture(std::uint32_t slot) const {
    return slot < kTextureSlotCount ? m_textures[slot] : nullptr;
}

void Effect::UpdateStates() {}

}  // namespace Renderer
