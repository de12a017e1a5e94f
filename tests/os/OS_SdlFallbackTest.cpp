#include "os/OS_Backend.h"
#include "os/OS_Message.h"
#include "os/OS_MessageBox.h"
#include "os/OS_Process.h"
#include "os/OS_Window.h"
#include "support/TempDirectory.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>

// The real backend without a display it can use: each runs in a child
// process, which may change its environment freely.

namespace {

// Shows a Yes/No box on the real backend, unattended runs aside, and ends
// with its answer.
[[noreturn]] void ExitWithTheAnswerOfADiskFullBox() {
    unsetenv("TUNDRA_NONINTERACTIVE");
    os::SelectBackend(os::Backend::Real);
    std::exit(os::MessageBox("Disk full", "Emberline", os::MB_YESNO | os::MB_ICONHAND));
}

constexpr const char* kDiskFullLine = "\\[Emberline\\] Disk full";

// SDL's helper program as a desktop without a display has it: it cannot
// open one, says so, and ends with status 1, which SDL takes for a box the
// user closed. First on the PATH, whether the real one is installed or not.
class StandInHelper {
public:
    StandInHelper() {
        const std::string script = m_folder.WriteFile(
            "zenity", "#!/bin/sh\necho \"(zenity:$$): Gtk-WARNING **: cannot open display: $DISPLAY\" >&2\nexit 1\n");
        chmod(script.c_str(), 0755);
    }
    // In the child: the stand-in is the one found.
    void PutFirstOnThePath() const {
        const char* path = std::getenv("PATH");
        setenv("PATH", (m_folder.Path() + ":" + (path != nullptr ? path : "")).c_str(), 1);
    }

private:
    testsupport::TempDirectory m_folder;
};

}  // namespace

// The text is not lost, and a box nobody saw is no answer (never "Yes").
TEST(SdlFallbackDeathTest, AMessageBoxWithoutADisplayWritesToStderrAndAnswersNothing) {
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            ExitWithTheAnswerOfADiskFullBox();
        },
        testing::ExitedWithCode(0), kDiskFullLine);
}

TEST(SdlFallbackDeathTest, ABoxNoDisplayCouldShowReachesStderrThoughAHelperProgramIsInstalled) {
    const StandInHelper helper;
    EXPECT_EXIT(
        {
            helper.PutFirstOnThePath();
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            ExitWithTheAnswerOfADiskFullBox();
        },
        testing::ExitedWithCode(0), kDiskFullLine);
    // A display that is named but could not be opened shows nothing either.
    EXPECT_EXIT(
        {
            helper.PutFirstOnThePath();
            setenv("DISPLAY", ":4093", 1);
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            os::SelectBackend(os::Backend::Real);
            os::RegisterWindowClass("SdlFallbackTest", &os::DefWindowProc);
            if (os::CreateWindow("SdlFallbackTest", os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 48}, nullptr) != os::kNoWindow) {
                std::exit(100);
            }
            ExitWithTheAnswerOfADiskFullBox();
        },
        testing::ExitedWithCode(0), kDiskFullLine);
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
