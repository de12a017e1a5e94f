#include "os/OS_Window.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// The renderer in a real X11 window (Xvfb in CI): frames are presented, full
// screen comes and goes, and the desktop gets its mode back.
namespace {

using namespace Renderer;

// Pumps until the window's outer rectangle is the expected one; bounded.
bool SettlesAt(const PAL::Window& window, const os::Rect& expected) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        PAL::PumpMessages();
        os::Rect outer;
        os::GetWindowRect(window.GetHandle(), &outer);
        if (outer == expected) {
            return true;
        }
        SDL_Delay(10);
    }
    return false;
}

void DrawFrame(IRenderer& renderer) {
    renderer.ClearColorBuffer({0.0f, 0.5f, 1.0f, 1.0f});
    std::uint8_t pixel[4] = {};
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[1], 128, 1);
    renderer.Present();
    PAL::PumpMessages();
}

TEST(X11Renderer, FullScreenComesAndGoesAndTheDesktopGetsItsModeBackAtTheEnd) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    const testsupport::ScopedVideoDriver driver("x11");
    const AdapterInformation adapter;
    auto window = std::make_unique<PAL::Window>(320, 240);
    window->SetResizable(false);
    window->SetVisible(true);
    window->SetPosition(40, 30);
    os::Rect windowed;
    os::GetWindowRect(window->GetHandle(), &windowed);
    ASSERT_TRUE(SettlesAt(*window, windowed));
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    SDL_Window* native = os::GetSdlWindow(window->GetHandle());

    DisplaySettings settings(320, 240);
    settings.window = window.get();
    settings.verticalSync = true;
    {
        const Core::RefPtr<IRenderer> renderer = CreateRenderer(settings);
        DrawFrame(*renderer);
        // The closest listed mode always passes its test, and SDL switches to it.
        renderer->ToggleFullScreen();
        ASSERT_TRUE(renderer->GetDisplaySettings().fullScreen);
        EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
        DrawFrame(*renderer);
        renderer->ToggleFullScreen();
        EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_TRUE(SettlesAt(*window, windowed));
        DrawFrame(*renderer);
        // Going away in full screen.
        renderer->ToggleFullScreen();
        EXPECT_TRUE(adapter.GetAdapter().IsDisplayModeChanged());
    }
    EXPECT_FALSE(adapter.GetAdapter().IsDisplayModeChanged());
    EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_DisplayMode current{};
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
    EXPECT_TRUE(current.w == desktop.w && current.h == desktop.h);
    window.reset();
}

}  // namespace
