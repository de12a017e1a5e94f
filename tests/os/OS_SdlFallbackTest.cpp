#include "os/OS_Backend.h"
#include "os/OS_MessageBox.h"
#include "os/OS_Process.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>

// The real backend without any display: each runs in a child process, which
// may change its environment freely.

// The text is not lost, and a box nobody saw is no answer (never "Yes").
TEST(SdlFallbackDeathTest, AMessageBoxWithoutADisplayWritesToStderrAndAnswersNothing) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("TUNDRA_NONINTERACTIVE");
            os::SelectBackend(os::Backend::Real);
            std::exit(os::MessageBox("Disk full", "Emberline", os::MB_YESNO | os::MB_ICONHAND));
        },
        testing::ExitedWithCode(0), "\\[Emberline\\] Disk full");
}

TEST(SdlFallbackDeathTest, AFatalExitShutsSdlDownAndKeepsTheCode) {
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
                std::exit(100);
            }
            os::ExitProcess(512);
        },
        testing::ExitedWithCode(1), "512");
}
