#include "core/Core_Clock.h"
#include "engine/Engine_EngineRun.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "os/OS_DisplaySettings.h"
#include "os/OS_Window.h"
#include "support/BareXServer.h"
#include "support/MyGame_ObservedRun.h"
#include "support/MyGame_TestGame.h"
#include "support/ThreadTime.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace mygametest;

namespace {

// What the observed run saw of the game.
struct RunSeen {
    int frames = 0;
    int titleFrames = 0;
    bool desktopKept = true;
};
RunSeen g_seen;
os::DisplayMode g_desktop;
// What the run does once the title level has drawn twice, and after each
// title frame from then on.
void (*g_atTitle)(MyGame&) = nullptr;
void (*g_afterTitle)(MyGame&) = nullptr;
constexpr int kFrameLimit = 600;

os::DisplayMode DesktopMode() {
    os::DisplayMode mode;
    EXPECT_TRUE(os::EnumDisplaySettings(os::ENUM_CURRENT_SETTINGS, &mode));
    return mode;
}

// A key tap once the intro has updated with nothing held (the keyboard
// counts keys only after it has seen none held): its next update skips it.
void BeforeFrame(MyGame&) {
    if (++g_seen.frames == 3) {
        SDL_Event key{};
        key.key.keysym = {SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_NONE, 0};
        for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            key.type = type;
            EXPECT_EQ(SDL_PushEvent(&key), 1) << SDL_GetError();
        }
    }
}

void AfterPresent(MyGame& game) {
    g_seen.desktopKept = g_seen.desktopKept && DesktopMode() == g_desktop;
    if (game.GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel && ++g_seen.titleFrames >= 2) {
        if (g_seen.titleFrames == 2) {
            g_atTitle(game);
        } else if (g_afterTitle != nullptr) {
            g_afterTitle(game);
        }
    } else if (g_seen.frames == kFrameLimit) {
        ADD_FAILURE() << "no title level after " << kFrameLimit << " frames";
        game.Exit();
    }
}

void CreateObservedGame(Core::RefPtr<Engine::Application>& application, const Core::String& commandLine) {
    CreateGame(application, commandLine);
    ObservedRun::Wrap(application, &BeforeFrame, &AfterPresent);
}

// On a real video driver with the real clock, its files in the fixture's folders.
class ProgramTest : public MyGameTest {
protected:
    explicit ProgramTest(const char* driver = "offscreen") : m_driver(driver) {}
    void SetUp() override {
        const Core::ClockFunction clock = Core::GetClockFunction();
        MyGameTest::SetUp();
        Core::SetClockFunction(clock);
        m_textures.reset();
        g_seen = RunSeen{};
        g_afterTitle = nullptr;
        g_desktop = DesktopMode();
    }
    int Run(void (*atTitle)(MyGame&)) {
        g_atTitle = atTitle;
        return EngineRun("", &CreateObservedGame);
    }

private:
    testsupport::ScopedVideoDriver m_driver;
};

TEST_F(ProgramTest, TheGameReachesTheTitleLevelAndEndsWithZeroWhenAskedToQuit) {
    EXPECT_EQ(Run([](MyGame& game) { game.Exit(); }), 0);
    EXPECT_EQ(g_seen.titleFrames, 2);
    EXPECT_LT(g_seen.frames, 20);
}

// Three seconds of the title level with its frame-rate lock at 5 frames a
// second, so that the wait, not a frame's own work, fills most of each frame
// (also where the renderer draws on the main thread of a sanitized build):
// while it waits the main thread sleeps, leaving the processor to others. Its
// processor time leaves out the time it stood ready to run, so a busy
// machine, which only stretches the frames, never raises its share.
TEST_F(ProgramTest, TheTitleLevelsMainThreadLeavesTheProcessorFreeWhileItsFramesWait) {
    constexpr int kMeasuredFrames = 15;
    static double processorBegin = 0.0, wallBegin = 0.0, processor = 0.0, wall = 0.0;
    g_afterTitle = [](MyGame& game) {
        if (g_seen.titleFrames == 3) {
            game.SetDesiredFrameRate(5.0);
        } else if (g_seen.titleFrames == 4) {
            processorBegin = testsupport::ThreadProcessorMilliseconds();
            wallBegin = Core::GetMilliseconds();
        } else if (g_seen.titleFrames == 4 + kMeasuredFrames) {
            processor = testsupport::ThreadProcessorMilliseconds() - processorBegin;
            wall = Core::GetMilliseconds() - wallBegin;
            game.Exit();
        }
    };
    EXPECT_EQ(Run([](MyGame&) {}), 0);
    EXPECT_LT(processor, 0.5 * wall) << "the main thread ran " << processor << " ms of " << wall << " ms";
}

class X11Program : public ProgramTest {
protected:
    X11Program() : ProgramTest("x11") {}
};

// Full screen covers the desktop without changing its mode, and the window
// manager's close button ends the program as a quit does.
TEST_F(X11Program, TheWindowManagersCloseEndsTheGameWithZeroAndTheDesktopModeStays) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    EXPECT_EQ(Run([](MyGame& game) {
                  EXPECT_TRUE(game.IsFullScreen());
                  EXPECT_TRUE(testsupport::SendWindowManagerClose(os::GetSdlWindow(game.GetWindow().GetHandle())));
              }),
              0);
    // The window system may take a frame or two to deliver the close.
    EXPECT_GE(g_seen.titleFrames, 2);
    EXPECT_TRUE(g_seen.desktopKept);
    EXPECT_EQ(DesktopMode(), g_desktop);
}

struct ProgramResult {
    int status = -1;
    std::string errors;
};

// A hang guard, far beyond any load, of the waits on the program.
constexpr std::chrono::seconds kProgramHangGuard{240};

// Whether the process has not ended yet; an ended one is left to be reaped.
bool IsRunning(pid_t child) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

// The built program, with the environment changed as given, its stderr kept.
// With a display named it runs there, and whileRunning is called with its
// process once it has started; its leaks are not looked for, since it may
// be ended mid-run. A program still running a hang guard after that is
// killed: a signal status.
ProgramResult RunProgram(const std::string& home, const std::string& display = {},
                         const std::function<void(pid_t)>& whileRunning = {}) {
    int pipe[2];
    EXPECT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], STDERR_FILENO);
        ::close(pipe[0]);
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "TUNDRA_NONINTERACTIVE"}) {
            unsetenv(name);
        }
        setenv("HOME", home.c_str(), 1);
        if (!display.empty()) {
            setenv("DISPLAY", display.c_str(), 1);
            const char* options = std::getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS", (std::string(options != nullptr ? options : "") + ":detect_leaks=0").c_str(), 1);
        }
        ::execl(EMBERLINE_PROGRAM, EMBERLINE_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(pipe[1]);
    if (whileRunning) {
        whileRunning(child);
    }
    ProgramResult result;
    const auto deadline = std::chrono::steady_clock::now() + kProgramHangGuard;
    while (::waitpid(child, &result.status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &result.status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    char buffer[4096];
    for (ssize_t count; (count = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        result.errors.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(pipe[0]);
    return result;
}

TEST_F(MyGameTest, WithoutADisplayTheProgramSaysSoOnOneLineAndFailsAtOnce) {
    const ProgramResult result = RunProgram(Home());
    ASSERT_TRUE(WIFEXITED(result.status)) << "ended by a signal: " << result.status << "\n" << result.errors;
    EXPECT_NE(WEXITSTATUS(result.status), 0);
    EXPECT_NE(WEXITSTATUS(result.status), 127) << "not started";
    ASSERT_FALSE(result.errors.empty());
    EXPECT_NE(result.errors.find("no display could be opened"), std::string::npos) << result.errors;
    EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
    EXPECT_EQ(result.errors.back(), '\n') << result.errors;
}

// Its display's server ended mid-run: the program ends too, without
// waiting for the dead display on its way out.
TEST_F(MyGameTest, TheProgramEndsWhenItsDisplayGoesAway) {
    testsupport::BareXServer server;
    if (!server.Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not come up";
    bool started = false;
    const ProgramResult result = RunProgram(Home(), server.Display(), [&](pid_t program) {
        // The settings file is written once the window and renderer are up.
        const std::string settings = DataFolder() + "/settings.sav";
        const auto deadline = std::chrono::steady_clock::now() + kProgramHangGuard;
        while (!started && IsRunning(program) && std::chrono::steady_clock::now() < deadline) {
            started = ::access(settings.c_str(), F_OK) == 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        server.Stop();
    });
    ASSERT_TRUE(started) << result.errors;
    EXPECT_TRUE(WIFEXITED(result.status)) << "ended by a signal (or killed, still running): " << result.status << "\n"
                                          << result.errors;
}

}  // namespace
