#include "pal/PAL_Window.h"

#include "PAL_TestIcon.h"
#include "os/OS_GLContext.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Message.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A window that fills every callback and notes what reached it.
class ProbeWindow : public PAL::Window {
public:
    ProbeWindow(std::int32_t width, std::int32_t height) : PAL::Window(width, height) {
        m_onMinimizeCommand = [](Window* w, bool* handled) { Of(w)->Note("minimize command", handled); };
        m_onMaximizeCommand = [](Window* w, bool* handled) { Of(w)->Note("maximize command", handled); };
        m_onRestoreCommand = [](Window* w, bool* handled) { Of(w)->Note("restore command", handled); };
        m_onMinimized = [](Window* w) { Of(w)->seen.push_back("minimized"); };
        m_onMaximized = [](Window* w) { Of(w)->seen.push_back("maximized"); };
        m_onRestored = [](Window* w) { Of(w)->seen.push_back("restored"); };
        m_onSizing = [](Window* w, std::int32_t width, std::int32_t height) {
            Of(w)->seen.push_back("sizing " + std::to_string(width) + "x" + std::to_string(height));
        };
        m_onShow = [](Window* w, bool shown) { Of(w)->seen.push_back(shown ? "shown" : "hidden"); };
        m_onPaint = [](Window* w) { Of(w)->seen.push_back("paint"); };
        m_onActivate = [](Window* w, bool active) { Of(w)->seen.push_back(active ? "active" : "inactive"); };
        m_onDestroy = [](Window* w) { Of(w)->seen.push_back("destroy"); };
    }

    // Destroyed here, so that the destroy callback still meets a ProbeWindow.
    ~ProbeWindow() override { Destory(); }

    void HandleCommands(bool handle) { m_handleCommands = handle; }

    std::vector<std::string> seen;

private:
    static ProbeWindow* Of(Window* window) { return static_cast<ProbeWindow*>(window); }

    void Note(const char* what, bool* handled) {
        seen.push_back(what);
        *handled = m_handleCommands;
    }

    bool m_handleCommands = false;
};

class PlatformWindow : public testing::Test {
protected:
    void SetUp() override { os::headless::ResetWindowSystem(); }
    void TearDown() override { os::headless::ResetWindowSystem(); }

    static os::Rect ClientRect(const PAL::Window& window) {
        os::Rect client;
        os::GetClientRect(window.GetHandle(), &client);
        return client;
    }

    static os::Point ClientOrigin(const PAL::Window& window) {
        os::Point origin;
        os::ClientToScreen(window.GetHandle(), &origin);
        return origin;
    }
};

// A window at least as large as the work area in either direction sits at
// the corner. Many windows register the class once.
TEST_F(PlatformWindow, SmallerWindowIsCentredWithIntegerHalves) {
    os::headless::SetWorkAreaSize({1921, 1041});
    const PAL::Window centred(800, 600);
    EXPECT_EQ(ClientOrigin(centred), (os::Point{560, 220}));
    EXPECT_EQ(ClientRect(centred), (os::Rect{0, 0, 800, 600}));
    os::headless::SetWorkAreaSize({1024, 768});
    for (const os::Size size : {os::Size{1024, 100}, os::Size{100, 768}, os::Size{2000, 2000}}) {
        const PAL::Window window(size.width, size.height);
        EXPECT_EQ(ClientOrigin(window), (os::Point{0, 0}));
        EXPECT_EQ(ClientRect(window), (os::Rect{0, 0, size.width, size.height}));
    }
    EXPECT_EQ(os::headless::WindowClassRegistrations(), 1);
}

TEST_F(PlatformWindow, StartsHiddenWithItsDefaultsAndShowsOnRequest) {
    ProbeWindow window(320, 200);
    ASSERT_TRUE(os::IsWindow(window.GetHandle()));
    EXPECT_EQ(window.GetDeviceContext(), window.GetHandle());
    EXPECT_EQ(os::GetWindowUserData(window.GetHandle()), &window);
    EXPECT_FALSE(os::IsWindowVisible(window.GetHandle()));
    EXPECT_FALSE(window.IsVisible());
    EXPECT_TRUE(window.IsDecorated() && window.IsResizable() && window.HasMaximizeBox());
    window.SetVisible(true);
    EXPECT_TRUE(os::IsWindowVisible(window.GetHandle()));
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_EQ(window.seen, std::vector<std::string>{"shown"});
    window.SetVisible(false);
    EXPECT_FALSE(os::IsWindowVisible(window.GetHandle()));
}

// Then undecorated, at the corner, sized and on top, as the application's
// full-screen set-up does.
TEST_F(PlatformWindow, DecorationChangesKeepTheClientSize) {
    PAL::Window window(640, 480);
    const os::WindowHandle handle = window.GetHandle();
    window.SetDecorated(false);
    EXPECT_EQ(os::GetWindowStyle(handle) & (os::WS_CAPTION | os::WS_THICKFRAME), 0u);
    EXPECT_EQ(ClientRect(window), (os::Rect{0, 0, 640, 480}));
    os::Rect outer;
    os::GetWindowRect(handle, &outer);
    EXPECT_EQ(outer.Width(), 640);

    // Not resizable while undecorated changes nothing visible; decorated
    // again, the caption comes back without the thick frame.
    window.SetResizable(false);
    window.SetDecorated(true);
    EXPECT_EQ(os::GetWindowStyle(handle) & os::WS_CAPTION, os::WS_CAPTION);
    EXPECT_EQ(os::GetWindowStyle(handle) & os::WS_THICKFRAME, 0u);
    window.SetMaximizeBox(false);
    EXPECT_EQ(os::GetWindowStyle(handle) & os::WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(os::GetWindowStyle(handle) & os::WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(ClientRect(window), (os::Rect{0, 0, 640, 480}));

    window.SetDecorated(false);
    window.SetPosition(0, 0);
    window.SetClientSize(1024, 768);
    window.SetTopMost(true);
    EXPECT_EQ(ClientOrigin(window), (os::Point{0, 0}));
    EXPECT_EQ(ClientRect(window), (os::Rect{0, 0, 1024, 768}));
    os::Point position{-1, -1};
    window.GetPosition(&position.x, &position.y);
    EXPECT_EQ(position, (os::Point{0, 0}));
    EXPECT_TRUE(os::IsWindowTopMost(handle));
    window.SetTopMost(false);
    EXPECT_FALSE(os::IsWindowTopMost(handle));
}

// A file that is no icon is remembered but changes nothing.
TEST_F(PlatformWindow, TitleIconAndPixelFormatReachTheWindow) {
    testsupport::TempDirectory directory;
    const std::string icon = directory.WriteFile("GameIcon.ico", TwoByTwoIcon());
    const std::string bogus = directory.WriteFile("Bogus.ico", "not an icon");
    PAL::Window window(100, 100);
    window.SetTitle("Emberline");
    EXPECT_EQ(os::GetWindowTitle(window.GetHandle()), "Emberline");
    window.SetIcon(icon.c_str());
    EXPECT_EQ(os::headless::WindowIconPath(window.GetHandle()), icon);
    window.SetIcon(bogus.c_str());
    EXPECT_EQ(window.GetIconPath(), bogus.c_str());
    EXPECT_EQ(os::headless::WindowIconPath(window.GetHandle()), icon);

    EXPECT_TRUE(window.SetPixelFormat(1));
    EXPECT_EQ(window.GetPixelFormatIndex(), 1);
    EXPECT_FALSE(window.SetPixelFormat(0));
    EXPECT_EQ(os::GetPixelFormat(window.GetDeviceContext()), 1);
    EXPECT_EQ(window.GetPixelFormatIndex(), 1);
}

TEST_F(PlatformWindow, CloseAndQuitRequestsEndTheLoopOnce) {
    static int closes = 0;
    PAL::Window window(100, 100);
    const os::WindowHandle handle = window.GetHandle();
    // An empty queue keeps the loop going without blocking; a quit requested
    // during a frame ends the next pump.
    EXPECT_TRUE(PAL::PumpMessages());
    PAL::RequestQuit();
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(PAL::PumpMessages());

    // A close without a callback ends the loop but leaves the window.
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(os::IsWindow(handle));
    EXPECT_TRUE(PAL::PumpMessages());

    window.SetOnClose([](PAL::Window*, bool* handled) {
        ++closes;
        *handled = true;
    });
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_EQ(closes, 1);

    // As the rendering application: ask to quit and leave the flag clear, so
    // the window posts the quit as well. The loop still ends only once.
    window.SetOnClose([](PAL::Window*, bool*) { PAL::RequestQuit(); });
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(PAL::PumpMessages());
}

TEST_F(PlatformWindow, WindowEventsReachTheirCallbacks) {
    ProbeWindow window(200, 100);
    const os::WindowHandle handle = window.GetHandle();
    for (os::WindowEvent event : {os::WindowEvent::Minimized, os::WindowEvent::Maximized, os::WindowEvent::Restored,
                                  os::WindowEvent::FocusGained, os::WindowEvent::FocusLost, os::WindowEvent::Exposed,
                                  os::WindowEvent::Hidden}) {
        os::headless::InjectWindowEvent(handle, event);
    }
    os::headless::InjectWindowEvent(handle, os::WindowEvent::SizeChanged, {300, 150});
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_EQ(window.seen, (std::vector<std::string>{"minimized", "maximized", "restored", "active", "inactive",
                                                     "paint", "hidden", "sizing 300x150"}));
}

TEST_F(PlatformWindow, SystemCommandsCallBackOnlyForTheExactValue) {
    ProbeWindow window(200, 100);
    const os::WindowHandle handle = window.GetHandle();
    window.HandleCommands(true);
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_MINIMIZE, 0});
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_MAXIMIZE, 0});
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_RESTORE, 0});
    EXPECT_TRUE(PAL::PumpMessages());
    // Handled: the window itself did not change.
    EXPECT_EQ(window.seen, (std::vector<std::string>{"minimize command", "maximize command", "restore command"}));

    window.seen.clear();
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_MINIMIZE + 1, 0});
    EXPECT_TRUE(PAL::PumpMessages());
    // No callback; the default handling minimised the window.
    EXPECT_EQ(window.seen, std::vector<std::string>{"minimized"});

    window.seen.clear();
    window.HandleCommands(false);
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_RESTORE, 0});
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_EQ(window.seen, (std::vector<std::string>{"restore command", "restored"}));
}

TEST_F(PlatformWindow, DestroyTakesTheContextOffAndIsRepeatable) {
    ProbeWindow window(100, 100);
    const os::WindowHandle handle = window.GetHandle();
    os::headless::SetCurrentGLWindow(handle);
    window.SetPixelFormat(1);
    window.Destory();
    EXPECT_FALSE(os::IsWindow(handle));
    EXPECT_EQ(os::GetCurrentGLWindow(), os::kNoWindow);
    EXPECT_EQ(window.GetPixelFormatIndex(), 0);
    EXPECT_EQ(window.seen, std::vector<std::string>{"destroy"});

    window.Destory();
    EXPECT_EQ(window.seen.size(), 1u);
    // Messages for the gone window are dropped.
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_TRUE(PAL::PumpMessages());
}

}  // namespace
