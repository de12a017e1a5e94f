#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "os/OS_SdlVideoTestHooks.h"
#include "support/BareXServer.h"
#include "support/VideoDriver.h"

#include <gtest/gtest.h>

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

}  // namespace
