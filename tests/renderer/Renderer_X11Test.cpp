#include "os/OS_Window.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_AdapterInformation.h"
#include "renderer/Renderer_OGLRenderer.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

// The renderer in a real X11 window (Xvfb in CI): frames are cleared and
// presented, full screen comes and goes, and the desktop gets its mode back.
namespace {

using namespace Renderer;

class X11Renderer : public testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || display[0] == '\0') {
            GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
        }
        driver = std::make_unique<testsupport::ScopedVideoDriver>("x11");
    }

    void TearDown() override { driver.reset(); }

    // The window as the rendering application shows it.
    static void ShowAsTheApplicationDoes(PAL::Window& window) {
        window.SetResizable(false);
        window.SetMaximizeBox(false);
        window.SetVisible(true);
    }

    // Pumps until the window's outer rectangle is the expected one; bounded.
    static bool SettlesAt(const PAL::Window& window, const os::Rect& expected) {
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

    static void DrawFrames(IRenderer& renderer, int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            const float shade = static_cast<float>(frame) / static_cast<float>(frames);
            renderer.ClearColorBuffer({shade, 0.5f, 1.0f - shade, 1.0f});
            std::uint8_t pixel[4] = {};
            glReadBuffer(GL_BACK);
            glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            EXPECT_NEAR(pixel[1], 128, 1) << "frame " << frame;
            renderer.Present();
            PAL::PumpMessages();
        }
    }

    std::unique_ptr<testsupport::ScopedVideoDriver> driver;
};

TEST_F(X11Renderer, FullScreenComesAndGoesAndTheDesktopGetsItsModeBackAtTheEnd) {
    const AdapterInformation adapter;
    PAL::Window window(320, 240);
    ShowAsTheApplicationDoes(window);
    window.SetPosition(40, 30);
    os::Rect windowed;
    os::GetWindowRect(window.GetHandle(), &windowed);
    ASSERT_TRUE(SettlesAt(window, windowed));
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    SDL_Window* native = os::GetSdlWindow(window.GetHandle());

    DisplaySettings settings(320, 240);
    settings.window = &window;
    settings.verticalSync = true;
    {
        const Core::RefPtr<IRenderer> renderer = CreateRenderer(settings);
        EXPECT_TRUE(renderer->GetVSyncEnabled());
        DrawFrames(*renderer, 2);
        // The closest listed mode always passes its test, and SDL switches to it.
        renderer->ToggleFullScreen();
        ASSERT_TRUE(renderer->GetDisplaySettings().fullScreen);
        EXPECT_NE(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_FALSE(window.IsDecorated());
        DrawFrames(*renderer, 2);
        renderer->ToggleFullScreen();
        EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_TRUE(window.IsDecorated());
        EXPECT_TRUE(SettlesAt(window, windowed));
        os::Rect client;
        os::GetClientRect(window.GetHandle(), &client);
        EXPECT_EQ(client, (os::Rect{0, 0, 320, 240}));
        DrawFrames(*renderer, 2);
        // Going away in full screen.
        renderer->ToggleFullScreen();
        EXPECT_TRUE(adapter.GetAdapter().IsDisplayModeChanged());
    }
    EXPECT_FALSE(adapter.GetAdapter().IsDisplayModeChanged());
    EXPECT_EQ(SDL_GetWindowFlags(native) & SDL_WINDOW_FULLSCREEN, 0u);
    SDL_DisplayMode current{};
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
    EXPECT_EQ(current.w, desktop.w);
    EXPECT_EQ(current.h, desktop.h);
}

}  // namespace
