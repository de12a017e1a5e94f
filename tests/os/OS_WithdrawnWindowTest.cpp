#include "os/OS_Message.h"
#include "os/OS_Window.h"
#include "support/TestDesktop.h"
#include "support/X11Desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

// A window hidden and shown again at once (the game does so around each
// switch to full screen) is shown, whatever the window manager was still
// doing with the hidden one.
namespace {

// Pumps until the display shows the window; false when it never does (a hang guard).
bool ComesUp(const testsupport::X11Observer& observer, os::WindowHandle window) {
    const testsupport::XWindowId native = testsupport::X11WindowOf(os::GetSdlWindow(window));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end) {
        os::Message message;
        while (os::PeekMessage(&message)) {
        }
        if (observer.Viewable(native)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(X11WindowManager, AWindowHiddenAndShownAtOnceIsShown) {
    using testsupport::Manager;
    for (const Manager manager : {Manager::Icewm, Manager::Openbox, Manager::I3, Manager::Twm}) {
        SCOPED_TRACE(testsupport::ManagerName(manager));
        const testsupport::TestDesktop desktop({1280, 800}, manager);
        if (desktop.Missing()) {
            continue;
        }
        ASSERT_EQ(desktop.Unready(), "");
        static const bool registered = os::RegisterWindowClass("WithdrawnWindowTest", &os::DefWindowProc);
        static_cast<void>(registered);
        const os::WindowHandle window =
            os::CreateWindow("WithdrawnWindowTest", os::WS_OVERLAPPEDWINDOW, {100, 100, 740, 580}, nullptr);
        ASSERT_NE(window, os::kNoWindow);
        ASSERT_TRUE(os::ShowWindow(window, true));
        ASSERT_TRUE(ComesUp(desktop.Observer(), window));
        for (int round = 0; round < 20; ++round) {
            ASSERT_TRUE(os::ShowWindow(window, false) && os::ShowWindow(window, true));
            ASSERT_TRUE(ComesUp(desktop.Observer(), window)) << "round " << round;
        }
        os::DestroyWindow(window);
    }
}

}  // namespace
