#include "core/Core_Startup.h"
#include "engine/Engine_EngineRun.h"
#include "engine/Engine_RenderingApplication.h"
#include "math/Math_BoundingBox.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_ObservedRun.h"
#include "support/ThreadTime.h"

#include "Bench_GameProcess.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>

// The main thread's use of the processor while the frame-rate lock holds
// frames to 60 a second, on Mesa through SDL's offscreen driver with OpenAL
// Soft's null backend:
// - Emberline's title level as the player meets it (its files in a folder
//   of its own, the intro skipped by a key its second update sees), over 180
//   frames from the title's second frame on;
// - a 64 x 48 rendering application's frames with no work, where all but
//   the present is the limiter's wait.
// Reported per second of wall time (100 is a whole core): the processor
// time the main thread took (cpu_percent) and the time it ran or stood
// ready to run (demand_percent, which a busy machine does not lower); and
// the mean frame time the game measured, from a frame's start to the end of
// its wait (frame_ms).

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMeasuredFrames = 180;

// The main thread's figures over a stretch of frames.
struct Stretch {
    double processorBegin = 0.0, demandBegin = 0.0, frameMilliseconds = 0.0;
    Clock::time_point begin;
    int frames = 0;

    void Begin() {
        processorBegin = testsupport::ThreadProcessorMilliseconds();
        demandBegin = testsupport::ThreadDemandMilliseconds();
        begin = Clock::now();
    }
    void Report(benchmark::State& state) const {
        const double wall = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        state.SetIterationTime(wall / 1000.0);
        state.counters["cpu_percent"] = 100.0 * (testsupport::ThreadProcessorMilliseconds() - processorBegin) / wall;
        state.counters["demand_percent"] = 100.0 * (testsupport::ThreadDemandMilliseconds() - demandBegin) / wall;
        state.counters["frame_ms"] = frameMilliseconds / frames;
    }
};

// One run's title level.
struct TitleRun {
    int frames = 0;
    int titleFrames = 0;
    Stretch stretch;
    benchmark::State* state = nullptr;
};
TitleRun g_run;

void BeforeFrame(MyGame&) {
    if (++g_run.frames == 2) {
        SDL_Event key{};
        key.key.keysym = {SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_NONE, 0};
        for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            key.type = type;
            SDL_PushEvent(&key);
        }
    }
}

void AfterPresent(MyGame& game) {
    if (game.GetCurrentLevelIndex() != MyLevelFactory::kMenuLevel) {
        if (g_run.frames > 100) {
            game.Exit();
        }
        return;
    }
    if (++g_run.titleFrames == 1) {
        g_run.stretch.Begin();
        return;
    }
    g_run.stretch.frameMilliseconds += 1000.0 / game.GetCurrentFrameRate();
    if (++g_run.stretch.frames == kMeasuredFrames) {
        g_run.stretch.Report(*g_run.state);
        game.Exit();
    }
}

void CreateObservedGame(Core::RefPtr<Engine::Application>& application, const Core::String& commandLine) {
    CreateGame(application, commandLine);
    mygametest::ObservedRun::Wrap(application, &BeforeFrame, &AfterPresent);
}

void BM_TitleLevel(benchmark::State& state) {
    bench::PrepareGameProcess();
    for (auto _ : state) {
        g_run = TitleRun{};
        g_run.state = &state;
        if (EngineRun("", &CreateObservedGame) != 0 || g_run.stretch.frames != kMeasuredFrames) {
            state.SkipWithError("the title level did not run its frames");
            return;
        }
    }
}
BENCHMARK(BM_TitleLevel)->UseManualTime()->Iterations(1)->Repetitions(5)->DisplayAggregatesOnly(true)->Unit(
    benchmark::kMillisecond);

void BM_LockedFramesOfNoWork(benchmark::State& state) {
    bench::PrepareGameProcess();
    std::uint8_t core = 0;
    CoreStartup(core);
    Math::CreateScratchBoxes();
    {
        Engine::StartupSettings settings;
        settings.width = 64;
        settings.height = 48;
        const Core::RefPtr<Engine::RenderingApplication> application = TUN_NEW(Engine::RenderingApplication, settings);
        application->SetDesiredFrameRate(60.0);
        application->LockFrameRate(true);
        application->BeginFrame();
        application->EndFrame();
        for (auto _ : state) {
            Stretch stretch;
            stretch.Begin();
            for (; stretch.frames < kMeasuredFrames; ++stretch.frames) {
                application->BeginFrame();
                application->EndFrame();
                stretch.frameMilliseconds += 1000.0 / application->GetCurrentFrameRate();
            }
            stretch.Report(state);
        }
    }
    Math::DestroyScratchBoxes();
    CoreShutdown(core);
}
BENCHMARK(BM_LockedFramesOfNoWork)->UseManualTime()->Iterations(1)->Repetitions(5)->DisplayAggregatesOnly(true)->Unit(
    benchmark::kMillisecond);

}  // namespace
