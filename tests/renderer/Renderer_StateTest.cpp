#include "core/Core_ClassRegistry.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_States.h"
#include "Renderer_RecordingRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

// Render-state objects: their values, Reset, Clone, and how Apply and
// Capture reach the renderer's cache.
namespace {

using namespace Renderer;

bool Same(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

class States : public testing::Test {
protected:
    Core::RefPtr<testsupport::RecordingRenderer> renderer{TUN_NEW(testsupport::RecordingRenderer)};
};

TEST_F(States, TheRendererStartsWithTheInitialValuesOfEveryType) {
    CullingState culling;
    culling.face = 1;
    culling.enabled = false;
    culling.Capture(*renderer);
    EXPECT_EQ(culling.face, 0);
    EXPECT_TRUE(culling.enabled);

    Material material;
    material.Reset();
    material.Capture(*renderer);
    EXPECT_TRUE(Same(material.ambient, {0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_TRUE(Same(material.diffuse, {0.8f, 0.8f, 0.8f, 1.0f}));
    EXPECT_TRUE(Same(material.emission, {0.0f, 0.0f, 0.0f, 1.0f}));

    StencilBufferState stencil;
    stencil.enabled = true;
    stencil.Capture(*renderer);
    EXPECT_EQ(stencil.compareFunction, 7);
    EXPECT_EQ(stencil.compareMask, 0xFFFFFFFFu);
    EXPECT_EQ(stencil.writeMask, 0xFFFFFFFFu);
    EXPECT_FALSE(stencil.enabled);

    DepthBufferState depth;
    depth.enabled = false;
    depth.Capture(*renderer);
    EXPECT_EQ(depth.compareFunction, 1);
    EXPECT_TRUE(depth.enabled && depth.writeEnabled);

    AlphaBlendingState blending;
    blending.sourceFactor = 0;
    blending.Capture(*renderer);
    EXPECT_EQ(blending.sourceFactor, 6);
    EXPECT_EQ(blending.destinationFactor, 7);

    FogState fog;
    fog.end = 5.0f;
    fog.Capture(*renderer);
    EXPECT_EQ(fog.end, 100.0f);
    EXPECT_TRUE(Same(fog.color, {1.0f, 1.0f, 1.0f, 1.0f}));

    TextureUnit5State unit;
    unit.environmentMode = 0;
    unit.Capture(*renderer);
    EXPECT_EQ(unit.environmentMode, 1);
    EXPECT_FALSE(unit.enabled);

    DitheringState dithering;
    dithering.enabled = false;
    dithering.Capture(*renderer);
    EXPECT_TRUE(dithering.enabled);

    CurrentColorState color;
    color.Capture(*renderer);
    EXPECT_TRUE(Same(color.color, {0.0f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(States, ApplyCachesACopyAndCaptureReadsItBack) {
    StencilBufferState stencil;
    stencil.compareFunction = 3;
    stencil.stencilFailOperation = 1;
    stencil.depthFailOperation = 2;
    stencil.depthPassOperation = 5;
    stencil.reference = -4;
    stencil.compareMask = 0x0F;
    stencil.writeMask = 0xF0;
    stencil.enabled = true;
    stencil.Apply(*renderer);
    // The renderer holds a copy: changing the state afterwards changes nothing there.
    stencil.reference = 99;

    StencilBufferState read;
    read.Capture(*renderer);
    EXPECT_EQ(read.compareFunction, 3);
    EXPECT_EQ(read.stencilFailOperation, 1);
    EXPECT_EQ(read.depthFailOperation, 2);
    EXPECT_EQ(read.depthPassOperation, 5);
    EXPECT_EQ(read.reference, -4);
    EXPECT_EQ(read.compareMask, 0x0Fu);
    EXPECT_EQ(read.writeMask, 0xF0u);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(renderer->Count("SetStencilBufferState"), 1);

    CurrentColorState color;
    color.color = {0.25f, 0.5f, 0.75f, 1.0f};
    color.Apply(*renderer);
    EXPECT_TRUE(Same(renderer->GetCurrentColor(), {0.25f, 0.5f, 0.75f, 1.0f}));
}

TEST_F(States, EachTextureUnitClassReachesItsOwnUnit) {
    TextureUnit0State zero;
    zero.filter = 1;
    TextureUnit6State six;
    six.filter = 2;
    zero.Apply(*renderer);
    six.Apply(*renderer);
    EXPECT_EQ(renderer->Calls(), (std::vector<std::string>{"SetTextureUnit0State", "SetTextureUnit6State"}));

    TextureUnit0State readZero;
    readZero.Capture(*renderer);
    TextureUnit6State readSix;
    readSix.Capture(*renderer);
    EXPECT_EQ(readZero.filter, 1);
    EXPECT_EQ(readSix.filter, 2);
}

TEST_F(States, ResetRestoresTheResetValues) {
    TextureUnit2State texturing;
    texturing.environmentMode = 0;
    texturing.filter = 1;
    texturing.wrapS = 2;
    texturing.wrapT = 3;
    texturing.enabled = true;
    texturing.coordinateGeneration = 1;
    texturing.oneDimensional = true;
    texturing.Reset();
    EXPECT_EQ(texturing.environmentMode, 1);
    EXPECT_EQ(texturing.filter, 0);
    EXPECT_EQ(texturing.wrapS, 0);
    EXPECT_EQ(texturing.wrapT, 0);
    EXPECT_FALSE(texturing.enabled);
    // Generation and the target's dimension survive a reset.
    EXPECT_EQ(texturing.coordinateGeneration, 1);
    EXPECT_TRUE(texturing.oneDimensional);

    FogState fog;
    fog.mode = 2;
    fog.color = {0.1f, 0.2f, 0.3f, 0.4f};
    fog.density = 3.0f;
    fog.enabled = true;
    fog.Reset();
    EXPECT_EQ(fog.mode, 0);
    EXPECT_EQ(fog.density, 0.0f);
    EXPECT_FALSE(fog.enabled);
    EXPECT_TRUE(Same(fog.color, {0.1f, 0.2f, 0.3f, 0.4f}));

    Material material;
    material.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    material.Reset();
    EXPECT_TRUE(Same(material.diffuse, {0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(Same(material.ambient, {0.2f, 0.2f, 0.2f, 1.0f}));
    EXPECT_TRUE(Same(material.specular, {0.0f, 0.0f, 0.0f, 1.0f}));

    ScissorState scissor;
    scissor.width = 17;
    scissor.enabled = true;
    scissor.Reset();
    EXPECT_EQ(scissor.x, 0);
    EXPECT_EQ(scissor.width, 640);
    EXPECT_EQ(scissor.height, 480);
    EXPECT_FALSE(scissor.enabled);

    CurrentColorState color;
    color.color = {0.0f, 0.0f, 0.0f, 0.0f};
    color.Reset();
    EXPECT_TRUE(Same(color.color, {1.0f, 1.0f, 1.0f, 1.0f}));
}

TEST_F(States, CloneCopiesEveryFieldAndKeepsTheClass) {
    TextureUnit4State unit;
    unit.environmentMode = 2;
    unit.filter = 1;
    unit.wrapS = 3;
    unit.wrapT = 2;
    unit.enabled = true;
    unit.coordinateGeneration = 1;
    unit.oneDimensional = true;
    const State& base = unit;
    std::unique_ptr<Core::Object> clone(base.Clone());
    ASSERT_EQ(typeid(*clone), typeid(TextureUnit4State));
    const auto& copy = static_cast<const TextureUnit4State&>(*clone);
    EXPECT_EQ(copy.environmentMode, 2);
    EXPECT_EQ(copy.filter, 1);
    EXPECT_EQ(copy.wrapS, 3);
    EXPECT_EQ(copy.wrapT, 2);
    EXPECT_TRUE(copy.enabled);
    EXPECT_EQ(copy.coordinateGeneration, 1);
    EXPECT_TRUE(copy.oneDimensional);
    EXPECT_EQ(copy.GetReferenceCount(), 0u);

    LightingState lighting;
    lighting.ambient = {0.5f, 0.4f, 0.3f, 0.2f};
    lighting.localViewer = false;
    lighting.enabled = true;
    std::unique_ptr<Core::Object> lightingClone(lighting.Clone());
    const auto& lightingCopy = dynamic_cast<const LightingState&>(*lightingClone);
    EXPECT_TRUE(Same(lightingCopy.ambient, {0.5f, 0.4f, 0.3f, 0.2f}));
    EXPECT_FALSE(lightingCopy.localViewer);
    EXPECT_TRUE(lightingCopy.enabled);
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
