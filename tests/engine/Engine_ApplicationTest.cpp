#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Backend.h"
#include "os/OS_GLFunctions.h"
#include "os/OS_GLFunctionsTestHooks.h"
#include "support/ThreadTime.h"
#include "support/VideoDriver.h"
#include "support/X11Desktop.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

// On SDL's offscreen driver, with a fake clock only frames and Idle move; the close under X11.
namespace {

double g_now = 0.0;
double FakeClock() { return g_now; }
constexpr double kIdleStep = 0.1;

// What the test application saw: the run destroys the application itself.
struct Probe {
    int begun = 0, frames = 0, ended = 0, idles = 0, shutdowns = 0, quitAt = 3, closeAt = 0;
    bool fontWentBeforeRenderer = false;
} g_probe;
Engine::StartupSettings g_settings;

struct ProbeFont : Engine::BitmapFont {
    ~ProbeFont() override { g_probe.fontWentBeforeRenderer = Renderer::GetRenderer() != nullptr; }
};

// Set up as the game sets itself up; a frame takes 5 ms of the fake clock.
struct TestApplication : Engine::RenderingApplication {
    TestApplication() : RenderingApplication(g_settings) {
        SetDesiredFrameRate(60.0);
        LockFrameRate(true);
        Engine::BitmapFontCache::GetInstance()->Insert("Font", TUN_NEW(ProbeFont));
    }
    void BeginFrame() override { ++g_probe.begun; RenderingApplication::BeginFrame(); }
    void Frame() override {
        g_now += 5.0;
        if (++g_probe.frames == g_probe.quitAt) {
            Exit();
        } else if (g_probe.frames == g_probe.closeAt) {
            EXPECT_TRUE(testsupport::SendWindowManagerClose(os::GetSdlWindow(GetWindow().GetHandle())));
        }
    }
    void EndFrame() override { RenderingApplication::EndFrame(); ++g_probe.ended; }
    void Idle() override { ++g_probe.idles; g_now += kIdleStep; }
    void Shutdown() override { ++g_probe.shutdowns; }
};

// Locked frames of next to no work: nearly all of a frame is the limiter's wait.
struct PacedApplication : Engine::RenderingApplication {
    PacedApplication() : RenderingApplication(g_settings) {
        SetDesiredFrameRate(60.0);
        LockFrameRate(true);
    }
};

void CreateTest(Core::RefPtr<Engine::Application>& app, const Core::String&) { app = TUN_NEW(TestApplication); }
void CreateNothing(Core::RefPtr<Engine::Application>&, const Core::String&) {}

class Application : public testing::Test {
protected:
    // Our own start-up first: the run's is then nested and keeps the fake clock.
    void SetUp() override {
        CoreStartup(m_core);
        Core::SetClockFunction(&FakeClock);
        g_probe = Probe{};
        g_settings = {64, 48, 60, 0, false, false};
    }
    void TearDown() override { Core::SetClockFunction(m_clock); CoreShutdown(m_core); }
    testsupport::ScopedVideoDriver m_driver{"offscreen"};
    std::uint8_t m_core = 0;
    const Core::ClockFunction m_clock = Core::GetClockFunction();
};

TEST_F(Application, LimiterWaitsOffTheTargetOnlyWhenLockedAndNeverReturnsEarly) {
    struct Case { bool locked; double fps, frameMs, expectedMs; };
    const Case cases[] = {{true, 60, 5, 1000.0 / 60}, {false, 60, 5, 5}, {true, 60, 20, 20}, {true, 30, 5, 1000.0 / 30}};
    const Core::RefPtr<TestApplication> app = TUN_NEW(TestApplication);
    for (const Case& c : cases) {
        g_probe.idles = 0;
        app->LockFrameRate(c.locked);
        ASSERT_TRUE(app->SetDesiredFrameRate(c.fps));
        const double begin = g_now;
        app->BeginFrame();
        g_now += c.frameMs;
        app->EndFrame();
        EXPECT_TRUE(g_now - begin >= c.expectedMs && g_now - begin < c.expectedMs + kIdleStep) << c.frameMs;
        EXPECT_NEAR(app->GetCurrentFrameRate(), 1000.0 / c.expectedMs, 0.5);
        EXPECT_EQ(g_probe.idles > 0, c.locked && c.frameMs < c.expectedMs);
    }
    Core::SetClockFunction(m_clock);  // the real one
    const double begin = Core::GetMilliseconds();
    app->BeginFrame();
    app->EndFrame();
    EXPECT_GE(Core::GetMilliseconds() - begin, 1000.0 / 30);
}

// A locked frame of 0.5 ms lasts the frame time of the rate kept: the one
// asked for when it has a meaning, held to 1 to 1000 frames a second.
TEST_F(Application, DesiredFrameRateWithoutMeaningIsRefusedAndTheRestHeldToASaneRange) {
    struct Case { double asked; bool accepted; double kept; };
    const Case cases[] = {{1e-30, true, 1}, {0.5, true, 1}, {0, false, 60}, {-1, false, 60}, {NAN, false, 60},
                          {INFINITY, false, 60}, {-INFINITY, false, 60}, {1e30, true, 1000}, {30, true, 30}};
    const Core::RefPtr<TestApplication> app = TUN_NEW(TestApplication);
    for (const Case& c : cases) {
        ASSERT_TRUE(app->SetDesiredFrameRate(60.0));
        EXPECT_EQ(app->SetDesiredFrameRate(c.asked), c.accepted) << c.asked;
        ASSERT_EQ(app->GetDesiredFrameRate(), c.kept) << c.asked;
        const double begin = g_now;
        app->BeginFrame();
        g_now += 0.5;
        app->EndFrame();
        const double frameMs = 1000.0 / c.kept;
        EXPECT_TRUE(g_now - begin >= frameMs && g_now - begin < frameMs + kIdleStep) << c.asked;
    }
}

// On the real clock: the wait leaves the processor to others, and a frame
// still lasts at least the target from BeginFrame to the end of EndFrame.
// The thread's processor time leaves out the time it stood ready to run, so
// a busy machine never raises its share.
TEST_F(Application, LockedWaitLeavesTheProcessorFreeAndEndsNoEarlierThanTheTarget) {
    Core::SetClockFunction(m_clock);
    const Core::RefPtr<PacedApplication> app = TUN_NEW(PacedApplication);
    app->BeginFrame();
    app->EndFrame();  // the driver's first present sets itself up
    const double processorBegin = testsupport::ThreadProcessorMilliseconds();
    const double begin = Core::GetMilliseconds();
    for (int frame = 0; frame < 30; ++frame) {
        app->BeginFrame();
        app->EndFrame();
        EXPECT_GE(1000.0 / app->GetCurrentFrameRate(), 1000.0 / 60 - 1e-9);
    }
    const double processor = testsupport::ThreadProcessorMilliseconds() - processorBegin;
    const double wall = Core::GetMilliseconds() - begin;
    EXPECT_LT(processor, 0.6 * wall) << "the thread ran " << processor << " ms of " << wall << " ms";
}

TEST_F(Application, RunEndsAfterTheFrameThatQuitsAndTearsEverythingDown) {
    EXPECT_EQ(EngineRun("", &CreateNothing), 1);  // no frame, no Shutdown: the counts below stay exact
    const std::uint64_t callsWithoutContext = os::gl::IgnoredCallCount();
    EXPECT_EQ(EngineRun("", &CreateTest), 0);
    EXPECT_EQ((std::array{g_probe.begun, g_probe.frames, g_probe.ended, g_probe.shutdowns}), (std::array{3, 3, 3, 1}));
    EXPECT_TRUE(g_probe.fontWentBeforeRenderer);
    EXPECT_EQ((std::array<const void*, 6>{Engine::Application::GetInstance(), Engine::RenderingApplication::GetInstance(),
                                          Engine::BitmapFontCache::GetInstance(), Renderer::GetRenderer().Get(),
                                          Input::MouseImp::GetInstance(), Input::KeyboardImp::GetInstance()}),
              (std::array<const void*, 6>{}));
    EXPECT_EQ(os::gl::IgnoredCallCount(), callsWithoutContext);
    EXPECT_EQ(JoinCommandLine(3, std::array{"Emberline", "-a", "b"}.data()), "-a b");
}

TEST_F(Application, WindowIsFixedAndShownAndInFullScreenBareAtTheCornerAndTopMost) {
    os::SelectBackend(os::Backend::Headless);  // its virtual screen and display keep every flag
    for (const bool fullScreen : {false, true}) {
        g_settings = {1024, 768, 60, 0, fullScreen, true};
        const Core::RefPtr<TestApplication> app = TUN_NEW(TestApplication);
        const Engine::RenderingWindow& window = app->GetWindow();
        os::Rect outer;
        os::GetWindowRect(window.GetHandle(), &outer);
        EXPECT_EQ(fullScreen, outer.left == 0 && outer.top == 0 && !window.IsDecorated());
        EXPECT_EQ(os::IsWindowTopMost(window.GetHandle()), fullScreen);
        EXPECT_TRUE(!window.IsResizable() && !window.HasMaximizeBox() && os::IsWindowVisible(window.GetHandle()));
        // The mode already on is left alone; the automatic toggle always switches.
        for (const bool automatic : {false, true, false, true}) {
            automatic ? app->AutoToggleFullScreen() : app->ToggleFullScreen(fullScreen);
            EXPECT_EQ(app->IsFullScreen(), fullScreen != automatic);
        }
    }
}

TEST(X11Application, WindowManagerCloseEndsTheRunAfterTheFrameItCameIn) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (tools/run-tests.sh provides one with Xvfb)";
    }
    const testsupport::ScopedVideoDriver driver("x11");
    g_probe = Probe{.quitAt = 600, .closeAt = 3};
    g_settings = {1024, 768, 60, 0, true, true};  // the game's start record
    EXPECT_EQ(EngineRun("", &CreateTest), 0);
    EXPECT_TRUE(g_probe.frames >= 3 && g_probe.frames < 600) << g_probe.frames;
    EXPECT_EQ((std::array{g_probe.ended, g_probe.shutdowns}), (std::array{g_probe.begun, 1}));
}

}  // namespace
