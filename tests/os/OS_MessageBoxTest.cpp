#include "os/OS_DisplaySettings.h"
#include "os/OS_GLContext.h"
#include "os/OS_Message.h"
#include "os/OS_MessageBox.h"
#include "os/OS_Window.h"
#include "support/BareXServer.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using testsupport::XWindowId;

// What a user saw of a box while it was up, seen from the side.
struct BoxSeen {
    XWindowId box = 0;
    XWindowId owner = 0;
    bool aboveTheGame = false;
};

// Waits for a managed window besides the game's, then for the window
// manager to give it the focus (a few seconds at most), notes where it
// stands, and closes it as its close button does.
BoxSeen WatchAndCloseTheBox(const std::string& display, XWindowId game) {
    using Clock = std::chrono::steady_clock;
    const testsupport::X11Observer observer(display);
    BoxSeen seen;
    const auto end = Clock::now() + std::chrono::seconds(240);
    std::optional<Clock::time_point> firstSeen;
    while (observer.Connected() && Clock::now() < end) {
        const std::vector<XWindowId> stack = observer.StackedWindows();
        const auto gameAt = std::find(stack.begin(), stack.end(), game);
        const auto boxAt = std::find_if(stack.begin(), stack.end(), [game](XWindowId w) { return w != game; });
        if (boxAt != stack.end()) {
            firstSeen = firstSeen.value_or(Clock::now());
            seen = {*boxAt, observer.TransientFor(*boxAt), gameAt != stack.end() && boxAt > gameAt};
            if (observer.ActiveWindow() == seen.box || Clock::now() - *firstSeen > std::chrono::seconds(5)) {
                observer.Close(seen.box);
                return seen;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return seen;
}

// The watcher runs in a process of its own: SDL shows the box from a forked
// copy of this one, where a thread of ours caught inside the allocator
// would leave its lock held for good.
class BoxWatcher {
public:
    BoxWatcher(const std::string& display, XWindowId game) {
        if (pipe(m_ends) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            const BoxSeen seen = WatchAndCloseTheBox(display, game);
            _exit(write(m_ends[1], &seen, sizeof seen) == sizeof seen ? 0 : 1);
        }
        close(m_ends[1]);
    }
    ~BoxWatcher() {
        close(m_ends[0]);
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    BoxSeen Seen() const {
        BoxSeen seen;
        pollfd ready{m_ends[0], POLLIN, 0};
        if (m_pid > 0 && poll(&ready, 1, 300000) == 1 && read(m_ends[0], &seen, sizeof seen) != sizeof seen) {
            return {};
        }
        return seen;
    }

private:
    int m_ends[2] = {-1, -1};
    pid_t m_pid = -1;
};

// Whether the window manager has put the game in full screen and on top
// (it does so a while after it is asked).
bool GameCoversTheDesktopOnTop(const std::string& display, XWindowId game) {
    const testsupport::X11Observer observer(display);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(240);
    while (std::chrono::steady_clock::now() < end) {
        if (observer.HasState(game, "_NET_WM_STATE_FULLSCREEN") && observer.HasState(game, "_NET_WM_STATE_ABOVE") &&
            observer.ActiveWindow() == game) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// A box opened while the game covers the desktop and stays on top, with a
// window manager, belongs to the game's window and is stacked above it.
TEST(X11WindowManager, ABoxStaysAboveTheFullScreenGame) {
    const testsupport::BareXServer server;
    if (!server.Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not come up";
    const testsupport::WindowManager manager(server.Display());
    if (!manager.Installed()) {
        GTEST_SKIP() << "openbox is not installed";
    }
    ASSERT_TRUE(manager.Managing()) << "openbox did not take the display";
    const testsupport::ScopedDisplay display(server.Display());
    const testsupport::ScopedVariable interactive("TUNDRA_NONINTERACTIVE", nullptr);
    const testsupport::ScopedVideoDriver driver("x11");

    static const bool registered = os::RegisterWindowClass("MessageBoxTest", &os::DefWindowProc);
    static_cast<void>(registered);
    const os::WindowHandle window =
        os::CreateWindow("MessageBoxTest", os::WS_OVERLAPPEDWINDOW, {0, 0, 1024, 768}, nullptr);
    // Put on top before it is shown, as the game does.
    ASSERT_TRUE(os::SetWindowTopMost(window, true) && os::ShowWindow(window, true) && os::SetPixelFormat(window, 1));
    const os::GLContext context = os::CreateGLContext(window);
    ASSERT_TRUE(os::MakeGLContextCurrent(window, context));
    const os::DisplayMode mode{1024, 768, 32, 60};
    ASSERT_EQ(os::ChangeDisplaySettings(&mode, os::CDS_FULLSCREEN), os::DISP_CHANGE_SUCCESSFUL);
    const XWindowId game = testsupport::X11WindowOf(os::GetSdlWindow(window));
    ASSERT_NE(game, 0u);
    ASSERT_TRUE(GameCoversTheDesktopOnTop(server.Display(), game)) << "the window manager left the game a window";

    const BoxWatcher watcher(server.Display(), game);
    const int answer = os::MessageBox("Your progress cannot be saved.", "Error", os::MB_OK | os::MB_ICONEXCLAMATION);
    const BoxSeen seen = watcher.Seen();

    EXPECT_EQ(answer, os::IDOK) << "the box was not shown, or not closed from outside";
    ASSERT_NE(seen.box, 0u) << "no box came up";
    EXPECT_EQ(seen.owner, game) << "the box does not belong to the game's window";
    EXPECT_TRUE(seen.aboveTheGame) << "the box is stacked under the game";

    os::ChangeDisplaySettings(nullptr, 0);
    EXPECT_TRUE(os::DeleteGLContext(context) && os::DestroyWindow(window));
}

}  // namespace
