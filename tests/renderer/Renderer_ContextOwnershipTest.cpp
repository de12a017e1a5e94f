#include "os/OS_GLContext.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_Adapter.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_States.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

// Whoever makes a context current for a while gives the game's back: a
// renderer replaced in place, and the adapter's throw-away context during play.
namespace {

using namespace Renderer;
using Pixel = std::array<std::uint8_t, 3>;
constexpr std::int32_t kSize = 16;

class OffscreenContexts : public testing::Test {
protected:
    OffscreenContexts() {
        testsupport::SavePng(testsupport::FlatImage(4, 4, {255, 0, 0, 255}), RedPath());
        settings.window = &window;
    }

    std::string RedPath() const { return directory.Path() + "/red.png"; }

    // A quad over the whole window with the texture replacing its colour;
    // the centre pixel of the read-back frame.
    static Pixel DrawQuad(IRenderer& renderer, const Core::RefPtr<ITexture>& texture) {
        static const float kCorners[] = {0, 0, 0, kSize, 0, 0, kSize, kSize, 0, 0, kSize, 0};
        static const float kTexCoords[] = {0, 0, 1, 0, 1, 1, 0, 1};
        renderer.SetProjectionMatrix(Matrix4::Orthographic(0.0f, kSize, 0.0f, kSize));
        renderer.ClearColorBuffer({0.0f, 0.0f, 1.0f, 1.0f});
        // The unit's filter goes to the bound texture, so the texture comes first.
        renderer.SetTexture(0, texture);
        TextureUnit0State unit;
        unit.enabled = true;
        unit.environmentMode = 0;
        unit.Apply(renderer);
        renderer.SetVertexArray(kCorners);
        renderer.SetTexCoordArray(0, kTexCoords);
        renderer.DrawArrays(kTriangleFan, 0, 2);
        renderer.SetVertexArray(nullptr);
        renderer.SetTexCoordArray(0, nullptr);
        renderer.SetTexture(0, nullptr);
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(kSize) * kSize * 3);
        renderer.ReadPixels(frame.data());
        const std::size_t centre = (static_cast<std::size_t>(kSize / 2) * kSize + kSize / 2) * 3;
        return {frame[centre], frame[centre + 1], frame[centre + 2]};
    }

    testsupport::ScopedVideoDriver driver{"offscreen"};
    testsupport::TempDirectory directory;
    AdapterInformation adapter;
    PAL::Window window{kSize, kSize};
    DisplaySettings settings{kSize, kSize};
};

constexpr Pixel kRed{255, 0, 0};

TEST_F(OffscreenContexts, ARendererReplacedInPlaceKeepsTheCachedTexturesDrawing) {
    Core::RefPtr<IRenderer> renderer = CreateRenderer(settings);
    const Core::RefPtr<ITexture> texture = TextureManager::GetTexture(Core::String(RedPath()), false);
    ASSERT_EQ(DrawQuad(*renderer, texture), kRed);

    // The options screen does this: the old renderer goes after the new one is made.
    renderer = CreateRenderer(settings);
    EXPECT_EQ(GetRenderer(), renderer);
    EXPECT_NE(os::GetCurrentGLContext(), os::kNoGLContext) << "the old renderer let go of the new one's context";
    EXPECT_NE(texture->GetTextureName(), 0u);
    EXPECT_EQ(TextureManager::GetTexture(Core::String(RedPath()), false), texture);
    EXPECT_EQ(DrawQuad(*renderer, texture), kRed);

    // A second renderer that is let go first leaves the live one alone too.
    Core::RefPtr<IRenderer> older = renderer;
    renderer = CreateRenderer(settings);
    older = nullptr;
    EXPECT_EQ(DrawQuad(*renderer, TextureManager::GetTexture(Core::String(RedPath()), true)), kRed);
}

TEST_F(OffscreenContexts, AskingTheAdapterDuringPlayLeavesTheGameDrawing) {
    const Core::RefPtr<IRenderer> renderer = CreateRenderer(settings);
    const os::GLContext game = os::GetCurrentGLContext();
    const Core::RefPtr<ITexture> texture = TextureManager::GetTexture(Core::String(RedPath()), false);

    PixelFormatDescription request;
    request.colorBits = 32;
    request.depthBits = 24;
    request.swapMethod = 1;
    EXPECT_NE(GetAdapter()->GetPixelFormat(request), 0);
    EXPECT_EQ(os::GetCurrentGLContext(), game);
    EXPECT_EQ(DrawQuad(*renderer, texture), kRed);

    { const Core::RefPtr<Adapter> probe(TUN_NEW(Adapter)); }
    EXPECT_EQ(os::GetCurrentGLContext(), game);
    EXPECT_EQ(os::GetCurrentGLWindow(), window.GetDeviceContext());
    EXPECT_EQ(DrawQuad(*renderer, texture), kRed);
}

}  // namespace
