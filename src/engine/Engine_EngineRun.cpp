#include "engine/Engine_EngineRun.h"

#include "core/Core_Startup.h"
#include "math/Math_BoundingBox.h"
#include "os/OS_VideoSession.h"
#include "pal/PAL_Window.h"

#include <cstdint>
#include <cstdio>

namespace {

// Each start-up step is undone by its guard, so that an exception leaving
// the run also undoes them in reverse order.
class CoreGuard {
public:
    CoreGuard() { CoreStartup(m_guard); }
    ~CoreGuard() { CoreShutdown(m_guard); }
    CoreGuard(const CoreGuard&) = delete;
    CoreGuard& operator=(const CoreGuard&) = delete;

private:
    std::uint8_t m_guard = 0;
};

class ScratchBoxGuard {
public:
    ScratchBoxGuard() { Math::CreateScratchBoxes(); }
    ~ScratchBoxGuard() { Math::DestroyScratchBoxes(); }
    ScratchBoxGuard(const ScratchBoxGuard&) = delete;
    ScratchBoxGuard& operator=(const ScratchBoxGuard&) = delete;
};

}  // namespace

int EngineRun(const Core::String& commandLine, CreateGameFunction createGame) {
    const CoreGuard core;
    const ScratchBoxGuard scratchBoxes;
    // Video starts once for the whole run, questions to the display before
    // the window included, and stops after the application has gone.
    const os::VideoSession video;
    // Declared last, released first: the application goes while the Core still runs.
    Core::RefPtr<Engine::Application> application;
    if (createGame != nullptr) {
        createGame(application, commandLine);
    }
    if (!application) {
        std::fputs("EngineRun: the creation function made no application; nothing to run.\n", stderr);
        return 1;
    }
    while (PAL::PumpMessages()) {
        application->BeginFrame();
        application->Frame();
        application->EndFrame();
    }
    application->Shutdown();
    return 0;
}

Core::String JoinCommandLine(int argc, const char* const* argv) {
    Core::String line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            line += ' ';
        }
        line += argv[i] != nullptr ? argv[i] : "";
    }
    return line;
}
