#include "os/OS_Backend.h"
#include "os/OS_Error.h"
#include "os/OS_Message.h"
#include "os/OS_Process.h"
#include "os/OS_SdlVideo.h"
#include "os/OS_Window.h"
#include "pal/PAL_Window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

// Without any display the program cannot make its window: it says so in one
// line on stderr and ends with a failure status at once, whoever is watching.
namespace {

// The window layer's own answer first (status 100 when wrong), then the
// engine's window, which must not come back. SDL would fall back to its
// offscreen driver, which shows nothing.
[[noreturn]] void MakeWindowsWithoutADisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "TUNDRA_NONINTERACTIVE"}) {
        unsetenv(name);
    }
    os::SelectBackend(os::Backend::Real);
    os::RegisterWindowClass("NoDisplayTest", &os::DefWindowProc);
    if (os::CreateWindow("NoDisplayTest", os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 48}, nullptr) != os::kNoWindow ||
        os::GetLastError() != os::ERROR_NO_DISPLAY) {
        _exit(100);
    }
    const PAL::Window window(64, 48);
    _exit(101);
}

TEST(NoDisplayDeathTest, TheWindowReportsTheMissingDisplayInOneLineAndTheProcessFails) {
    EXPECT_EXIT(MakeWindowsWithoutADisplay(), testing::ExitedWithCode(os::ExitStatusFor(os::ERROR_NO_DISPLAY)),
                "^The \"CreateWindow\" function failed with error 536870914: no display could be opened: "
                "[^\n]+ not available; Enclosing Function: PAL::Window::Window; [^\n]*\n$");
}

}  // namespace
