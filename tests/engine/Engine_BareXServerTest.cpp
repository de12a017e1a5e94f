#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "os/OS_SdlVideoTestHooks.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// A run's start-up on an X server of the test's own, started without
// -noreset and with no window manager: the server resets whenever its last
// client leaves, and a connection made during the reset finds no display.
namespace {

// Xvfb on a display number it picks itself, which it writes to a pipe once
// it takes connections. It ends with the test, or with the test's process.
class BareXServer {
public:
    BareXServer() {
        int ends[2];
        if (pipe(ends) != 0) {
            return;
        }
        fcntl(ends[0], F_SETFD, FD_CLOEXEC);
        const std::string writeEnd = std::to_string(ends[1]);
        const char* argv[] = {"Xvfb", "-displayfd", writeEnd.c_str(), "-screen", "0", "1024x768x24",
                              "-nolisten", "tcp", nullptr};
        m_pid = fork();
        if (m_pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
            execvp(argv[0], const_cast<char**>(argv));
            _exit(kNotInstalled);
        }
        close(ends[1]);
        if (m_pid > 0) {
            m_display = ReadDisplay(ends[0]);
        }
        close(ends[0]);
        if (m_pid > 0 && m_display.empty()) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_installed = !WIFEXITED(status) || WEXITSTATUS(status) != kNotInstalled;
            m_pid = -1;
        }
    }
    ~BareXServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    BareXServer(const BareXServer&) = delete;
    BareXServer& operator=(const BareXServer&) = delete;

    bool Installed() const { return m_installed; }
    // ":N" once the server takes connections; empty when it never came up.
    const std::string& Display() const { return m_display; }

private:
    static constexpr int kNotInstalled = 127;

    static std::string ReadDisplay(int fd) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string number;
        pollfd ready{fd, POLLIN, 0};
        char c = 0;
        while (std::chrono::steady_clock::now() < end && poll(&ready, 1, 100) >= 0) {
            if ((ready.revents & (POLLIN | POLLHUP)) == 0) {
                continue;
            }
            if (read(fd, &c, 1) != 1) {
                return {};
            }
            if (c == '\n') {
                return ":" + number;
            }
            number += c;
        }
        return {};
    }

    pid_t m_pid = -1;
    bool m_installed = true;
    std::string m_display;
};

// DISPLAY names the given display while it lives.
class ScopedDisplay {
public:
    explicit ScopedDisplay(const std::string& display) {
        if (const char* previous = std::getenv("DISPLAY")) {
            m_previous = previous;
        }
        setenv("DISPLAY", display.c_str(), 1);
    }
    ~ScopedDisplay() {
        if (m_previous) {
            setenv("DISPLAY", m_previous->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }
    ScopedDisplay(const ScopedDisplay&) = delete;
    ScopedDisplay& operator=(const ScopedDisplay&) = delete;

private:
    std::optional<std::string> m_previous;
};

// Made with the game's start record; the run ends after its second frame.
struct StartedApplication : Engine::RenderingApplication {
    StartedApplication() : RenderingApplication({1024, 768, 60, 0, true, true}) {}
    void Frame() override {
        if (++frames == 2) {
            Exit();
        }
    }
    int frames = 0;
};

void CreateStarted(Core::RefPtr<Engine::Application>& app, const Core::String&) { app = TUN_NEW(StartedApplication); }

// The display adapter's questions before the window, the window, the
// renderer and the frames: one connection from start to end, so no reset
// can fall between them.
TEST(X11BareServer, RunStartsVideoOnceAndKeepsItToTheEnd) {
    const BareXServer server;
    if (!server.Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not come up";
    const ScopedDisplay display(server.Display());
    const testsupport::ScopedVideoDriver driver("x11");
    const int starts = os::sdl::VideoStartCount();
    EXPECT_EQ(EngineRun("", &CreateStarted), 0);
    EXPECT_EQ(os::sdl::VideoStartCount() - starts, 1);
}

}  // namespace
