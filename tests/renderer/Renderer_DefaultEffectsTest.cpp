#include "support/Renderer_OffscreenFixture.h"

#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_States.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

// The engine's fixed effects, drawn as the render queue draws them: what
// each one puts on the screen, and that each leaves the renderer as it was.
namespace {

using namespace Renderer;
using Core::RefPtr;
using Rgb = std::array<int, 3>;

class DefaultEffects : public testsupport::OffscreenRendererTest {
protected:
    // A quad over the whole window through the effect, its texture on unit 0.
    static void DrawThrough(Effect& effect, const RefPtr<ITexture>& texture) {
        static const float kCorners[] = {0, 0, 0, kWidth, 0, 0, kWidth, kHeight, 0, 0, kHeight, 0};
        static const float kTexCoords[] = {0, 0, 1, 0, 1, 1, 0, 1};
        const RefPtr<Technique> technique = effect.GetTechnique(0);
        Renderer().SetTexture(0, texture);
        technique->SaveStates();
        technique->GetPass(0)->Apply();
        Renderer().SetVertexArray(kCorners);
        Renderer().SetTexCoordArray(0, kTexCoords);
        Renderer().DrawArrays(kTriangleFan, 0, 2);
        Renderer().SetVertexArray(nullptr);
        Renderer().SetTexCoordArray(0, nullptr);
        technique->RestoreStates();
        Renderer().SetTexture(0, nullptr);
    }

    static bool Near(const std::array<std::uint8_t, 4>& pixel, const Rgb& expected) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (std::abs(pixel[i] - expected[i]) > 8) {
                return false;
            }
        }
        return true;
    }
};

struct Expected {
    const char* name;
    RefPtr<Effect> (*create)();
    bool blended;
    // Where the white texture is opaque, half transparent, transparent.
    Rgb overOpaque, overHalf, overTransparent;
};

RefPtr<Effect> Particle() { return CreateParticleEffect(); }

TEST_F(DefaultEffects, EachDrawsItsOwnWayAndPutsEverythingBack) {
    testsupport::TempDirectory dir;
    const std::string path = dir.Path() + "/half.png";
    testsupport::SavePng(testsupport::MakeImage(4, 4,
                                                [](std::uint32_t x, std::uint32_t) -> testsupport::Rgba {
                                                    const std::uint8_t alpha[] = {255, 255, 128, 0};
                                                    return {255, 255, 255, alpha[x]};
                                                }),
                         path);
    const RefPtr<ITexture> texture = TextureManager::GetTexture(Core::String(path), false);
    constexpr Rgb kYellow{255, 255, 0};
    constexpr Rgb kWhite{255, 255, 255};
    constexpr Rgb kBackground{64, 64, 64};
    constexpr Rgb kHalfYellow{157, 157, 33};
    constexpr Rgb kHalfWhite{157, 157, 157};
    // The current colour is yellow; effects with a colour state draw white.
    const std::vector<Expected> effects{
        {"default", &CreateDefaultEffect, true, kYellow, kYellow, kYellow},
        {"textured", &CreateTexturedEffect, false, kYellow, kHalfYellow, kBackground},
        {"text", &CreateTextEffect, false, kYellow, kHalfYellow, kBackground},
        {"texture depth", &CreateTextureDepthEffect, false, kWhite, kWhite, kWhite},
        {"coloured textured", &CreateColoredTexturedEffect, true, kWhite, kHalfWhite, kBackground},
        {"particle", &Particle, true, kWhite, kHalfWhite, kBackground},
        {"colour", &CreateColorEffect, false, kWhite, kWhite, kWhite},
        {"second colour", &CreateColorEffectSecond, false, kWhite, kWhite, kWhite},
    };
    for (const Expected& expected : effects) {
        const RefPtr<Effect> effect = expected.create();
        EXPECT_EQ(effect->blended, expected.blended) << expected.name;
        Renderer().ClearColorBuffer({0.25f, 0.25f, 0.25f, 1.0f});
        Renderer().SetCurrentColor({1.0f, 1.0f, 0.0f, 1.0f});
        DrawThrough(*effect, texture);
        EXPECT_TRUE(Near(PixelAt(8, kHeight / 2), expected.overOpaque)) << expected.name;
        EXPECT_TRUE(Near(PixelAt(40, kHeight / 2), expected.overHalf)) << expected.name;
        EXPECT_TRUE(Near(PixelAt(56, kHeight / 2), expected.overTransparent)) << expected.name;
        ExpectGL({{GL_BLEND, {0}}, {GL_ALPHA_TEST, {0}}, {GL_DEPTH_TEST, {0}}, {GL_TEXTURE_2D, {0}},
                  {GL_CURRENT_COLOR, {1, 1, 0, 1}}});
        EXPECT_EQ(Renderer().GetCurrentColor().b, 0.0f) << expected.name;
    }
    const RefPtr<ParticleEffect> particle = CreateParticleEffect();
    EXPECT_EQ(particle->blendTarget.Get(), particle->GetTechnique(0)->GetPass(0)->GetState(3).Get());
}

}  // namespace
