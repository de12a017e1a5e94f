#include "os/OS_Backend.h"
#include "os/OS_Cursor.h"
#include "os/OS_GLContext.h"
#include "os/OS_Keyboard.h"
#include "os/OS_Message.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_Window.h"
#include "support/GraphicsDrivers.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Smoke tests of the SDL backend on drivers that need no display.
namespace {

int g_created = 0;

std::intptr_t CountingProc(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    if (message == os::WM_CREATE) {
        ++g_created;
    }
    return os::DefWindowProc(window, message, wParam, lParam);
}

constexpr const char* kClass = "OSSdlWindowTestClass";

class SdlWindow : public testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() {
        testsupport::KeepGraphicsDriversLoaded();
        os::RegisterWindowClass(kClass, &CountingProc);
    }

    void SetUp() override {
        // The driver must be chosen before SDL video starts.
        setenv("SDL_VIDEODRIVER", GetParam(), 1);
        os::SelectBackend(os::Backend::Real);
        g_created = 0;
    }

    void TearDown() override {
        EXPECT_FALSE(os::sdl::IsVideoActive()) << "a window outlived its test";
        unsetenv("SDL_VIDEODRIVER");
        os::SelectBackend(os::Backend::Headless);
    }

    // Takes every queued message; bounded, as a broken queue must not hang.
    static int Pump() {
        os::Message message;
        int count = 0;
        while (count < 1000 && os::PeekMessage(&message)) {
            os::DispatchMessage(message);
            ++count;
        }
        return count;
    }
};

TEST_P(SdlWindow, WindowLivesAndDiesWithVideo) {
    // A subsystem someone else started outlives the windows.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
    const os::WindowHandle window = os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {10, 20, 330, 220}, nullptr);
    ASSERT_NE(window, os::kNoWindow) << os::ErrorText(os::GetLastError());
    EXPECT_EQ(g_created, 1);
    EXPECT_TRUE(os::sdl::IsVideoActive());
    ASSERT_NE(os::GetSdlWindow(window), nullptr);
    // The offscreen driver renders OpenGL; the dummy driver cannot.
    EXPECT_EQ(os::WindowSupportsOpenGL(window), std::string(GetParam()) == "offscreen");
    EXPECT_FALSE(os::IsWindowVisible(window));

    EXPECT_TRUE(os::ShowWindow(window, true));
    EXPECT_TRUE(os::IsWindowVisible(window));
    EXPECT_TRUE(os::SetWindowTitle(window, "Emberline"));
    EXPECT_EQ(os::GetWindowTitle(window), "Emberline");
    os::Rect client;
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 320, 200}));
    EXPECT_TRUE(os::SetWindowStyle(window, os::WS_OVERLAPPED));
    EXPECT_TRUE(os::SetWindowClientSize(window, 300, 100));
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 300, 100}));
    EXPECT_EQ(os::GetCurrentGLWindow(), os::kNoWindow);
    EXPECT_TRUE(os::ReleaseGLContext(window));
    Pump();

    // Keys and the cursor can be read while a window is open.
    std::uint8_t state[256];
    EXPECT_TRUE(os::GetKeyboardState(state));
    EXPECT_GE(os::GetAsyncKeyState(os::VK_LBUTTON), 0);
    os::Point position;
    EXPECT_TRUE(os::GetCursorPos(&position));
    os::CursorInfo info;
    EXPECT_TRUE(os::GetCursorInfo(&info));
    EXPECT_EQ(os::ShowCursor(false), -1);
    EXPECT_EQ(os::ShowCursor(true), 0);

    EXPECT_TRUE(os::DestroyWindow(window));
    EXPECT_FALSE(os::sdl::IsVideoActive());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_NE(SDL_WasInit(SDL_INIT_TIMER), 0u);
    SDL_QuitSubSystem(SDL_INIT_TIMER);
    // Without a window there is no cursor to ask.
    EXPECT_FALSE(os::GetCursorPos(&position));
    EXPECT_EQ(os::GetLastError(), os::ERROR_SDL_FAILURE);
}

// Also a quit posted while no window keeps video running arrives.
TEST_P(SdlWindow, QuitReachesThePumpOnce) {
    os::PostQuitMessage(0);
    os::Message message;
    ASSERT_TRUE(os::PeekMessage(&message));
    EXPECT_EQ(message.message, os::WM_QUIT);
    EXPECT_FALSE(os::PeekMessage(&message));

    const os::WindowHandle window = os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 64}, nullptr);
    ASSERT_NE(window, os::kNoWindow);
    Pump();
    os::PostQuitMessage(0);
    os::PostQuitMessage(0);
    int quits = 0;
    for (int guard = 0; guard < 1000 && os::PeekMessage(&message); ++guard) {
        quits += message.message == os::WM_QUIT ? 1 : 0;
    }
    EXPECT_EQ(quits, 1);
    os::DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Drivers, SdlWindow, testing::Values("offscreen", "dummy"));

}  // namespace
