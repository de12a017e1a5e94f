#include "renderer/Renderer_DefaultEffects.h"

#include "renderer/Renderer_States.h"

#include <initializer_list>

namespace Renderer {
namespace {

// The states' constructor values are their reset values; only what differs
// from those is set here.

Core::RefPtr<State> Depth() {
    auto* depth = TUN_NEW(DepthBufferState);
    depth->compareFunction = 1;  // less
    depth->enabled = true;
    depth->writeEnabled = false;
    return Core::RefPtr<State>(depth);
}

Core::RefPtr<AlphaBlendingState> Blending() {
    Core::RefPtr<AlphaBlendingState> blending(TUN_NEW(AlphaBlendingState));
    blending->sourceFactor = 6;       // source alpha
    blending->destinationFactor = 7;  // one minus source alpha
    blending->enabled = true;
    return blending;
}

Core::RefPtr<State> NoCulling() {
    auto* culling = TUN_NEW(CullingState);
    culling->face = 0;  // back faces
    culling->enabled = false;
    return Core::RefPtr<State>(culling);
}

// Only pixels with some alpha are drawn.
Core::RefPtr<State> AlphaTest() {
    auto* test = TUN_NEW(AlphaTestingState);
    test->compareFunction = 6;  // not equal
    test->reference = 0.0f;
    test->enabled = true;
    return Core::RefPtr<State>(test);
}

Core::RefPtr<State> NoLighting() {
    auto* lighting = TUN_NEW(LightingState);
    lighting->ambient = Color(0.2f, 0.2f, 0.2f, 1.0f);
    lighting->localViewer = true;
    lighting->enabled = false;
    return Core::RefPtr<State>(lighting);
}

Core::RefPtr<State> White() {
    auto* colour = TUN_NEW(CurrentColorState);
    colour->color = Color(1.0f, 1.0f, 1.0f, 1.0f);
    return Core::RefPtr<State>(colour);
}

// Environment mode (0 replace, 2 modulate), filter (0 nearest, 1 linear),
// wrap in both directions (0 repeat, 2 clamp to edge); texturing on.
Core::RefPtr<State> TextureUnit0(std::int32_t environmentMode, std::int32_t filter, std::int32_t wrap) {
    auto* unit = TUN_NEW(TextureUnit0State);
    unit->environmentMode = environmentMode;
    unit->filter = filter;
    unit->wrapS = wrap;
    unit->wrapT = wrap;
    unit->enabled = true;
    unit->coordinateGeneration = 0;
    unit->oneDimensional = false;
    return Core::RefPtr<State>(unit);
}

constexpr std::int32_t kReplace = 0;
constexpr std::int32_t kModulate = 2;
constexpr std::int32_t kNearest = 0;
constexpr std::int32_t kLinear = 1;
constexpr std::int32_t kRepeat = 0;
constexpr std::int32_t kClampToEdge = 2;

// One pass of the states in order, in one technique whose saved set is
// collected, added to the effect.
template <class EffectType>
Core::RefPtr<EffectType> Build(Core::RefPtr<EffectType> effect, std::initializer_list<Core::RefPtr<State>> states,
                               bool blended) {
    Core::RefPtr<Pass> pass(TUN_NEW(Pass));
    for (const Core::RefPtr<State>& state : states) {
        pass->AddState(state);
    }
    Core::RefPtr<Technique> technique(TUN_NEW(Technique));
    technique->AddPass(pass);
    technique->CollectStates();
    effect->AddTechnique(technique);
    effect->blended = blended;
    return effect;
}

Core::RefPtr<Effect> NewEffect() { return Core::RefPtr<Effect>(TUN_NEW(Effect)); }

Core::RefPtr<Effect> ColorEffect() {
    return Build(NewEffect(), {White(), NoLighting(), Depth(), Blending(), AlphaTest()}, false);
}

}  // namespace

Core::RefPtr<Effect> CreateDefaultEffect() { return Build(NewEffect(), {Depth(), Blending(), NoCulling()}, true); }

Core::RefPtr<Effect> CreateTexturedEffect() {
    return Build(
        NewEffect(),
        {TextureUnit0(kModulate, kLinear, kRepeat), Depth(), Blending(), AlphaTest(), NoLighting(), NoCulling()},
        false);
}

Core::RefPtr<Effect> CreateTextEffect() {
    return Build(NewEffect(),
                 {TextureUnit0(kModulate, kNearest, kClampToEdge), Depth(), Blending(), AlphaTest(), NoLighting()},
                 false);
}

Core::RefPtr<Effect> CreateTextureDepthEffect() {
    return Build(NewEffect(), {TextureUnit0(kReplace, kLinear, kRepeat), Depth()}, false);
}

Core::RefPtr<Effect> CreateColoredTexturedEffect() {
    return Build(NewEffect(),
                 {White(), TextureUnit0(kModulate, kLinear, kClampToEdge), Depth(), Blending(), AlphaTest(),
                  NoLighting(), NoCulling()},
                 true);
}

Core::RefPtr<ParticleEffect> CreateParticleEffect() {
    Core::RefPtr<ParticleEffect> effect(TUN_NEW(ParticleEffect));
    effect->blendTarget = Blending();
    return Build(effect,
                 {White(), TextureUnit0(kModulate, kLinear, kRepeat), Depth(), effect->blendTarget, AlphaTest(),
                  NoLighting(), NoCulling()},
                 true);
}

Core::RefPtr<Effect> CreateColorEffect() { return ColorEffect(); }

Core::RefPtr<Effect> CreateColorEffectSecond() { return ColorEffect(); }

}  // namespace Renderer
