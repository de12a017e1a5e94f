#include "support/Renderer_CachedGLValues.h"
#include "support/Renderer_OffscreenFixture.h"

#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "os/OS_Process.h"
#include "os/OS_SdlVideo.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_DefaultEffects.h"
#include "renderer/Renderer_Enumerations.h"
#include "renderer/Renderer_ExtensionList.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_States.h"
#include "renderer/Renderer_TextureManager.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <GL/glext.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// Making and destroying the OpenGL renderer: what it learns from the
// driver, the full-screen decision, vertical sync, read-back, what it gives
// back, and replacing it in place while the game holds textures.
namespace {

using namespace Renderer;
constexpr auto ExpectGL = &testsupport::OffscreenRendererTest::ExpectGL;

os::Size ClientSize(const PAL::Window& window) {
    os::Rect client;
    os::GetClientRect(window.GetHandle(), &client);
    return {client.Width(), client.Height()};
}

std::array<std::int32_t, 2> Position(const PAL::Window& window) {
    std::array<std::int32_t, 2> position{};
    window.GetPosition(&position[0], &position[1]);
    return position;
}

// A window and the adapter for one renderer, on the chosen driver.
class RendererHost {
public:
    RendererHost(std::int32_t width, std::int32_t height) : window(width, height) {}

    DisplaySettings Settings() {
        const os::Size size = ClientSize(window);
        DisplaySettings settings(static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height));
        settings.window = &window;
        return settings;
    }

    AdapterInformation adapter;
    PAL::Window window;
};

class RendererLifecycle : public testing::Test {
protected:
    void TearDown() override {
        os::headless::ResetDisplay();
        EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
    }
};

class OffscreenRendererLifecycle : public RendererLifecycle {
protected:
    testsupport::ScopedVideoDriver driver{"offscreen"};
};

TEST_F(OffscreenRendererLifecycle, LearnsTheDriverAndSetsTheFixedSettings) {
    RendererHost host(32, 24);
    DisplaySettings settings = host.Settings();
    settings.verticalSync = true;
    const Core::RefPtr<IRenderer> created = CreateRenderer(settings);
    auto& renderer = static_cast<OGLRenderer&>(*created);
    EXPECT_EQ(GetRenderer(), created);
    EXPECT_TRUE(renderer.IsMultitextureAvailable());
    EXPECT_EQ(renderer.GetTextureUnitCount(), 8);
    EXPECT_TRUE(IsExtensionSupported("GL_ARB_multitexture"));
    EXPECT_TRUE(HasExtension(renderer.GetWGLExtensions(), "WGL_ARB_pixel_format"));
    EXPECT_EQ(host.window.GetPixelFormatIndex(), 1);
    EXPECT_TRUE(TextureManager::Exists());

    // The offscreen driver lets the interval be set, so vertical sync is real.
    EXPECT_TRUE(renderer.IsSwapControlAvailable());
    EXPECT_EQ(SDL_GL_GetSwapInterval(), 1);
    renderer.SetVSyncEnabled(false);
    EXPECT_FALSE(renderer.GetVSyncEnabled());
    EXPECT_EQ(SDL_GL_GetSwapInterval(), 0);

    ExpectGL({{GL_LINE_SMOOTH, {1}}, {GL_POINT_SMOOTH, {1}}, {GL_LIGHT_MODEL_TWO_SIDE, {1}},
              {GL_LIGHT_MODEL_COLOR_CONTROL, {GL_SEPARATE_SPECULAR_COLOR}}, {GL_FOG_HINT, {GL_NICEST}},
              {GL_VIEWPORT, {0, 0, 32, 24}}});
}

// A new renderer's cache and its context agree on every cached state before
// anything is set, and an effect's save, apply and restore leaves them agreeing.
TEST_F(OffscreenRendererLifecycle, EveryCachedStateAgreesWithOpenGLFromConstruction) {
    RendererHost host(32, 24);
    const Core::RefPtr<IRenderer> created = CreateRenderer(host.Settings());
    auto& renderer = static_cast<OGLRenderer&>(*created);
    ExpectGL(testsupport::CachedGLValues(renderer));
    Material material;
    material.Capture(renderer);
    for (const auto& [name, colour] : {std::pair(GL_AMBIENT, material.ambient), {GL_DIFFUSE, material.diffuse},
                                       {GL_SPECULAR, material.specular}, {GL_EMISSION, material.emission}}) {
        std::array<GLfloat, 4> read{};
        glGetMaterialfv(GL_FRONT, name, read.data());
        EXPECT_EQ(read, (std::array{colour.r, colour.g, colour.b, colour.a})) << name;
    }
    StencilBufferState stencil;
    stencil.Capture(renderer);
    for (const auto& [name, expected] : {std::pair(GL_STENCIL_VALUE_MASK, stencil.compareMask),
                                         {GL_STENCIL_WRITEMASK, stencil.writeMask}}) {
        // Read as integers, which clamp: compared on the buffer's 8 stencil bits.
        GLint read = 0;
        glGetIntegerv(name, &read);
        EXPECT_EQ(static_cast<GLuint>(read) & 0xFFu, expected & 0xFFu) << name;
    }
    const Core::RefPtr<Effect> sprite = CreateColoredTexturedEffect();
    sprite->GetTechnique(0)->SaveStates();
    sprite->GetTechnique(0)->GetPass(0)->Apply();
    sprite->GetTechnique(0)->RestoreStates();
    ExpectGL(testsupport::CachedGLValues(renderer));
}

TEST_F(OffscreenRendererLifecycle, AFullScreenModeTheDisplayRefusesLeavesAWindow) {
    // The offscreen driver lists no modes, so the fake display stands in.
    RendererHost host(32, 24);
    DisplaySettings settings = host.Settings();
    settings.width = 800;
    settings.height = 600;
    settings.fullScreen = true;
    for (const bool refused : {true, false}) {
        os::headless::RefuseDisplayModes(refused ? std::vector<os::DisplayMode>{{800, 600, 32, 60}}
                                                 : std::vector<os::DisplayMode>{});
        {
            const OGLRenderer renderer(settings);
            EXPECT_EQ(renderer.GetDisplaySettings().fullScreen, !refused);
            EXPECT_EQ(os::headless::DisplayChanges().back().flags, refused ? os::CDS_TEST : os::CDS_FULLSCREEN);
        }
        // Going away, the renderer gives the desktop its mode back (when it took it).
        EXPECT_EQ(os::headless::DisplayChanges().back().restore, !refused);
    }
}

TEST_F(OffscreenRendererLifecycle, ReadPixelsFillsExactlyThreeBytesPerPixel) {
    RendererHost host(3, 2);
    OGLRenderer renderer(host.Settings());
    renderer.ClearColorBuffer({1.0f, 0.0f, 1.0f, 1.0f});
    // Six magenta pixels, then the guard bytes untouched.
    std::vector<std::uint8_t> buffer(18 + 8, 0x5A);
    renderer.ReadPixels(buffer.data());
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], i >= 18 ? 0x5A : i % 3 == 1 ? 0 : 255) << i;
    }
    ExpectGL({{GL_PACK_ALIGNMENT, {4}}});
    renderer.ReadPixels(nullptr);
}

// A quad over the window with the texture replacing its colour; the
// centre pixel of the read-back frame.
std::array<std::uint8_t, 3> DrawQuad(IRenderer& renderer, const Core::RefPtr<ITexture>& texture) {
    const auto size = static_cast<float>(renderer.GetDisplaySettings().width);
    const float corners[] = {0, 0, 0, size, 0, 0, size, size, 0, 0, size, 0};
    const float texCoords[] = {0, 0, 1, 0, 1, 1, 0, 1};
    renderer.SetProjectionMatrix(Matrix4::Orthographic(0.0f, size, 0.0f, size));
    renderer.ClearColorBuffer({0.0f, 0.0f, 1.0f, 1.0f});
    DepthBufferState depth;
    depth.enabled = false;
    depth.Apply(renderer);
    // The unit's filter goes to the bound texture, so the texture comes first.
    renderer.SetTexture(0, texture);
    TextureUnit0State unit;
    unit.enabled = true;
    unit.environmentMode = 0;
    unit.Apply(renderer);
    renderer.SetVertexArray(corners);
    renderer.SetTexCoordArray(0, texCoords);
    renderer.DrawArrays(kTriangleFan, 0, 2);
    renderer.SetVertexArray(nullptr);
    renderer.SetTexCoordArray(0, nullptr);
    renderer.SetTexture(0, nullptr);
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(size * size) * 3);
    renderer.ReadPixels(frame.data());
    const std::size_t centre = frame.size() / 2 + static_cast<std::size_t>(size / 2) * 3;
    return {frame[centre], frame[centre + 1], frame[centre + 2]};
}

constexpr std::array<std::uint8_t, 3> kRed{255, 0, 0};

// The options screen replaces the renderer in place; the adapter may be
// asked during play. Neither takes the game's context or textures away, and
// the last renderer gives everything back in order.
TEST_F(OffscreenRendererLifecycle, ReplacingTheRendererOrAskingTheAdapterLeavesTheGameDrawing) {
    testsupport::TempDirectory directory;
    const Core::String red(directory.Path() + "/red.png");
    testsupport::SavePng(testsupport::FlatImage(4, 4, {255, 0, 0, 255}), red.c_str());
    RendererHost host(16, 16);
    Core::RefPtr<IRenderer> renderer = CreateRenderer(host.Settings());
    const Core::RefPtr<ITexture> texture = TextureManager::GetTexture(red, false);
    ASSERT_EQ(DrawQuad(*renderer, texture), kRed);

    // The old renderer goes after the new one is made.
    renderer = CreateRenderer(host.Settings());
    EXPECT_EQ(GetRenderer(), renderer);
    const os::GLContext game = os::GetCurrentGLContext();
    EXPECT_NE(game, os::kNoGLContext) << "the old renderer let go of the new one's context";
    EXPECT_EQ(TextureManager::GetTexture(red, false), texture);
    EXPECT_NE(texture->GetTextureName(), 0u);
    EXPECT_EQ(DrawQuad(*renderer, texture), kRed);

    PixelFormatDescription request;
    request.colorBits = 32;
    request.swapMethod = 1;
    EXPECT_NE(GetAdapter()->GetPixelFormat(request), 0);
    { const Core::RefPtr<Adapter> probe(TUN_NEW(Adapter)); }
    EXPECT_EQ(os::GetCurrentGLContext(), game);
    EXPECT_EQ(os::GetCurrentGLWindow(), host.window.GetDeviceContext());
    EXPECT_EQ(DrawQuad(*renderer, texture), kRed);

    // The last renderer gives back its OpenGL objects while its context is
    // still current, then the context, and the cache goes with it.
    renderer->SetTexture(1, TextureManager::GetTexture(Core::String(directory.Path() + "/missing.png"), false));
    const std::uint64_t ignoredBefore = os::gl::IgnoredCallCount();
    renderer = nullptr;
    EXPECT_EQ(os::gl::IgnoredCallCount(), ignoredBefore) << "the renderer called OpenGL without a context";
    EXPECT_FALSE(TextureManager::Exists());
    EXPECT_EQ(os::GetCurrentGLContext(), os::kNoGLContext);
    EXPECT_EQ(GetRenderer(), nullptr);
}

TEST_F(RendererLifecycle, WithoutSwapControlOrMultitextureFlagsAreOnlyRemembered) {
    // The headless backend has contexts without a driver: no extensions at all.
    RendererHost host(64, 64);
    DisplaySettings settings = host.Settings();
    settings.verticalSync = true;
    OGLRenderer renderer(settings);
    EXPECT_FALSE(renderer.IsSwapControlAvailable());
    renderer.SetVSyncEnabled(false);
    renderer.SetVSyncEnabled(true);
    EXPECT_TRUE(renderer.GetVSyncEnabled());
    EXPECT_FALSE(renderer.IsMultitextureAvailable());
    EXPECT_EQ(renderer.GetTextureUnitCount(), 1);
    renderer.SetTextureUnit2State(TextureUnit2State());
    EXPECT_EQ(renderer.GetActiveTextureUnit(), 0u);
}

TEST_F(RendererLifecycle, ToggleFullScreenGoesThereAndBackOnTheFakeDisplay) {
    RendererHost host(640, 480);
    host.window.SetVisible(true);
    host.window.SetPosition(40, 30);
    DisplaySettings settings = host.Settings();
    settings.width = 800;
    settings.height = 600;
    OGLRenderer renderer(settings);
    const std::array<std::int32_t, 2> windowed = Position(host.window);

    renderer.ToggleFullScreen();
    EXPECT_TRUE(renderer.GetDisplaySettings().fullScreen);
    EXPECT_FALSE(host.window.IsDecorated());
    EXPECT_TRUE(os::IsWindowTopMost(host.window.GetHandle()));
    EXPECT_EQ(os::headless::DisplayChanges().back().mode, (os::DisplayMode{800, 600, 32, 60}));

    renderer.ToggleFullScreen();
    EXPECT_FALSE(renderer.GetDisplaySettings().fullScreen || os::IsWindowTopMost(host.window.GetHandle()));
    EXPECT_TRUE(os::headless::DisplayChanges().back().restore && host.window.IsDecorated());
    EXPECT_EQ(Position(host.window), windowed);
    EXPECT_EQ(ClientSize(host.window), (os::Size{800, 600}));

    // A mode the display refuses leaves everything as it was: only the test was made.
    os::headless::RefuseDisplayModes({{800, 600, 32, 60}});
    const std::size_t changes = os::headless::DisplayChanges().size();
    renderer.ToggleFullScreen();
    EXPECT_TRUE(!renderer.GetDisplaySettings().fullScreen && host.window.IsDecorated());
    EXPECT_EQ(os::headless::DisplayChanges().size(), changes + 1);
}

TEST(RendererLifecycleDeathTest, ARendererWithoutAWindowEndsWithTheContextReport) {
    const AdapterInformation adapter;
    DisplaySettings settings(64, 64);
    EXPECT_EXIT({ const OGLRenderer renderer(settings); }, testing::ExitedWithCode(os::ExitStatusFor(1400)),
                "The \"wglCreateContext\" function failed with error 1400");
}

}  // namespace
