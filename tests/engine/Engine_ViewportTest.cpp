#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_TextureManager.h"
#include "renderer/Renderer_TextureUnitStates.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

using Core::RefPtr;
using testsupport::OffscreenRendererTest;

// Scene renders, backgrounds and queue items drawn into a real context.
namespace {

class Drawing : public OffscreenRendererTest {
protected:
    void SetUp() override {
        OffscreenRendererTest::SetUp();
        scene->SetViewportCount(1);  // the overlay is drawn in the last viewport
    }
    // A new 4 x 4 texture of one colour, never drawn before.
    RefPtr<Renderer::ITexture> Flat(testsupport::Rgba colour) {
        const std::string path = files.Path() + "/flat" + std::to_string(++made) + ".png";
        testsupport::SavePng(testsupport::FlatImage(4, 4, colour), path);
        return TextureManager::GetTexture(path.c_str(), false);
    }
    // An overlay sprite of side pixels centred at window offset (x, 0).
    void Sprite(float x, float z, float side, const RefPtr<Renderer::ITexture>& texture, Color colour) {
        RenderItem item;
        item.sprite = item.screenSpace = true;
        item.subRange = 0;
        item.texture = texture;
        item.color = colour;
        item.worldMatrix = Matrix4::Translation(x, 0, z) * Matrix4::Scaling(side, side, 1);
        scene->GetRenderQueue().Submit(item);
    }
    static GLint Parameter(const RefPtr<Renderer::ITexture>& texture, GLenum name) {
        glBindTexture(GL_TEXTURE_2D, texture->GetTextureName());
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static bool Lit(std::int32_t x, std::int32_t y) {
        const auto pixel = PixelAt(x, y);
        return (pixel[0] | pixel[1] | pixel[2]) != 0;
    }

    testsupport::TempDirectory files;
    int made = 0;
    RefPtr<Engine::SceneGraph> scene{TUN_NEW(Engine::SceneGraph, &Renderer())};
};

TEST_F(Drawing, RenderStretchesTheBackgroundOverItsViewport) {
    const RefPtr<Engine::Viewport> viewport{TUN_NEW(Engine::Viewport, 16, 8, 32, 24)};
    const std::string white = files.Path() + "/white.png";
    testsupport::SavePng(testsupport::FlatImage(4, 4, {255, 255, 255, 255}), white);
    viewport->SetBackground(white.c_str());
    const RefPtr<Renderer::ITexture> first = viewport->GetBackground();
    viewport->SetBackground(white.c_str());
    EXPECT_EQ(viewport->GetBackground(), first);
    scene->Render(RefPtr<Engine::Camera>(TUN_NEW(Engine::Camera, 45.0f, 1.0f, 100.0f)), viewport);
    EXPECT_EQ(CountLitPixels(), 32 * 24);
    EXPECT_TRUE(Lit(16, 8) && Lit(47, 31) && !Lit(15, 8) && !Lit(48, 31));
}

TEST_F(Drawing, OverlaySpritesArePixelExactAndBlendBackToFront) {
    const RefPtr<Renderer::ITexture> white = Flat({255, 255, 255, 255});
    Sprite(0, 0, 32, white, {1, 1, 1, 1});
    scene->GetRenderQueue().Flush();
    EXPECT_EQ(CountLitPixels(), 32 * 32);
    EXPECT_TRUE(Lit(16, 8) && Lit(47, 39) && !Lit(15, 8) && !Lit(48, 40));

    Renderer().ClearBuffers({0, 0, 0, 0}, 1.0f, 0);
    scene->GetRenderQueue().EndFrame();
    Sprite(0, 0, 8, white, {0, 0, 1, 0.5f});
    Sprite(0, -10, 8, white, {1, 0, 0, 0.5f});
    Sprite(0, -5, 8, white, {0, 1, 0, 0.5f});
    scene->GetRenderQueue().Flush();
    const auto centre = PixelAt(32, 24);
    EXPECT_NEAR(centre[0], 32, 2);
    EXPECT_NEAR(centre[1], 64, 2);
    EXPECT_NEAR(centre[2], 128, 2);
}

// OpenGL keeps filter and wrap per texture: a texture bound for the first
// time inside a run must still get the pass's, or it draws untextured.
TEST_F(Drawing, NewTexturesInOneRunDrawTextured) {
    Renderer::TextureUnit0State unit;  // linear like every pass here, so that restores keep it
    unit.environmentMode = 2;
    unit.filter = 1;
    unit.wrapS = unit.wrapT = 2;
    unit.enabled = true;
    Renderer().SetTextureUnit0State(unit);
    const RefPtr<Renderer::ITexture> textures[] = {Flat({255, 0, 0, 255}), Flat({0, 255, 0, 255}),
                                                   Flat({0, 0, 255, 255}), Flat({255, 255, 0, 255})};
    Sprite(-8, 0, 16, textures[0], {1, 1, 1, 1});
    Sprite(8, 0, 16, textures[1], {1, 1, 1, 1});
    for (int half = 0; half < 2; ++half) {
        Engine::TextRenderContext background;
        const float left = 32.0f * static_cast<float>(half);
        background.corners = {Vector3D(left, 0, 0), Vector3D(left + 32, 0, 0), Vector3D(left + 32, 4, 0),
                              Vector3D(left, 4, 0)};
        background.texCoords = {Vector2D(0, 0), Vector2D(1, 0), Vector2D(1, 1), Vector2D(0, 1)};
        background.texture = textures[2 + half];
        scene->GetRenderQueue().SubmitBackground(background);
    }
    scene->GetRenderQueue().Flush();
    const std::array<std::uint8_t, 4> expected[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255},
                                                    {255, 255, 0, 255}};
    const std::pair<int, int> where[] = {{28, 24}, {36, 24}, {8, 1}, {56, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PixelAt(where[i].first, where[i].second), expected[i]) << i;
        EXPECT_EQ(Parameter(textures[i], GL_TEXTURE_MIN_FILTER), GL_LINEAR) << i;
    }
}

}  // namespace
