#include "support/Renderer_OffscreenFixture.h"

#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <string>
#include <typeindex>
#include <vector>

// The engine's fixed effects: their shape and values, and a real draw
// through one that must leave the renderer as it found it.
namespace {

using namespace Renderer;
using Core::RefPtr;

// The texture unit 0 settings of an effect: environment mode, filter, wrap.
struct UnitSettings {
    std::int32_t mode, filter, wrap;
};

struct Builder {
    const char* name;
    RefPtr<Effect> (*create)();
    std::vector<std::type_index> states;
    bool blended;
    UnitSettings unit;
};

RefPtr<Effect> Particle() { return CreateParticleEffect(); }

const std::type_index D = typeid(DepthBufferState);
const std::type_index B = typeid(AlphaBlendingState);
const std::type_index C = typeid(CullingState);
const std::type_index A = typeid(AlphaTestingState);
const std::type_index L = typeid(LightingState);
const std::type_index K = typeid(CurrentColorState);
const std::type_index X = typeid(TextureUnit0State);

const std::vector<Builder>& Builders() {
    constexpr UnitSettings kNoUnit{};
    static const std::vector<Builder> builders = {
        {"default", &CreateDefaultEffect, {D, B, C}, true, kNoUnit},
        {"textured", &CreateTexturedEffect, {X, D, B, A, L, C}, false, {2, 1, 0}},
        {"text", &CreateTextEffect, {X, D, B, A, L}, false, {2, 0, 2}},
        {"texture depth", &CreateTextureDepthEffect, {X, D}, false, {0, 1, 0}},
        {"coloured textured", &CreateColoredTexturedEffect, {K, X, D, B, A, L, C}, true, {2, 1, 2}},
        {"particle", &Particle, {K, X, D, B, A, L, C}, true, {2, 1, 0}},
        {"colour", &CreateColorEffect, {K, L, D, B, A}, false, kNoUnit},
        {"second colour", &CreateColorEffectSecond, {K, L, D, B, A}, false, kNoUnit},
    };
    return builders;
}

template <class T>
const T* Find(const Pass& pass) {
    for (std::uint32_t i = 0; i < pass.GetStateCount(); ++i) {
        if (const auto* state = dynamic_cast<const T*>(pass.GetState(i).Get())) {
            return state;
        }
    }
    return nullptr;
}

TEST(DefaultEffects, EachBuilderMakesOnePassOfItsStates) {
    for (const Builder& builder : Builders()) {
        const RefPtr<Effect> effect = builder.create();
        ASSERT_EQ(effect->GetTechniqueCount(), 1u) << builder.name;
        const RefPtr<Technique> technique = effect->GetTechnique(0);
        ASSERT_EQ(technique->GetPassCount(), 1u) << builder.name;
        const RefPtr<Pass> pass = technique->GetPass(0);
        std::vector<std::type_index> types;
        for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i) {
            types.emplace_back(typeid(*pass->GetState(i)));
        }
        EXPECT_EQ(types, builder.states) << builder.name;
        EXPECT_EQ(technique->GetSavedStateCount(), pass->GetStateCount()) << builder.name;
        EXPECT_EQ(effect->blended, builder.blended) << builder.name;

        const DepthBufferState* depth = Find<DepthBufferState>(*pass);
        ASSERT_NE(depth, nullptr) << builder.name;
        EXPECT_TRUE(depth->compareFunction == 1 && depth->enabled && !depth->writeEnabled) << builder.name;
        if (const AlphaBlendingState* blending = Find<AlphaBlendingState>(*pass)) {
            EXPECT_TRUE(blending->enabled && blending->sourceFactor == 6 && blending->destinationFactor == 7)
                << builder.name;
        }
        if (const AlphaTestingState* test = Find<AlphaTestingState>(*pass)) {
            EXPECT_TRUE(test->enabled && test->compareFunction == 6 && test->reference == 0.0f) << builder.name;
        }
        if (const CullingState* culling = Find<CullingState>(*pass)) {
            EXPECT_FALSE(culling->enabled) << builder.name;
        }
        if (const LightingState* lighting = Find<LightingState>(*pass)) {
            EXPECT_FALSE(lighting->enabled) << builder.name;
        }
        if (const TextureUnit0State* unit = Find<TextureUnit0State>(*pass)) {
            EXPECT_TRUE(unit->enabled && unit->coordinateGeneration == 0 && !unit->oneDimensional) << builder.name;
            EXPECT_TRUE(unit->environmentMode == builder.unit.mode && unit->filter == builder.unit.filter &&
                        unit->wrapS == builder.unit.wrap && unit->wrapT == builder.unit.wrap)
                << builder.name;
        }
        // Every call makes its own objects.
        const RefPtr<Effect> another = builder.create();
        EXPECT_NE(another->GetTechnique(0)->GetPass(0)->GetState(0).Get(), pass->GetState(0).Get()) << builder.name;
    }
    const RefPtr<ParticleEffect> particle = CreateParticleEffect();
    EXPECT_EQ(particle->blendTarget.Get(), Find<AlphaBlendingState>(*particle->GetTechnique(0)->GetPass(0)));
}

// A draw as the render queue makes it, on the real context.
class DefaultEffectDraws : public testsupport::OffscreenRendererTest {
protected:
    // A quad over the whole window, textured from corner to corner.
    void DrawThrough(Effect& effect) {
        static const float kCorners[] = {0, 0, 0, kWidth, 0, 0, kWidth, kHeight, 0, 0, kHeight, 0};
        static const float kTexCoords[] = {0, 0, 1, 0, 1, 1, 0, 1};
        static const std::uint16_t kIndices[] = {0, 1, 2, 0, 2, 3};
        const RefPtr<Technique> technique = effect.GetTechnique(0);
        Renderer().SetTexture(0, effect.GetTexture(1));
        technique->SaveStates();
        technique->GetPass(0)->Apply();
        Renderer().SetVertexArray(kCorners);
        Renderer().SetTexCoordArray(0, kTexCoords);
        Renderer().SetIndexArray16(kIndices);
        Renderer().SetPrimitiveType(kTriangleList);
        Renderer().DrawIndexRange(0, 5);
        Renderer().SetVertexArray(nullptr);
        Renderer().SetTexCoordArray(0, nullptr);
        Renderer().SetIndexArray16(nullptr);
        technique->RestoreStates();
        Renderer().SetTexture(0, nullptr);
    }
};

TEST_F(DefaultEffectDraws, TheTextureDepthEffectTexturesAndPutsEverythingBack) {
    testsupport::TempDirectory dir;
    testsupport::SavePng(testsupport::FlatImage(4, 4, {255, 0, 0, 255}), dir.Path() + "/red.png");
    const RefPtr<Effect> effect = CreateTextureDepthEffect();
    effect->SetTexture(1, TextureManager::GetTexture(Core::String(dir.Path() + "/red.png"), false));

    ApplyState<AlphaBlendingState>([](auto& s) { s.enabled = true; s.destinationFactor = 1; });
    ApplyState<AlphaTestingState>([](auto& s) { s.enabled = true; s.compareFunction = 4; });
    // Back faces: the quad is counter-clockwise, so it is drawn.
    ApplyState<CullingState>([](auto& s) { s.enabled = true; });
    const Color green{0.0f, 1.0f, 0.0f, 1.0f};
    Renderer().SetCurrentColor(green);

    DrawThrough(*effect);

    // The texture replaced the green colour, so texturing reached OpenGL.
    EXPECT_EQ(PixelAt(kWidth / 2, kHeight / 2), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    // Texturing does not outlive the draw.
    ExpectGL({{GL_BLEND, {1}}, {GL_BLEND_DST, {GL_ONE}}, {GL_ALPHA_TEST, {1}}, {GL_ALPHA_TEST_FUNC, {GL_GREATER}},
              {GL_LIGHTING, {0}}, {GL_CULL_FACE, {1}}, {GL_CULL_FACE_MODE, {GL_BACK}}, {GL_TEXTURE_2D, {0}}});
    const Color colour = Renderer().GetCurrentColor();
    EXPECT_TRUE(colour.r == green.r && colour.g == green.g && colour.b == green.b && colour.a == green.a);
    DepthBufferState depth;
    depth.Capture(Renderer());
    EXPECT_FALSE(depth.enabled) << "the depth state was not restored";
}

}  // namespace
