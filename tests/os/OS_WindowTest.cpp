#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"

#include <gtest/gtest.h>

#include <vector>

// The headless window system: the session's quit and the events of gone windows.
namespace {

constexpr const char* kClass = "OSWindowTestClass";

std::intptr_t Procedure(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return os::DefWindowProc(window, message, wParam, lParam);
}

class HeadlessWindow : public testing::Test {
protected:
    static void SetUpTestSuite() { os::RegisterWindowClass(kClass, &Procedure); }
    void SetUp() override { os::headless::ResetWindowSystem(); }
    void TearDown() override {
        for (os::WindowHandle window : m_windows) {
            os::DestroyWindow(window);
        }
        os::headless::ResetWindowSystem();
    }

    os::WindowHandle Make() {
        m_windows.push_back(os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {100, 50, 900, 650}, nullptr));
        return m_windows.back();
    }

    // The messages of every queued event, in order.
    static std::vector<std::uint32_t> Drain() {
        std::vector<std::uint32_t> messages;
        os::Message message;
        for (int guard = 0; guard < 100 && os::PeekMessage(&message); ++guard) {
            messages.push_back(message.message);
        }
        return messages;
    }

    std::vector<os::WindowHandle> m_windows;
};

TEST_F(HeadlessWindow, TheSessionsQuitClosesTheOldestWindowOnceAndGoneWindowsSayNothing) {
    // With no window to close, the session's quit is the program's quit.
    os::headless::InjectSystemQuit();
    EXPECT_EQ(Drain(), std::vector<std::uint32_t>{os::WM_QUIT});

    const os::WindowHandle oldest = Make();
    Make();
    os::headless::InjectSystemQuit();
    os::Message message;
    ASSERT_TRUE(os::PeekMessage(&message));
    EXPECT_TRUE(message.message == os::WM_CLOSE && message.window == oldest);
    // The window manager's close and the session's quit for the same request.
    os::headless::InjectWindowEvent(oldest, os::WindowEvent::Close);
    os::headless::InjectSystemQuit();
    EXPECT_EQ(Drain(), std::vector<std::uint32_t>{os::WM_CLOSE});

    // A close of a gone window would otherwise swallow the session's next quit.
    os::headless::InjectWindowEvent(oldest, os::WindowEvent::Close);
    os::DestroyWindow(oldest);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(os::DispatchMessage({oldest, os::WM_PAINT, 0, 0}), 0);
    EXPECT_NE(Make(), oldest) << "a handle was reused";
    EXPECT_FALSE(os::IsWindow(oldest));
}

}  // namespace
