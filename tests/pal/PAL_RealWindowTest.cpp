#include "pal/PAL_Window.h"

#include "PAL_TestIcon.h"
#include "PAL_X11Close.h"
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

    // Pumps until the pump reports the quit or the bound is reached; true when it quit.
    static bool PumpUntilQuit() {
        for (int attempt = 0; attempt < 300; ++attempt) {
            if (!PAL::PumpMessages()) {
                return true;
            }
            SDL_Delay(10);
        }
        return false;
    }

    static int s_closes;
};

int RealWindow::s_closes = 0;

class OffscreenWindow : public RealWindow {};
class X11Window : public RealWindow {};

TEST_F(OffscreenWindow, OpensShowsTitlesPumpsAndCloses) {
    UseDriver("offscreen");
    testsupport::TempDirectory directory;
    const std::string icon = directory.WriteFile("GameIcon.ico", TwoByTwoIcon());
    {
        PAL::Window window(320, 240);
        const os::WindowHandle handle = window.GetHandle();
        ASSERT_TRUE(os::IsWindow(handle)) << os::ErrorText(os::GetLastError());
        EXPECT_NE(os::GetSdlWindow(window.GetDeviceContext()), nullptr);
        EXPECT_TRUE(os::WindowSupportsOpenGL(handle));
        window.SetVisible(true);
        window.SetTitle("Emberline");
        window.SetIcon(icon.c_str());
        EXPECT_TRUE(os::IsWindowVisible(handle));
        EXPECT_EQ(os::GetWindowTitle(handle), "Emberline");
        EXPECT_TRUE(PAL::PumpMessages());
        PAL::RequestQuit();
        EXPECT_FALSE(PAL::PumpMessages());
        window.Destory();
        EXPECT_FALSE(os::IsWindow(handle));
    }
}

TEST_F(X11Window, CloseButtonReachesTheCallbackAndEndsTheLoop) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    UseDriver("x11");
    testsupport::TempDirectory directory;
    const std::string icon = directory.WriteFile("GameIcon.ico", TwoByTwoIcon());
    s_closes = 0;
    {
        PAL::Window window(320, 240);
        const os::WindowHandle handle = window.GetHandle();
        ASSERT_TRUE(os::IsWindow(handle)) << os::ErrorText(os::GetLastError());
        EXPECT_TRUE(os::WindowSupportsOpenGL(handle));
        window.SetOnClose([](PAL::Window*, bool*) {
            ++s_closes;
            PAL::RequestQuit();
        });
        window.SetTitle("Emberline");
        window.SetIcon(icon.c_str());
        window.SetVisible(true);
        EXPECT_TRUE(os::IsWindowVisible(handle));
        EXPECT_EQ(os::GetWindowTitle(handle), "Emberline");
        EXPECT_TRUE(PAL::PumpMessages());

        ASSERT_TRUE(SendWindowManagerClose(os::GetSdlWindow(handle)));
        EXPECT_TRUE(PumpUntilQuit());
        EXPECT_EQ(s_closes, 1);
        // The close never destroys the window by itself, and one quit was queued.
        EXPECT_TRUE(os::IsWindow(handle));
        EXPECT_TRUE(PAL::PumpMessages());
    }
}

}  // namespace
