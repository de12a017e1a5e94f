#include "gui/GUI_ImageEffect.h"

#include "renderer/Renderer_DefaultEffects.h"

namespace GUI {
namespace {

// The texture-unit state the effect's pass applies.
Core::RefPtr<Renderer::TextureUnit0State> TextureUnitOf(const Renderer::Effect& effect) {
    const Core::RefPtr<Renderer::Pass> pass = effect.GetTechnique(0)->GetPass(0);
    for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i) {
        if (auto* unit = dynamic_cast<Renderer::TextureUnit0State*>(pass->GetState(i).Get())) {
            return Core::RefPtr<Renderer::TextureUnit0State>(unit);
        }
    }
    return nullptr;
}

}  // namespace

TUN_DEFINE_UNREGISTERED_CLASS(ImageEffect, "GUI::ImageEffect");

// The engine's text effect holds exactly these states; the copy owns its own.
ImageEffect::ImageEffect(std::uint32_t filter)
    : Renderer::Effect(*Renderer::CreateTextEffect()), filterSelector(filter), m_textureUnit(TextureUnitOf(*this)) {
    m_textureUnit->filter = static_cast<std::int32_t>(filter);
}

ImageEffect::ImageEffect(const ImageEffect& other)
    : Renderer::Effect(other), filterSelector(other.filterSelector), m_textureUnit(TextureUnitOf(*this)) {}

void ImageEffect::UpdateStates() {
    Renderer::Effect::UpdateStates();
    m_textureUnit->filter = static_cast<std::int32_t>(filterSelector);
}

}  // namespace GUI
