#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_Message.h"
#include "os/OS_Process.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_Window.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Without any display the program cannot make its window: it says so once
// on stderr and ends with a failure status at once, whoever is watching.
namespace {

std::intptr_t Procedure(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return os::DefWindowProc(window, message, wParam, lParam);
}

// Runs in the child: the window layer's own answer first (status 100 when
// wrong), then the engine's window, which must not come back.
[[noreturn]] void MakeWindowsWithoutADisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "TUNDRA_NONINTERACTIVE"}) {
        unsetenv(name);
    }
    os::SelectBackend(os::Backend::Real);
    os::RegisterWindowClass("NoDisplayTest", &Procedure);
    const bool refused = os::CreateWindow("NoDisplayTest", os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 48}, nullptr) ==
                             os::kNoWindow &&
                         os::GetLastError() == os::ERROR_NO_DISPLAY &&
                         os::ErrorText(os::ERROR_NO_DISPLAY).size() > std::string("no display could be opened: ").size();
    if (!refused) {
        _exit(100);
    }
    const PAL::Window window(64, 48);
    _exit(101);
}

struct ChildResult {
    int status = -1;
    std::string errors;
};

ChildResult RunChild(void (*body)()) {
    int pipe[2];
    EXPECT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], STDERR_FILENO);
        ::close(pipe[0]);
        body();
    }
    ::close(pipe[1]);
    ChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (::waitpid(child, &result.status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &result.status, 0);
            ADD_FAILURE() << "the child was still waiting after 20 s";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        result.errors.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipe[0]);
    return result;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(NoDisplay, TheWindowReportsTheMissingDisplayOnceAndTheProcessFails) {
    const ChildResult result = RunChild(&MakeWindowsWithoutADisplay);
    ASSERT_TRUE(WIFEXITED(result.status)) << "ended by a signal (a crash or a core dump): " << result.status;
    EXPECT_EQ(WEXITSTATUS(result.status), os::ExitStatusFor(os::ERROR_NO_DISPLAY)) << result.errors;
    EXPECT_EQ(result.errors.rfind("The \"CreateWindow\" function failed with error 536870914: "
                                  "no display could be opened: ",
                                  0),
              0u)
        << result.errors;
    EXPECT_EQ(Occurrences(result.errors, "no display could be opened"), 1u) << result.errors;
    EXPECT_EQ(Occurrences(result.errors, "Exiting with error code"), 0u) << result.errors;
}

}  // namespace
