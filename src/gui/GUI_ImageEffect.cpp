#include "gui/GUI_ImageEffect.h"

#include "renderer/Renderer_States.h"

namespace GUI {
namespace {

constexpr std::int32_t kModulate = 2;
constexpr std::int32_t kClampToEdge = 2;
constexpr std::int32_t kLess = 1;
constexpr std::int32_t kSourceAlpha = 6;
constexpr std::int32_t kOneMinusSourceAlpha = 7;
constexpr std::int32_t kNotEqual = 6;

Core::RefPtr<Renderer::State> DepthTestWithoutWrites() {
    auto* depth = TUN_NEW(Renderer::DepthBufferState);
    depth->compareFunction = kLess;
    depth->enabled = true;
    depth->writeEnabled = false;
    return Core::RefPtr<Renderer::State>(depth);
}

Core::RefPtr<Renderer::State> AlphaBlending() {
    auto* blending = TUN_NEW(Renderer::AlphaBlendingState);
    blending->sourceFactor = kSourceAlpha;
    blending->destinationFactor = kOneMinusSourceAlpha;
    blending->enabled = true;
    return Core::RefPtr<Renderer::State>(blending);
}

// Fully transparent texels are not drawn, so they leave the depth alone.
Core::RefPtr<Renderer::State> SkipTransparent() {
    auto* test = TUN_NEW(Renderer::AlphaTestingState);
    test->compareFunction = kNotEqual;
    test->reference = 0.0f;
    test->enabled = true;
    return Core::RefPtr<Renderer::State>(test);
}

Core::RefPtr<Renderer::State> LightingOff() {
    auto* lighting = TUN_NEW(Renderer::LightingState);
    lighting->ambient = Color(0.2f, 0.2f, 0.2f, 1.0f);
    lighting->localViewer = true;
    lighting->enabled = false;
    return Core::RefPtr<Renderer::State>(lighting);
}

}  // namespace

TUN_DEFINE_UNREGISTERED_CLASS(ImageEffect, "GUI::ImageEffect");

ImageEffect::ImageEffect(std::uint32_t filter) : filterSelector(filter) {
    m_textureUnit = Core::RefPtr<Renderer::TextureUnit0State>(TUN_NEW(Renderer::TextureUnit0State));
    m_textureUnit->enabled = true;
    m_textureUnit->oneDimensional = false;
    m_textureUnit->environmentMode = kModulate;
    m_textureUnit->filter = static_cast<std::int32_t>(filter);
    m_textureUnit->wrapS = kClampToEdge;
    m_textureUnit->wrapT = kClampToEdge;

    Core::RefPtr<Renderer::Pass> pass(TUN_NEW(Renderer::Pass));
    pass->AddState(m_textureUnit);
    pass->AddState(DepthTestWithoutWrites());
    pass->AddState(AlphaBlending());
    pass->AddState(SkipTransparent());
    pass->AddState(LightingOff());
    Core::RefPtr<Renderer::Technique> technique(TUN_NEW(Renderer::Technique));
    technique->AddPass(pass);
    technique->CollectStates();
    AddTechnique(technique);
}

ImageEffect::ImageEffect(const ImageEffect& other) : Renderer::Effect(other), filterSelector(other.filterSelector) {
    // The copied pass holds its own texture-unit state: follow that one.
    const Core::RefPtr<Renderer::Pass> pass = GetTechnique(0)->GetPass(0);
    for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i) {
        if (auto* unit = dynamic_cast<Renderer::TextureUnit0State*>(pass->GetState(i).Get())) {
            m_textureUnit = Core::RefPtr<Renderer::TextureUnit0State>(unit);
        }
    }
}

void ImageEffect::UpdateStates() {
    Renderer::Effect::UpdateStates();
    m_textureUnit->filter = static_cast<std::int32_t>(filterSelector);
}

}  // namespace GUI
