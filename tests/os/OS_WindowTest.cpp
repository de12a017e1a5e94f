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

    os::WindowHandle Make(const os::Rect& client = {100, 50, 900, 650}, std::uint32_t style = kStyle) {
        const os::WindowHandle window = os::CreateWindow(kClass, style, client, this);
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

TEST_F(HeadlessWindow, CreationSendsCreateWithTheParameterBeforeReturning) {
    const os::WindowHandle window = Make();
    ASSERT_NE(window, os::kNoWindow);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, os::WM_CREATE);
    EXPECT_EQ(g_received[0].window, window);
    EXPECT_EQ(g_received[0].lParam, reinterpret_cast<std::intptr_t>(this));
    EXPECT_FALSE(os::IsWindowVisible(window));
    EXPECT_EQ(os::GetWindowStyle(window), kStyle);
}

TEST_F(HeadlessWindow, RefusedCreationsSetTheLastError) {
    os::SetLastError(0);
    EXPECT_EQ(os::CreateWindow("NoSuchClass", kStyle, {0, 0, 10, 10}, nullptr), os::kNoWindow);
    EXPECT_EQ(os::GetLastError(), os::ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(os::CreateWindow(kClass, kStyle, {0, 0, 0, 10}, nullptr), os::kNoWindow);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(os::CreateWindow(kClass, kStyle, {10, 10, 0, 20}, nullptr), os::kNoWindow);
    EXPECT_FALSE(os::RegisterWindowClass(kClass, &RecordingProc));
    EXPECT_EQ(os::GetLastError(), os::ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_FALSE(os::RegisterWindowClass("", &RecordingProc));
    EXPECT_FALSE(os::RegisterWindowClass("Other", nullptr));
    EXPECT_TRUE(g_received.empty());
}

TEST_F(HeadlessWindow, DestroyedHandlesStayInvalidAndAreNotReused) {
    const os::WindowHandle first = Make();
    g_received.clear();
    EXPECT_TRUE(os::DestroyWindow(first));
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, os::WM_DESTROY);
    EXPECT_FALSE(os::IsWindow(first));

    const os::WindowHandle second = Make();
    EXPECT_NE(second, first);
    os::SetLastError(0);
    os::Rect rect;
    EXPECT_FALSE(os::DestroyWindow(first));
    EXPECT_FALSE(os::GetClientRect(first, &rect));
    EXPECT_FALSE(os::SetWindowTitle(first, "x"));
    EXPECT_EQ(os::GetWindowUserData(first), nullptr);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(os::IsWindow(os::kNoWindow));
}

TEST_F(HeadlessWindow, OuterRectangleAddsTheFrameOfTheStyle) {
    const os::WindowHandle window = Make({100, 50, 900, 650});
    os::Rect client;
    os::Rect outer;
    ASSERT_TRUE(os::GetClientRect(window, &client));
    ASSERT_TRUE(os::GetWindowRect(window, &outer));
    EXPECT_EQ(client, (os::Rect{0, 0, 800, 600}));
    EXPECT_LT(outer.left, 100);
    EXPECT_LT(outer.top, 50);
    EXPECT_GT(outer.right, 900);
    EXPECT_GT(outer.bottom, 650);

    const os::WindowHandle bare = Make({100, 50, 900, 650}, os::WS_OVERLAPPED);
    ASSERT_TRUE(os::GetWindowRect(bare, &outer));
    EXPECT_EQ(outer, (os::Rect{100, 50, 900, 650}));
}

TEST_F(HeadlessWindow, StyleChangeKeepsTheOuterRectangle) {
    const os::WindowHandle window = Make();
    os::Rect outerBefore;
    os::Rect outerAfter;
    os::Rect client;
    ASSERT_TRUE(os::GetWindowRect(window, &outerBefore));
    ASSERT_TRUE(os::SetWindowStyle(window, kStyle & ~(os::WS_CAPTION | os::WS_THICKFRAME)));
    ASSERT_TRUE(os::GetWindowRect(window, &outerAfter));
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(outerAfter, outerBefore);
    EXPECT_EQ(client.Width(), outerBefore.Width());
    EXPECT_EQ(client.Height(), outerBefore.Height());
}

TEST_F(HeadlessWindow, PositionAndSizeCallsKeepTheirOtherHalf) {
    const os::WindowHandle window = Make();
    os::Rect outer;
    ASSERT_TRUE(os::SetWindowPosition(window, 10, 20));
    ASSERT_TRUE(os::GetWindowRect(window, &outer));
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    const std::int32_t outerWidth = outer.Width();

    ASSERT_TRUE(os::SetWindowClientSize(window, 320, 200));
    os::Rect client;
    ASSERT_TRUE(os::GetWindowRect(window, &outer));
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 320, 200}));
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    EXPECT_EQ(outer.Width(), outerWidth - 800 + 320);

    EXPECT_FALSE(os::SetWindowClientSize(window, 0, 200));
    EXPECT_FALSE(os::SetWindowClientSize(window, 320, -1));
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 320, 200}));
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

TEST_F(HeadlessWindow, PointsOnTheRightAndBottomEdgesAreOutside) {
    const os::Rect rect{0, 0, 800, 600};
    EXPECT_TRUE(os::PtInRect(rect, {0, 0}));
    EXPECT_TRUE(os::PtInRect(rect, {799, 599}));
    EXPECT_FALSE(os::PtInRect(rect, {800, 10}));
    EXPECT_FALSE(os::PtInRect(rect, {10, 600}));
    EXPECT_FALSE(os::PtInRect(rect, {-1, 10}));
}

TEST_F(HeadlessWindow, UserDataTitleTopMostAndPixelFormatAreKept) {
    const os::WindowHandle window = Make();
    int owner = 0;
    EXPECT_TRUE(os::SetWindowUserData(window, &owner));
    EXPECT_EQ(os::GetWindowUserData(window), &owner);
    EXPECT_TRUE(os::SetWindowTitle(window, "Emberline"));
    EXPECT_EQ(os::GetWindowTitle(window), "Emberline");
    EXPECT_TRUE(os::SetWindowTopMost(window, true));
    EXPECT_TRUE(os::IsWindowTopMost(window));
    EXPECT_TRUE(os::SetPixelFormat(window, 7));
    EXPECT_EQ(os::GetPixelFormat(window), 7);
    EXPECT_FALSE(os::SetPixelFormat(window, 0));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(os::GetPixelFormat(window), 7);
    EXPECT_EQ(os::GetSdlWindow(window), nullptr);
    EXPECT_FALSE(os::SetWindowIcon(window, "/no/such/icon.ico"));
    EXPECT_EQ(os::headless::WindowIconPath(window), "");
}

TEST_F(HeadlessWindow, WorkAreaIsConfigurable) {
    os::Size size;
    ASSERT_TRUE(os::GetWorkAreaSize(&size));
    EXPECT_EQ(size, (os::Size{1920, 1040}));
    os::headless::SetWorkAreaSize({1280, 1000});
    ASSERT_TRUE(os::GetWorkAreaSize(&size));
    EXPECT_EQ(size, (os::Size{1280, 1000}));
    EXPECT_FALSE(os::GetWorkAreaSize(nullptr));
}

TEST_F(HeadlessWindow, EventsBecomeMessagesInOrder) {
    const os::WindowHandle window = Make({0, 0, 640, 480});
    using os::WindowEvent;
    const struct {
        WindowEvent event;
        std::uint32_t message;
        std::uintptr_t wParam;
    } cases[] = {
        {WindowEvent::Shown, os::WM_SHOWWINDOW, 1},
        {WindowEvent::Hidden, os::WM_SHOWWINDOW, 0},
        {WindowEvent::Exposed, os::WM_PAINT, 0},
        {WindowEvent::Minimized, os::WM_SIZE, os::SIZE_MINIMIZED},
        {WindowEvent::Restored, os::WM_SIZE, os::SIZE_RESTORED},
        {WindowEvent::Maximized, os::WM_SIZE, os::SIZE_MAXIMIZED},
        {WindowEvent::FocusGained, os::WM_ACTIVATE, os::WA_ACTIVE},
        {WindowEvent::FocusLost, os::WM_ACTIVATE, os::WA_INACTIVE},
        {WindowEvent::SizeChanged, os::WM_SIZING, 0},
        {WindowEvent::Close, os::WM_CLOSE, 0},
    };
    for (const auto& c : cases) {
        os::headless::InjectWindowEvent(window, c.event, {640, 480});
    }
    const std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), std::size(cases));
    for (std::size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(messages[i].window, window);
        EXPECT_EQ(messages[i].message, cases[i].message);
        EXPECT_EQ(messages[i].wParam, cases[i].wParam);
    }
    // Restored and maximised carry the client size.
    EXPECT_EQ(messages[5].lParam, (480 << 16) | 640);
}

TEST_F(HeadlessWindow, MinimisedWindowHasNoClientArea) {
    const os::WindowHandle window = Make();
    os::headless::InjectWindowEvent(window, os::WindowEvent::Minimized);
    os::Rect client;
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{}));
    os::headless::InjectWindowEvent(window, os::WindowEvent::Restored);
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client, (os::Rect{0, 0, 800, 600}));
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

    os::PostQuitMessage(0);
    EXPECT_EQ(Drain().size(), 1u);
    os::Message message;
    EXPECT_FALSE(os::PeekMessage(&message));
    EXPECT_FALSE(os::PeekMessage(nullptr));
}

TEST_F(HeadlessWindow, SystemQuitClosesTheOldestWindowUnlessAlreadyClosing) {
    const os::WindowHandle oldest = Make();
    Make();
    os::headless::InjectSystemQuit();
    std::vector<os::Message> messages = Drain();
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

TEST_F(HeadlessWindow, SystemQuitWithoutWindowsIsAQuit) {
    os::headless::InjectSystemQuit();
    const std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, os::WM_QUIT);
}

TEST_F(HeadlessWindow, EventsOfADestroyedWindowAreDropped) {
    const os::WindowHandle window = Make();
    os::headless::InjectWindowEvent(window, os::WindowEvent::Exposed);
    os::DestroyWindow(window);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(os::DispatchMessage({window, os::WM_PAINT, 0, 0}), 0);
}

TEST_F(HeadlessWindow, DispatchCallsTheClassProcedure) {
    const os::WindowHandle window = Make();
    g_received.clear();
    os::headless::PostMessage({window, os::WM_SYSKEYDOWN, 0x12, 0});
    const std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), 1u);
    os::DispatchMessage(messages[0]);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, os::WM_SYSKEYDOWN);
    EXPECT_EQ(g_received[0].wParam, 0x12u);
}

TEST_F(HeadlessWindow, DefaultSystemCommandIgnoresTheLowBits) {
    const os::WindowHandle window = Make();
    os::DefWindowProc(window, os::WM_SYSCOMMAND, os::SC_MINIMIZE + 1, 0);
    os::Rect client;
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client.Width(), 0);
    os::DefWindowProc(window, os::WM_SYSCOMMAND, os::SC_RESTORE, 0);
    ASSERT_TRUE(os::GetClientRect(window, &client));
    EXPECT_EQ(client.Width(), 800);
    const std::vector<os::Message> messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, os::SIZE_MINIMIZED);
    EXPECT_EQ(messages[1].wParam, os::SIZE_RESTORED);
}

}  // namespace
