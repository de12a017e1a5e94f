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

// The platform window on SDL's X11 driver (the renderer's tests use it on
// the offscreen driver): shown with a title and the .ico icon, closed with
// the window manager's close button. The close never destroys the window by
// itself, and one quit is queued.
TEST(X11Window, CloseButtonReachesTheCallbackAndEndsTheLoop) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    testsupport::KeepGraphicsDriversLoaded();
    setenv("SDL_VIDEODRIVER", "x11", 1);  // chosen before SDL video starts
    os::SelectBackend(os::Backend::Real);
    {
        static int closes = 0;
        testsupport::TempDirectory directory;
        PAL::Window window(320, 240);
        const os::WindowHandle handle = window.GetHandle();
        EXPECT_TRUE(os::IsWindow(handle) && os::WindowSupportsOpenGL(handle)) << os::ErrorText(os::GetLastError());
        window.SetTitle("Emberline");
        window.SetIcon(directory.WriteFile("GameIcon.ico", TwoByTwoIcon()).c_str());
        window.SetVisible(true);
        window.SetOnClose([](PAL::Window*, bool*) {
            ++closes;
            PAL::RequestQuit();
        });
        EXPECT_TRUE(os::IsWindowVisible(handle) && os::GetWindowTitle(handle) == "Emberline");
        EXPECT_TRUE(PAL::PumpMessages());
        EXPECT_TRUE(SendWindowManagerClose(os::GetSdlWindow(handle)));
        bool quit = false;
        for (int attempt = 0; attempt < 300 && !quit; ++attempt) {
            quit = !PAL::PumpMessages();
            SDL_Delay(quit ? 0 : 10);
        }
        EXPECT_TRUE(quit && closes == 1);
        EXPECT_TRUE(os::IsWindow(handle) && PAL::PumpMessages());
    }
    EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
    unsetenv("SDL_VIDEODRIVER");
    os::SelectBackend(os::Backend::Headless);
}
