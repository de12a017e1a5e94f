#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "os/OS_Cursor.h"
#include "os/OS_SdlVideoTestHooks.h"
#include "sound/Sound_SoundEngine.h"
#include "support/BareXServer.h"
#include "support/Sound_TestFiles.h"
#include "support/TempDirectory.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace {

using testsupport::BareXServer;
using testsupport::ScopedDisplay;

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

// A run's start-up on a bare X server. The display adapter's questions
// before the window, the window, the renderer and the frames: one
// connection from start to end, so no reset can fall between them.
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

// The server of a run on a display of its own, which the run ends.
BareXServer* g_ownServer = nullptr;

// A desktop's logout ends the X server as the run closes, once it has asked
// the game to quit: the window and renderer go on a dead display.
struct ClosingAsTheDisplayEnds : StartedApplication {
    void Shutdown() override { g_ownServer->Stop(); }
};

// The display ends mid-run, and a thread other than the main one meets the loss.
struct MeetingTheLossOnAnotherThread : StartedApplication {
    void Frame() override {
        g_ownServer->Stop();
        std::thread([] {
            os::Point pointer;
            os::GetCursorPos(&pointer);
        }).join();
        Exit();
    }
};

template <class RunApplication>
void CreateRun(Core::RefPtr<Engine::Application>& app, const Core::String&) {
    app = TUN_NEW(RunApplication);
}

// In a child that starts video afresh: the run on an X server of its own,
// then the process ends with the run's answer. A hang guard ends a program
// stuck on the dead display by SIGALRM.
[[noreturn]] void RunOnOwnDisplay(CreateGameFunction create) {
    alarm(120);
    BareXServer server;
    g_ownServer = &server;
    const ScopedDisplay display(server.Display());
    const testsupport::ScopedVideoDriver driver("x11");
    std::exit(EngineRun("", create) == 0 ? 0 : 101);
}

// Said on one line, with status 1: never a wait on the dead connection, an
// assertion or a crash.
constexpr const char* kLostDisplayLine = "^[^\n]*: the display was lost\n$";

// Sound plays on (its streaming thread and OpenAL's mixer) meanwhile.
TEST(X11BareServer, ADisplayLostWhileTheRunClosesEndsTheProgramWithOneLineAndStatusOne) {
    if (!BareXServer().Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const testsupport::TempDirectory files;
            const std::string samples = testsupport::SampleBytes(testsupport::SineTone(440.0, 2.0, 1, 22050));
            const std::string tone = files.WriteFile("tone.wav", testsupport::PcmWav({}, samples));
            SoundEngine sound;
            if (!sound.Initialize(-1, 5) ||
                !sound.PlaySource(sound.CreateSource(sound.LoadStreamedSound(tone.c_str(), 0.25f, 2), true, true))) {
                std::exit(100);
            }
            RunOnOwnDisplay(&CreateRun<ClosingAsTheDisplayEnds>);
        },
        testing::ExitedWithCode(1), kLostDisplayLine);
}

TEST(X11BareServer, ADisplayLostOnAnotherThreadEndsTheProgramWithOneLineAndStatusOne) {
    if (!BareXServer().Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunOnOwnDisplay(&CreateRun<MeetingTheLossOnAnotherThread>), testing::ExitedWithCode(1),
                kLostDisplayLine);
}

}  // namespace
