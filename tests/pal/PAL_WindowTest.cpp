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
    ProbeWindow() : PAL::Window(200, 100) {
        m_onMinimizeCommand = [](Window* w, bool* handled) { *handled = Of(w)->Note("minimize command"); };
        m_onMaximizeCommand = [](Window* w, bool* handled) { *handled = Of(w)->Note("maximize command"); };
        m_onRestoreCommand = [](Window* w, bool* handled) { *handled = Of(w)->Note("restore command"); };
        m_onMinimized = [](Window* w) { Of(w)->Note("minimized"); };
        m_onMaximized = [](Window* w) { Of(w)->Note("maximized"); };
        m_onRestored = [](Window* w) { Of(w)->Note("restored"); };
        m_onSizing = [](Window* w, std::int32_t width, std::int32_t height) {
            Of(w)->Note("sizing " + std::to_string(width) + "x" + std::to_string(height));
        };
        m_onShow = [](Window* w, bool shown) { Of(w)->Note(shown ? "shown" : "hidden"); };
        m_onPaint = [](Window* w) { Of(w)->Note("paint"); };
        m_onActivate = [](Window* w, bool active) { Of(w)->Note(active ? "active" : "inactive"); };
        m_onDestroy = [](Window* w) { Of(w)->Note("destroy"); };
    }
    // Destroyed here, so that the destroy callback still meets a ProbeWindow.
    ~ProbeWindow() override { Destory(); }

    // Answers whether a command counts as handled.
    bool Note(const std::string& what) {
        seen.push_back(what);
        return handleCommands;
    }

    std::vector<std::string> seen;
    bool handleCommands = false;

private:
    static ProbeWindow* Of(Window* window) { return static_cast<ProbeWindow*>(window); }
};

class PlatformWindow : public testing::Test {
protected:
    void SetUp() override { os::headless::ResetWindowSystem(); }
    void TearDown() override { os::headless::ResetWindowSystem(); }

    // Client origin on the screen and client size.
    static os::Rect ClientArea(const PAL::Window& window) {
        os::Point origin;
        os::Rect client;
        os::ClientToScreen(window.GetHandle(), &origin);
        os::GetClientRect(window.GetHandle(), &client);
        return {origin.x, origin.y, origin.x + client.Width(), origin.y + client.Height()};
    }
};

// A window at least as large as the work area in either direction sits at
// the corner; many windows register the class once. Undecorated there is
// neither caption nor frame; decorated again without being resizable, the
// caption comes back without the thick frame. The client size stays.
TEST_F(PlatformWindow, PlacementAndDecorationKeepTheClientSize) {
    os::headless::SetWorkAreaSize({1921, 1041});
    EXPECT_EQ(ClientArea(PAL::Window(800, 600)), (os::Rect{560, 220, 1360, 820}));
    os::headless::SetWorkAreaSize({1024, 768});
    for (const os::Size size : {os::Size{1024, 100}, os::Size{100, 768}, os::Size{2000, 2000}}) {
        EXPECT_EQ(ClientArea(PAL::Window(size.width, size.height)), (os::Rect{0, 0, size.width, size.height}));
    }
    EXPECT_EQ(os::headless::WindowClassRegistrations(), 1);

    PAL::Window window(640, 480);
    const os::WindowHandle handle = window.GetHandle();
    window.SetDecorated(false);
    EXPECT_EQ(os::GetWindowStyle(handle) & (os::WS_CAPTION | os::WS_THICKFRAME), 0u);
    EXPECT_TRUE(ClientArea(window).Width() == 640 && ClientArea(window).Height() == 480);
    window.SetResizable(false);
    window.SetDecorated(true);
    window.SetMaximizeBox(false);
    const std::uint32_t frame = os::WS_CAPTION | os::WS_THICKFRAME | os::WS_MAXIMIZEBOX | os::WS_MINIMIZEBOX;
    EXPECT_EQ(os::GetWindowStyle(handle) & frame, os::WS_CAPTION | os::WS_MINIMIZEBOX);
    window.SetClientSize(1024, 700);
    window.SetTopMost(true);
    EXPECT_TRUE(ClientArea(window).Width() == 1024 && ClientArea(window).Height() == 700);
    EXPECT_TRUE(os::IsWindowTopMost(handle));
}

// A file that is no icon is remembered but changes nothing. System commands
// call back only for their exact value; a handled one leaves the window
// alone, an unhandled one takes its default course. Destroying takes the
// context off, and messages for the gone window are dropped.
TEST_F(PlatformWindow, EventsAndCommandsReachTheirCallbacksUntilDestroyed) {
    testsupport::TempDirectory directory;
    const std::string icon = directory.WriteFile("GameIcon.ico", TwoByTwoIcon());
    const std::string bogus = directory.WriteFile("Bogus.ico", "not an icon");
    ProbeWindow window;
    const os::WindowHandle handle = window.GetHandle();
    EXPECT_FALSE(os::IsWindowVisible(handle) || window.IsVisible());
    window.SetVisible(true);
    window.SetIcon(icon.c_str());
    window.SetIcon(bogus.c_str());
    EXPECT_TRUE(os::IsWindowVisible(handle) && PAL::PumpMessages());
    EXPECT_TRUE(os::headless::WindowIconPath(handle) == icon && window.GetIconPath() == bogus.c_str());
    EXPECT_TRUE(window.SetPixelFormat(1) && !window.SetPixelFormat(0));
    EXPECT_TRUE(os::GetPixelFormat(window.GetDeviceContext()) == 1 && window.GetPixelFormatIndex() == 1);

    for (os::WindowEvent event : {os::WindowEvent::Minimized, os::WindowEvent::Maximized, os::WindowEvent::Restored,
                                  os::WindowEvent::FocusGained, os::WindowEvent::FocusLost, os::WindowEvent::Exposed,
                                  os::WindowEvent::Hidden}) {
        os::headless::InjectWindowEvent(handle, event);
    }
    os::headless::InjectWindowEvent(handle, os::WindowEvent::SizeChanged, {300, 150});
    window.handleCommands = true;
    for (std::uintptr_t command : {os::SC_MINIMIZE, os::SC_MAXIMIZE, os::SC_RESTORE, os::SC_MINIMIZE + 1}) {
        os::headless::PostMessage({handle, os::WM_SYSCOMMAND, command, 0});
    }
    EXPECT_TRUE(PAL::PumpMessages());
    window.handleCommands = false;
    os::headless::PostMessage({handle, os::WM_SYSCOMMAND, os::SC_RESTORE, 0});
    EXPECT_TRUE(PAL::PumpMessages());

    os::headless::SetCurrentGLWindow(handle);
    window.Destory();
    window.Destory();
    EXPECT_FALSE(os::IsWindow(handle));
    EXPECT_EQ(os::GetCurrentGLWindow(), os::kNoWindow);
    EXPECT_EQ(window.GetPixelFormatIndex(), 0);
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_TRUE(PAL::PumpMessages());
    EXPECT_EQ(window.seen, (std::vector<std::string>{"shown", "minimized", "maximized", "restored", "active",
                                                     "inactive", "paint", "hidden", "sizing 300x150",
                                                     "minimize command", "maximize command", "restore command",
                                                     "minimized", "restore command", "restored", "destroy"}));
}

TEST_F(PlatformWindow, CloseAndQuitRequestsEndTheLoopOnce) {
    static int closes = 0;
    PAL::Window window(100, 100);
    const os::WindowHandle handle = window.GetHandle();
    // An empty queue keeps the loop going without blocking; a quit requested
    // during a frame ends the next pump only.
    EXPECT_TRUE(PAL::PumpMessages());
    PAL::RequestQuit();
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(PAL::PumpMessages());
    // A close without a callback ends the loop but leaves the window.
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(os::IsWindow(handle) && PAL::PumpMessages());
    window.SetOnClose([](PAL::Window*, bool* handled) { *handled = ++closes > 0; });
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_TRUE(PAL::PumpMessages() && PAL::PumpMessages());
    EXPECT_EQ(closes, 1);
    // As the rendering application: ask to quit and leave the flag clear, so
    // the window posts the quit as well. The loop still ends only once.
    window.SetOnClose([](PAL::Window*, bool*) { PAL::RequestQuit(); });
    os::headless::InjectWindowEvent(handle, os::WindowEvent::Close);
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(PAL::PumpMessages());
}

}  // namespace
