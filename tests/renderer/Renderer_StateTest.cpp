#include "support/Renderer_RecordingRenderer.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_States.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>
#include <typeinfo>

// Render-state objects: their values, Reset, Clone, and how Apply and
// Capture reach the renderer's cache.
namespace {

using namespace Renderer;
using Rgba = std::array<float, 4>;

Rgba Components(const Color& c) { return {c.r, c.g, c.b, c.a}; }

auto Fields(const TexturingState& s) {
    return std::tuple(s.environmentMode, s.filter, s.wrapS, s.wrapT, s.enabled, s.coordinateGeneration,
                      s.oneDimensional);
}

void AlterEveryField(TexturingState& s) {
    s.environmentMode = 2;
    s.filter = 1;
    s.wrapS = 3;
    s.wrapT = 2;
    s.enabled = true;
    s.coordinateGeneration = 1;
    s.oneDimensional = true;
}

// The renderer's value of a state type, read into an object that `change`
// altered first, so that a Capture doing nothing shows.
template <class S>
S Captured(IRenderer& renderer, void (*change)(S&)) {
    S state;
    change(state);
    state.Capture(renderer);
    return state;
}

class States : public testing::Test {
protected:
    Core::RefPtr<testsupport::RecordingRenderer> renderer{TUN_NEW(testsupport::RecordingRenderer)};
};

TEST_F(States, TheRendererStartsWithTheInitialValuesOfEveryType) {
    const auto culling = Captured<CullingState>(*renderer, [](CullingState& s) { s.face = 1; s.enabled = false; });
    EXPECT_TRUE(culling.face == 0 && culling.enabled) << "back faces, culling on";
    const auto material = Captured<Material>(*renderer, [](Material& s) { s.Reset(); });
    EXPECT_EQ(Components(material.ambient), (Rgba{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(Components(material.diffuse), (Rgba{0.8f, 0.8f, 0.8f, 1.0f}));
    EXPECT_EQ(Components(material.emission), (Rgba{0.0f, 0.0f, 0.0f, 1.0f}));
    const auto stencil = Captured<StencilBufferState>(*renderer, [](StencilBufferState& s) { s.enabled = true; });
    EXPECT_TRUE(stencil.compareFunction == 7 && stencil.compareMask == 0xFFFFFFFFu &&
                stencil.writeMask == 0xFFFFFFFFu && !stencil.enabled);
    const auto depth = Captured<DepthBufferState>(*renderer, [](DepthBufferState& s) { s.enabled = false; });
    EXPECT_TRUE(depth.compareFunction == 1 && depth.enabled && depth.writeEnabled);
    const auto blending = Captured<AlphaBlendingState>(*renderer, [](AlphaBlendingState& s) { s.sourceFactor = 0; });
    EXPECT_TRUE(blending.sourceFactor == 6 && blending.destinationFactor == 7);
    const auto fog = Captured<FogState>(*renderer, [](FogState& s) { s.end = 5.0f; });
    EXPECT_EQ(fog.end, 100.0f);
    EXPECT_EQ(Components(fog.color), (Rgba{1.0f, 1.0f, 1.0f, 1.0f}));
    const auto unit = Captured<TextureUnit5State>(*renderer, [](TextureUnit5State& s) { s.environmentMode = 0; });
    EXPECT_TRUE(unit.environmentMode == 1 && !unit.enabled);
    EXPECT_TRUE(Captured<DitheringState>(*renderer, [](DitheringState& s) { s.enabled = false; }).enabled);
    CurrentColorState color;
    color.Capture(*renderer);
    EXPECT_EQ(Components(color.color), (Rgba{0.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(States, ApplyReachesTheSetOfItsOwnTypeAndCaptureReadsItBack) {
    TextureUnit0State zero;
    zero.filter = 1;
    TextureUnit6State six;
    six.filter = 2;
    zero.Apply(*renderer);
    six.Apply(*renderer);
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"SetTextureUnit0State", "SetTextureUnit6State"}));
    EXPECT_EQ(Captured<TextureUnit0State>(*renderer, [](TextureUnit0State&) {}).filter, 1);
    EXPECT_EQ(Captured<TextureUnit6State>(*renderer, [](TextureUnit6State&) {}).filter, 2);

    CurrentColorState color;
    color.color = {0.25f, 0.5f, 0.75f, 1.0f};
    color.Apply(*renderer);
    EXPECT_EQ(Components(renderer->GetCurrentColor()), (Rgba{0.25f, 0.5f, 0.75f, 1.0f}));
}

TEST_F(States, ResetKeepsWhatEachTypeKeeps) {
    TextureUnit2State texturing;
    AlterEveryField(texturing);
    texturing.Reset();
    // Generation and the target's dimension survive a reset.
    EXPECT_EQ(Fields(texturing), std::tuple(1, 0, 0, 0, false, std::uint8_t{1}, true));

    FogState fog;
    fog.mode = 2;
    fog.color = {0.1f, 0.2f, 0.3f, 0.4f};
    fog.density = 3.0f;
    fog.enabled = true;
    fog.Reset();
    EXPECT_TRUE(fog.mode == 0 && fog.density == 0.0f && !fog.enabled);
    EXPECT_EQ(Components(fog.color), (Rgba{0.1f, 0.2f, 0.3f, 0.4f}));

    Material material;
    material.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Reset();
    EXPECT_EQ(Components(material.diffuse), (Rgba{0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(Components(material.ambient), (Rgba{0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_EQ(Components(material.specular), (Rgba{0.0f, 0.0f, 0.0f, 1.0f}));

    CurrentColorState color;
    color.color = {0.0f, 0.0f, 0.0f, 0.0f};
    color.Reset();
    EXPECT_EQ(Components(color.color), (Rgba{1.0f, 1.0f, 1.0f, 1.0f}));
}

TEST_F(States, CloneCopiesEveryFieldAndKeepsTheClass) {
    TextureUnit4State unit;
    AlterEveryField(unit);
    const State& base = unit;
    std::unique_ptr<Core::Object> clone(base.Clone());
    ASSERT_EQ(typeid(*clone), typeid(TextureUnit4State));
    const auto& copy = static_cast<const TextureUnit4State&>(*clone);
    EXPECT_EQ(Fields(copy), Fields(unit));
    EXPECT_EQ(copy.GetReferenceCount(), 0u);

    LightingState lighting;
    lighting.ambient = {0.5f, 0.4f, 0.3f, 0.2f};
    lighting.localViewer = false;
    lighting.enabled = true;
    std::unique_ptr<Core::Object> lightingClone(lighting.Clone());
    const auto& lightingCopy = dynamic_cast<const LightingState&>(*lightingClone);
    EXPECT_EQ(Components(lightingCopy.ambient), (Rgba{0.5f, 0.4f, 0.3f, 0.2f}));
    EXPECT_TRUE(!lightingCopy.localViewer && lightingCopy.enabled);
}

TEST(StateRegistry, EveryStateClassIsMadeByItsQualifiedName) {
    for (const char* name :
         {"Renderer::State", "Renderer::Material", "Renderer::AlphaBlendingState", "Renderer::TextureUnit7State",
          "Renderer::CurrentColorState", "Renderer::ScissorState", "Renderer::NormalizeNormalsState"}) {
        std::unique_ptr<Core::Object> object(CreateObjectByName(name));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->GetType(), name);
    }
}

}  // namespace
