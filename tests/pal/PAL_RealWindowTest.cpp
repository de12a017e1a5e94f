#include "pal/PAL_Window.h"

#include "PAL_TestIcon.h"
#include "os/OS_Cursor.h"
#include "os/OS_Window.h"
#include "os/OS_SdlVideo.h"
#include "support/TempDirectory.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

// The platform window on SDL's offscreen driver: shown with a title and the
// .ico icon, then closed as the window manager's close button does. The
// close never destroys the window by itself, and one quit is queued.
TEST(RealWindow, CloseButtonReachesTheCallbackAndEndsTheLoop) {
    const testsupport::ScopedVideoDriver driver("offscreen");
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
        SDL_Event close{};
        close.window.type = SDL_WINDOWEVENT;
        close.window.timestamp = SDL_GetTicks();
        close.window.windowID = SDL_GetWindowID(os::GetSdlWindow(handle));
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        EXPECT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
        EXPECT_FALSE(PAL::PumpMessages());
        EXPECT_EQ(closes, 1);
        EXPECT_TRUE(os::IsWindow(handle) && PAL::PumpMessages());
    }
    EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
}

// A driver without a desktop pointer (the offscreen one) reports it within
// the window; the cursor still reads back where it was put, wherever the
// window stands.
TEST(RealWindow, TheCursorReadsBackWhereItWasPutAwayFromTheOrigin) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    {
        PAL::Window window(320, 240);
        ASSERT_TRUE(os::SetWindowPosition(window.GetHandle(), 100, 60));
        os::Point origin{0, 0};
        ASSERT_TRUE(os::ClientToScreen(window.GetHandle(), &origin));
        ASSERT_TRUE(os::SetCursorPos(origin.x + 200, origin.y + 120));
        os::Point position;
        ASSERT_TRUE(os::GetCursorPos(&position));
        EXPECT_EQ(position.x, origin.x + 200);
        EXPECT_EQ(position.y, origin.y + 120);
    }
}
