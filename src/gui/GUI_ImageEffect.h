#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_UnregisteredClass.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_TextureUnitStates.h"

#include <cstdint>

namespace GUI {

// The effect of the GUI's image and glyph quads: the engine's text effect
// (modulated texture clamped to the edge, depth test without writes, alpha
// blending, alpha test, lighting off) whose filter follows filterSelector
// (0 nearest, 1 linear), which the quad drawn next sets before the queue
// applies the effect.
class ImageEffect : public Renderer::Effect {
    TUN_DECLARE_UNREGISTERED_CLASS(ImageEffect);

    static constexpr std::uint32_t kNearest = 0;
    static constexpr std::uint32_t kLinear = 1;

    explicit ImageEffect(std::uint32_t filter = kNearest);
    // The copy's pass holds copies of the states; its filter follows its own.
    ImageEffect(const ImageEffect& other);
    ImageEffect& operator=(const ImageEffect&) = delete;

    // Copies filterSelector into the texture-unit state.
    void UpdateStates() override;

    // The state the pass applies (the same object, not a copy).
    const Core::RefPtr<Renderer::TextureUnit0State>& GetTextureUnitState() const { return m_textureUnit; }

    std::uint32_t filterSelector = kNearest;

private:
    Core::RefPtr<Renderer::TextureUnit0State> m_textureUnit;
};

}  // namespace GUI
