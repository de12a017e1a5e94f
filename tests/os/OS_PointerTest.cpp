#include "os/OS_Cursor.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

namespace {

// A window of the game on the test command's X display, and a second
// connection that moves the pointer as a remote desktop's server does.
class X11Pointer : public testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr) {
            GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
        }
        m_driver.emplace("x11");
        m_desktop.emplace(display);
        ASSERT_TRUE(m_desktop->Connected());
        static const bool registered = os::RegisterWindowClass("X11PointerTest", &os::DefWindowProc);
        static_cast<void>(registered);
        m_window = os::CreateWindow("X11PointerTest", os::WS_OVERLAPPEDWINDOW, {100, 80, 500, 380}, nullptr);
        ASSERT_TRUE(os::ShowWindow(m_window, true));
    }

    void TearDown() override {
        if (m_window != os::kNoWindow) {
            os::DestroyWindow(m_window);
        }
        Pump();
    }

    static void Pump() {
        os::Message message;
        while (os::PeekMessage(&message)) {
        }
    }

    os::Point OnScreen(os::Point client) const {
        os::ClientToScreen(m_window, &client);
        return client;
    }

    // Pumps until the cursor reads the point or a hang guard runs out; what it read last.
    static os::Point ReadAfterPumping(os::Point expected) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        os::Point read;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Pump();
            os::GetCursorPos(&read);
        } while (read != expected && std::chrono::steady_clock::now() < end);
        return read;
    }

    std::optional<testsupport::ScopedVideoDriver> m_driver;
    std::optional<testsupport::X11Observer> m_desktop;
    os::WindowHandle m_window = os::kNoWindow;
};

TEST_F(X11Pointer, MotionNoDeviceMadeIsReadWhereThePointerIs) {
    for (const os::Point client : {os::Point{50, 40}, os::Point{320, 210}}) {
        const os::Point at = OnScreen(client);
        m_desktop->WarpPointer(at);
        EXPECT_EQ(ReadAfterPumping(at), at);
    }
}

}  // namespace
