#include "os/OS_Message.h"
#include "os/OS_Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every message a test window's procedure received.
std::vector<os::Message> g_received;

std::intptr_t RecordingProc(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    g_received.push_back({window, message, wParam, lParam});
    return os::DefWindowProc(window, message, wParam, lParam);
}

constexpr const char* kClass = "OSWindowTestClass";
constexpr std::uint32_t kStyle = os::WS_OVERLAPPEDWINDOW;

class HeadlessWindow : public testing::Test {
protected:
    static void SetUpTestSuite() { os::RegisterWindowClass(kClass, &RecordingProc); }

    void SetUp() override {
        os::headless::ResetWindowSystem();
        g_received.clear();
    }

    void TearDown() override {
        for (os::WindowHandle window : m_windows) {
            os::DestroyWindow(window);
        }
        os::headless::ResetWindowSystem();
    }

    os::WindowHandle Make(const os::Rect& client = {100, 50, 900, 650}) {
        const os::WindowHandle window = os::CreateWindow(kClass, kStyle, client, this);
        m_windows.push_back(window);
        return window;
    }

    // Every message waiting in the queue, in order.
    static std::vector<os::Message> Drain() {
        std::vector<os::Message> messages;
        os::Message message;
        for (int guard = 0; guard < 100 && os::PeekMessage(&message); ++guard) {
            messages.push_back(message);
        }
        return messages;
    }

    std::vector<os::WindowHandle> m_windows;
};

TEST_F(HeadlessWindow, RefusedCallsChangeNothingAndStaleHandlesStayInvalid) {
    EXPECT_EQ(os::CreateWindow("NoSuchClass", kStyle, {0, 0, 10, 10}, nullptr), os::kNoWindow);
    EXPECT_EQ(os::CreateWindow(kClass, kStyle, {10, 10, 0, 20}, nullptr), os::kNoWindow);
    EXPECT_FALSE(os::RegisterWindowClass(kClass, &RecordingProc));
    EXPECT_FALSE(os::RegisterWindowClass("Other", nullptr));
    EXPECT_TRUE(g_received.empty());

    const os::WindowHandle first = Make();
    g_received.clear();
    EXPECT_TRUE(os::DestroyWindow(first));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, os::WM_DESTROY);
    const os::WindowHandle second = Make();
    EXPECT_NE(second, first) << "a handle was reused";
    os::Rect rect;
    EXPECT_FALSE(os::DestroyWindow(first));
    EXPECT_FALSE(os::GetClientRect(first, &rect));
    EXPECT_EQ(os::GetWindowUserData(first), nullptr);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(HeadlessWindow, ClientAndScreenCoordinatesDifferByTheClientOrigin) {
    const os::WindowHandle window = Make({100, 50, 900, 650});
    os::Point point{5, 7};
    ASSERT_TRUE(os::ClientToScreen(window, &point));
    EXPECT_EQ(point, (os::Point{105, 57}));
    ASSERT_TRUE(os::ScreenToClient(window, &point));
    EXPECT_EQ(point, (os::Point{5, 7}));
    EXPECT_FALSE(os::ClientToScreen(window, nullptr));

    // Coordinates from untrusted data saturate instead of overflowing.
    point = {INT32_MAX, INT32_MIN};
    ASSERT_TRUE(os::ClientToScreen(window, &point));
    EXPECT_EQ(point, (os::Point{INT32_MAX, INT32_MIN + 50}));
    point = {INT32_MIN, INT32_MIN};
    ASSERT_TRUE(os::ScreenToClient(window, &point));
    EXPECT_EQ(point, (os::Point{INT32_MIN, INT32_MIN}));
}

TEST_F(HeadlessWindow, QuitIsQueuedInOrderAndPostedOnce) {
    const os::WindowHandle window = Make();
    os::headless::InjectWindowEvent(window, os::WindowEvent::Exposed);
    os::PostQuitMessage(0);
    os::PostQuitMessage(0);
    os::headless::InjectWindowEvent(window, os::WindowEvent::FocusLost);
    const std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message, os::WM_PAINT);
    EXPECT_EQ(messages[1].message, os::WM_QUIT);
    EXPECT_EQ(messages[1].window, os::kNoWindow);
    EXPECT_EQ(messages[2].message, os::WM_ACTIVATE);

    EXPECT_FALSE(os::PeekMessage(nullptr));
}

TEST_F(HeadlessWindow, SystemQuitClosesTheOldestWindowUnlessAlreadyClosing) {
    // With no window to close, the session's quit is the program's quit.
    os::headless::InjectSystemQuit();
    std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, os::WM_QUIT);

    const os::WindowHandle oldest = Make();
    Make();
    os::headless::InjectSystemQuit();
    messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, os::WM_CLOSE);
    EXPECT_EQ(messages[0].window, oldest);

    // The window manager's close and the session's quit for the same request.
    os::headless::InjectWindowEvent(oldest, os::WindowEvent::Close);
    os::headless::InjectSystemQuit();
    messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, os::WM_CLOSE);
}

// A close of a gone window would otherwise swallow the session's next quit.
TEST_F(HeadlessWindow, EventsOfADestroyedWindowAreDropped) {
    const os::WindowHandle window = Make();
    os::headless::InjectWindowEvent(window, os::WindowEvent::Close);
    os::DestroyWindow(window);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(os::DispatchMessage({window, os::WM_PAINT, 0, 0}), 0);
}

}  // namespace
