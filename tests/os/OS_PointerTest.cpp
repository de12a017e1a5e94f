#include "os/OS_Cursor.h"
#include "os/OS_Keyboard.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"
#include "os/OS_X11DisplayTestHooks.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <sys/wait.h>
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
        // A window manager frames the window after it is shown and the game
        // then puts its client area back where it asked: the tests begin
        // once it stands there.
        const testsupport::XWindowId native = testsupport::X11WindowOf(os::GetSdlWindow(m_window));
        const os::Point asked{100, 80};
        ASSERT_EQ(PumpUntilRead(
                      [&] {
                          const os::Rect client = m_desktop->ClientRect(native);
                          return os::Point{client.left, client.top};
                      },
                      asked),
                  asked);
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

    bool Minimised() const { return (SDL_GetWindowFlags(os::GetSdlWindow(m_window)) & SDL_WINDOW_MINIMIZED) != 0; }

    os::Point OnScreen(os::Point client) const {
        os::ClientToScreen(m_window, &client);
        return client;
    }

    os::Point OuterTopLeft() const {
        os::Rect outer;
        os::GetWindowRect(m_window, &outer);
        return {outer.left, outer.top};
    }

    // Pumps until the reading gives the value or a hang guard runs out; what it gave last.
    template <typename Reading, typename Value>
    static Value PumpUntilRead(Reading read, Value expected) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(240);
        Value value;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Pump();
            value = read();
        } while (value != expected && std::chrono::steady_clock::now() < end);
        return value;
    }

    static os::Point ReadAfterPumping(os::Point expected) {
        return PumpUntilRead(
            [] {
                os::Point read;
                os::GetCursorPos(&read);
                return read;
            },
            expected);
    }

    // Whether the game reads the left button held once the display's events are in.
    static bool LeftHeldAfterPumping(bool expected) {
        return PumpUntilRead([] { return os::GetAsyncKeyState(os::VK_LBUTTON) < 0; }, expected);
    }

    static bool LeftHeld() { return os::GetAsyncKeyState(os::VK_LBUTTON) < 0; }

    // A press or release of the left button as SDL makes it from a touch on
    // the screen; the display holds no button for a touch.
    void PushTouchButton(bool down) const {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = SDL_GetWindowID(os::GetSdlWindow(m_window));
        event.button.which = SDL_TOUCH_MOUSEID;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        EXPECT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    // Puts the pointer there and waits until the game reads it there.
    void PointerTo(os::Point screen) {
        m_desktop->WarpPointer(screen);
        ASSERT_EQ(ReadAfterPumping(screen), screen);
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

// The window moves and the pointer stays: the game reads the pointer where
// it is, not where the window took the point it was last seen at.
TEST_F(X11Pointer, AWindowMovedUnderAStillPointerLeavesItWhereItIs) {
    const os::Point at = OnScreen({200, 150});
    PointerTo(at);
    // The outer top-left goes there: the frame's, when a window manager frames it.
    ASSERT_TRUE(os::SetWindowPosition(m_window, 160, 105));
    ASSERT_EQ(PumpUntilRead([this] { return OuterTopLeft(); }, os::Point{160, 105}), (os::Point{160, 105}));
    const os::Rect client = m_desktop->ClientRect(testsupport::X11WindowOf(os::GetSdlWindow(m_window)));
    EXPECT_EQ(OnScreen({0, 0}), (os::Point{client.left, client.top})) << "the game has its window elsewhere";
    EXPECT_EQ(m_desktop->PointerPosition(), at);
    os::Point read;
    ASSERT_TRUE(os::GetCursorPos(&read));
    EXPECT_EQ(read, at);
}

// A press belongs to the program whose window it began on: one begun on the
// desktop never reaches the game, one begun in the game's window holds
// while the pointer leaves, until its release out there.
TEST_F(X11Pointer, APressCountsOnlyWhenItBeginsOverTheGamesWindow) {
    const os::Point outside = OnScreen({450, 150});
    const os::Point inside = OnScreen({200, 150});
    PointerTo(inside);
    m_desktop->WarpPointer(outside);
    m_desktop->LeftButton(true);
    ASSERT_TRUE(m_desktop->PumpPastSentEvents(os::GetSdlWindow(m_window), &Pump));
    EXPECT_FALSE(os::GetAsyncKeyState(os::VK_LBUTTON) < 0) << "a press begun on the desktop";
    PointerTo(inside);
    EXPECT_FALSE(os::GetAsyncKeyState(os::VK_LBUTTON) < 0) << "a press begun on the desktop, carried over the window";
    m_desktop->LeftButton(false);

    m_desktop->LeftButton(true);
    EXPECT_TRUE(LeftHeldAfterPumping(true)) << "a press in the window";
    m_desktop->WarpPointer(outside);
    EXPECT_EQ(ReadAfterPumping(outside), outside);
    EXPECT_TRUE(os::GetAsyncKeyState(os::VK_LBUTTON) < 0) << "a drag out of the window";
    m_desktop->LeftButton(false);
    EXPECT_FALSE(LeftHeldAfterPumping(false)) << "released outside";
}

// A window manager that focuses a window when it is clicked does so with
// that very press: the click that brings the game to the front is a click.
TEST_F(X11Pointer, TheClickThatFocusesTheWindowCounts) {
    if (!m_desktop->WindowManagerRunning()) {
        GTEST_SKIP() << "only a window manager focuses a window when it is clicked (the /openbox entry)";
    }
    const os::Point other = OnScreen({450, 150});
    const testsupport::XWindowId otherWindow =
        m_desktop->OpenWindow({other.x, other.y - 50, other.x + 150, other.y + 50});
    PointerTo(other);
    m_desktop->LeftButton(true);
    m_desktop->LeftButton(false);
    ASSERT_EQ(PumpUntilRead([this] { return m_desktop->ActiveWindow(); }, otherWindow), otherWindow)
        << "the other program's window never took the focus";

    PointerTo(OnScreen({200, 150}));
    m_desktop->LeftButton(true);
    EXPECT_TRUE(LeftHeldAfterPumping(true)) << "the first click after another window had the focus";
    m_desktop->LeftButton(false);
    EXPECT_FALSE(LeftHeldAfterPumping(false));
}

// A click another program sends the window (an automation or accessibility
// tool, xdotool's --window) moves no device, so the display never holds the
// button: the press the pump took is still read once, then the button is up.
TEST_F(X11Pointer, AClickSentByAnotherProgramIsRead) {
    SDL_Window* window = os::GetSdlWindow(m_window);
    const testsupport::XWindowId target = testsupport::X11WindowOf(window);
    PointerTo(OnScreen({200, 150}));
    m_desktop->SendLeftButton(target, true);
    ASSERT_TRUE(m_desktop->PumpPastSentEvents(window, &Pump));
    EXPECT_TRUE(LeftHeld()) << "the press, taken in a pump before its release";
    Pump();
    EXPECT_FALSE(LeftHeld()) << "read once: the display holds the button up";
    m_desktop->SendLeftButton(target, false);
    ASSERT_TRUE(m_desktop->PumpPastSentEvents(window, &Pump));
    EXPECT_FALSE(LeftHeld()) << "its release";

    m_desktop->LeftButton(true);
    EXPECT_TRUE(LeftHeldAfterPumping(true)) << "the next press of the device";
    m_desktop->LeftButton(false);
    EXPECT_FALSE(LeftHeldAfterPumping(false)) << "its release";
}

// A finger on a touch screen holds the button until it is lifted, across
// frames in which the display holds no button; a tap within one pump is a click.
TEST_F(X11Pointer, ATouchIsAClick) {
    PointerTo(OnScreen({200, 150}));
    PushTouchButton(true);
    EXPECT_TRUE(LeftHeldAfterPumping(true)) << "a finger down";
    for (int frame = 0; frame < 5; ++frame) {
        Pump();
        EXPECT_TRUE(LeftHeld()) << "still down, frame " << frame;
    }
    PushTouchButton(false);
    EXPECT_FALSE(LeftHeldAfterPumping(false)) << "lifted";

    PushTouchButton(true);
    PushTouchButton(false);
    Pump();
    EXPECT_TRUE(LeftHeld()) << "a tap within one pump";
    Pump();
    EXPECT_FALSE(LeftHeld()) << "after the tap was read";
}

// Every question to the display is a round trip to the X server: a frame
// (a pump, then the pointer, its buttons and its place in the window read)
// asks the display once. A warp of the game's own is read where it put the
// pointer at once.
TEST_F(X11Pointer, AFrameAsksTheDisplayOnce) {
    PointerTo(OnScreen({200, 150}));
    constexpr int kFrames = 30;
    const int pointerAsked = os::detail::x11::PointerQueryCount();
    const int originAsked = os::detail::x11::OriginQueryCount();
    for (int frame = 0; frame < kFrames; ++frame) {
        Pump();
        os::Point read;
        ASSERT_TRUE(os::GetCursorPos(&read) && os::ScreenToClient(m_window, &read));
        EXPECT_EQ(read, (os::Point{200, 150}));
        for (const os::VirtualKey button : {os::VK_LBUTTON, os::VK_MBUTTON, os::VK_RBUTTON}) {
            static_cast<void>(os::GetAsyncKeyState(button));
        }
    }
    EXPECT_EQ(os::detail::x11::PointerQueryCount() - pointerAsked, kFrames);
    EXPECT_EQ(os::detail::x11::OriginQueryCount() - originAsked, 0);
    const os::Rect client = m_desktop->ClientRect(testsupport::X11WindowOf(os::GetSdlWindow(m_window)));
    EXPECT_EQ(OnScreen({0, 0}), (os::Point{client.left, client.top}));

    for (const os::Point client : {os::Point{120, 90}, os::Point{300, 200}}) {
        const os::Point warped = OnScreen(client);
        ASSERT_TRUE(os::SetCursorPos(warped.x, warped.y));
        os::Point read;
        ASSERT_TRUE(os::GetCursorPos(&read));
        EXPECT_EQ(read, warped) << "before the next pump";
        EXPECT_EQ(ReadAfterPumping(warped), warped) << "after it";
    }
}

// Hiding the window (another workspace) or minimising it while its button
// is down sends the release elsewhere: once the window is back the button
// is up, and the next press is a press. Only a window manager minimises.
TEST_F(X11Pointer, AReleaseTheWindowDidNotSeeEndsThePress) {
    const bool minimising = m_desktop->WindowManagerRunning();
    for (const bool minimise : {false, true}) {
        if (minimise && !minimising) {
            continue;
        }
        SCOPED_TRACE(minimise ? "minimised" : "hidden");
        PointerTo(OnScreen({200, 150}));
        m_desktop->LeftButton(true);
        ASSERT_TRUE(LeftHeldAfterPumping(true));
        if (minimise) {
            ASSERT_TRUE(os::SetWindowShowState(m_window, os::ShowState::Minimized));
            ASSERT_TRUE(PumpUntilRead([this] { return Minimised(); }, true));
        } else {
            ASSERT_TRUE(os::ShowWindow(m_window, false));
            Pump();
        }
        m_desktop->LeftButton(false);
        ASSERT_TRUE(minimise ? os::SetWindowShowState(m_window, os::ShowState::Restored)
                             : os::ShowWindow(m_window, true));
        ASSERT_FALSE(PumpUntilRead([this] { return Minimised(); }, false));
        ASSERT_TRUE(m_desktop->PumpPastSentEvents(os::GetSdlWindow(m_window), &Pump));
        EXPECT_FALSE(os::GetAsyncKeyState(os::VK_LBUTTON) < 0) << "released while the window was away";

        PointerTo(OnScreen({200, 150}));
        m_desktop->LeftButton(true);
        EXPECT_TRUE(LeftHeldAfterPumping(true)) << "the next press";
        m_desktop->LeftButton(false);
        EXPECT_FALSE(LeftHeldAfterPumping(false)) << "its release";
    }
}

// Errors the display reports about a window the window manager changed
// under the game (a frame dropped between two requests) leave it running;
// an error of its own still ends it, as before.
TEST_F(X11Pointer, OnlyErrorsAboutVanishedWindowsAreSurvived) {
    m_desktop->RequestAboutAVanishedWindow();
    os::Point read;
    EXPECT_TRUE(os::GetCursorPos(&read)) << "still running";
    const char* display = std::getenv("DISPLAY");
    // A forked child would share, and break, the game's connection.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const testsupport::X11Observer own(display);
            own.RequestAboutAMissingAtom();
            std::exit(0);
        },
        [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }, "BadAtom");
}

}  // namespace
