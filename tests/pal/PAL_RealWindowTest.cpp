#include "pal/PAL_Window.h"

#include "PAL_TestIcon.h"
#include "support/PAL_X11Close.h"
#include "os/OS_Backend.h"
#include "os/OS_SdlVideo.h"
#include "support/GraphicsDrivers.h"
#include "support/TempDirectory.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

// The platform window on SDL's real video drivers: the offscreen driver
// everywhere, and X11 when a display (or Xvfb) is there.
namespace {

class RealWindow : public testing::Test {
protected:
    void TearDown() override {
        EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
        unsetenv("SDL_VIDEODRIVER");
        os::SelectBackend(os::Backend::Headless);
    }

    // The driver must be chosen before SDL video starts.
    static void UseDriver(const char* driver) {
        testsupport::KeepGraphicsDriversLoaded();
        setenv("SDL_VIDEODRIVER", driver, 1);
        os::SelectBackend(os::Backend::Real);
    }

    // Shows the window with a title and the .ico icon, and pumps once.
    void ShowTitled(PAL::Window& window) {
        const os::WindowHandle handle = window.GetHandle();
        ASSERT_TRUE(os::IsWindow(handle)) << os::ErrorText(os::GetLastError());
        EXPECT_TRUE(os::WindowSupportsOpenGL(handle));
        window.SetTitle("Emberline");
        window.SetIcon(m_icon.c_str());
        window.SetVisible(true);
        EXPECT_TRUE(os::IsWindowVisible(handle));
        EXPECT_EQ(os::GetWindowTitle(handle), "Emberline");
        EXPECT_TRUE(PAL::PumpMessages());
    }

    testsupport::TempDirectory m_directory;
    const std::string m_icon = m_directory.WriteFile("GameIcon.ico", TwoByTwoIcon());
};

class OffscreenWindow : public RealWindow {};
class X11Window : public RealWindow {};

TEST_F(OffscreenWindow, OpensShowsTitlesPumpsAndCloses) {
    UseDriver("offscreen");
    PAL::Window window(320, 240);
    ASSERT_NO_FATAL_FAILURE(ShowTitled(window));
    PAL::RequestQuit();
    EXPECT_FALSE(PAL::PumpMessages());
    window.Destory();
    EXPECT_FALSE(os::IsWindow(window.GetHandle()));
}

TEST_F(X11Window, CloseButtonReachesTheCallbackAndEndsTheLoop) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    UseDriver("x11");
    static int closes = 0;
    PAL::Window window(320, 240);
    window.SetOnClose([](PAL::Window*, bool*) {
        ++closes;
        PAL::RequestQuit();
    });
    ASSERT_NO_FATAL_FAILURE(ShowTitled(window));
    ASSERT_TRUE(SendWindowManagerClose(os::GetSdlWindow(window.GetHandle())));
    bool quit = false;
    for (int attempt = 0; attempt < 300 && !quit; ++attempt) {
        quit = !PAL::PumpMessages();
        SDL_Delay(quit ? 0 : 10);
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(closes, 1);
    // The close never destroys the window by itself, and one quit was queued.
    EXPECT_TRUE(os::IsWindow(window.GetHandle()));
    EXPECT_TRUE(PAL::PumpMessages());
}

}  // namespace
