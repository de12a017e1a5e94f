#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_TextureManager.h"
#include "renderer/Renderer_TextureUnitStates.h"
#include "support/Renderer_OffscreenFixture.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

using Core::RefPtr;

// Scene renders, backgrounds and queue items drawn into a real context.
namespace {

class Drawing : public testsupport::OffscreenRendererTest {
protected:
    // The path of a new 4 x 4 image of one colour.
    std::string Flat(testsupport::Rgba colour) {
        const std::string path = files.Path() + "/flat" + std::to_string(++made) + ".png";
        testsupport::SavePng(testsupport::FlatImage(4, 4, colour), path);
        return path;
    }
    // A texture never drawn before.
    RefPtr<Renderer::ITexture> Texture(testsupport::Rgba c) {
        return TextureManager::GetTexture(Flat(c).c_str(), false);
    }
    // An overlay sprite of side pixels centred at window offset (x, 0).
    void Sprite(float x, float z, float side, const RefPtr<Renderer::ITexture>& texture, Color colour) {
        RenderItem item;
        std::tie(item.sprite, item.screenSpace, item.subRange, item.texture, item.color, item.worldMatrix) =
            std::tuple(true, true, 0, texture, colour, Matrix4::Translation(x, 0, z) * Matrix4::Scaling(side, side, 1));
        scene->SetViewportCount(1);  // the overlay is drawn in the last viewport
        scene->GetRenderQueue().Submit(item);
    }
    // The window rectangle [x0, x1) x [y0, y1) is exactly what is lit.
    static void ExpectLitExactly(int x0, int y0, int x1, int y1) {
        const auto lit = [](int x, int y) { return PixelAt(x, y) != std::array<std::uint8_t, 4>{0, 0, 0, 0}; };
        EXPECT_EQ(CountLitPixels(), (x1 - x0) * (y1 - y0));
        EXPECT_TRUE(lit(x0, y0) && lit(x1 - 1, y1 - 1) && !lit(x0 - 1, y0) && !lit(x1, y1 - 1));
    }

    testsupport::TempDirectory files;
    int made = 0;
    RefPtr<Engine::SceneGraph> scene{TUN_NEW(Engine::SceneGraph, &Renderer())};
};

TEST_F(Drawing, RenderStretchesTheBackgroundOverItsViewport) {
    const RefPtr<Engine::Viewport> viewport{TUN_NEW(Engine::Viewport, 16, 8, 32, 24)};
    const std::string white = Flat({255, 255, 255, 255});
    viewport->SetBackground(white.c_str());
    EXPECT_EQ(viewport->GetBackground(), TextureManager::GetTexture(white.c_str(), false));  // cached, shared
    scene->Render(RefPtr<Engine::Camera>(TUN_NEW(Engine::Camera, 45.0f, 1.0f, 100.0f)), viewport);
    ExpectLitExactly(16, 8, 48, 32);
    // Far edges past the largest int are drawn without overflowing.
    const RefPtr<Engine::Viewport> far{TUN_NEW(Engine::Viewport, 2000000000, 2000000000, 2000000000, 2000000000)};
    far->SetBackground(white.c_str());
    scene->Render(RefPtr<Engine::Camera>(TUN_NEW(Engine::Camera, 45.0f, 1.0f, 100.0f)), far);
}

TEST_F(Drawing, OverlaySpritesArePixelExactAndBlendBackToFront) {
    const RefPtr<Renderer::ITexture> white = Texture({255, 255, 255, 255});
    Sprite(0, 0, 32, white, {1, 1, 1, 1});
    scene->GetRenderQueue().Flush();
    ExpectLitExactly(16, 8, 48, 40);
    Renderer().ClearBuffers({0, 0, 0, 0}, 1.0f, 0);
    scene->GetRenderQueue().EndFrame();
    Sprite(0, 0, 8, white, {0, 0, 1, 0.5f});
    Sprite(0, -10, 8, white, {1, 0, 0, 0.5f});
    Sprite(0, -5, 8, white, {0, 1, 0, 0.5f});
    scene->GetRenderQueue().Flush();
    const auto centre = PixelAt(32, 24);
    EXPECT_TRUE(std::abs(centre[0] - 32) <= 2 && std::abs(centre[1] - 64) <= 2 && std::abs(centre[2] - 128) <= 2);
}

// OpenGL keeps filter and wrap per texture: a texture bound for the first
// time inside a run must still get the pass's, or it draws untextured.
TEST_F(Drawing, NewTexturesInOneRunDrawTextured) {
    Renderer::TextureUnit0State unit;  // linear like every pass here, so that restores keep it
    unit.filter = 1;
    Renderer().SetTextureUnit0State(unit);
    const testsupport::Rgba colours[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}};
    const RefPtr<Renderer::ITexture> textures[] = {Texture(colours[0]), Texture(colours[1]), Texture(colours[2]),
                                                   Texture(colours[3])};
    Sprite(-8, 0, 16, textures[0], {1, 1, 1, 1});
    Sprite(8, 0, 16, textures[1], {1, 1, 1, 1});
    for (const float left : {0.0f, 32.0f}) {
        Engine::TextRenderContext background;
        background.corners = {Vector3D(left, 0, 0), {left + 32, 0, 0}, {left + 32, 4, 0}, {left, 4, 0}};
        background.texture = textures[left == 0 ? 2 : 3];
        scene->GetRenderQueue().SubmitBackground(background);
    }
    scene->GetRenderQueue().Flush();
    const std::pair<int, int> where[] = {{28, 24}, {36, 24}, {8, 1}, {56, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PixelAt(where[i].first, where[i].second), colours[i]) << i;
        glBindTexture(GL_TEXTURE_2D, textures[i]->GetTextureName());
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR) << i;
    }
}

}  // namespace
