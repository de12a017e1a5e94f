#include "engine/Engine_EngineRun.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_ObservedRun.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

// Emberline's title level as the player meets it, the frame-rate lock on at
// 60 frames a second, on Mesa through SDL's offscreen driver with OpenAL
// Soft's null backend, its files in a folder of its own: the processor time
// the main thread takes per second of the title level (100 is a whole
// core), over 180 frames from the title's second frame on, and the mean
// frame time the game measured (from a frame's start to the end of its wait).
// The intro is skipped by a key its second update sees.

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMeasuredFrames = 180;

void PrepareProcess() {
    static const bool prepared = [] {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        char folder[] = "/tmp/bench-emberline-XXXXXX";
        const std::string home = ::mkdtemp(folder) != nullptr ? folder : "/tmp";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        return true;
    }();
    (void)prepared;
}

double ThreadProcessorSeconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

// One run's title level.
struct TitleRun {
    int frames = 0;
    int titleFrames = 0;
    double processorBegin = 0.0, processorEnd = 0.0;
    Clock::time_point begin, end;
    double frameMilliseconds = 0.0;
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
    ++g_run.titleFrames;
    if (g_run.titleFrames == 1) {
        g_run.processorBegin = ThreadProcessorSeconds();
        g_run.begin = Clock::now();
        return;
    }
    g_run.frameMilliseconds += 1000.0 / game.GetCurrentFrameRate();
    if (g_run.titleFrames == kMeasuredFrames + 1) {
        g_run.processorEnd = ThreadProcessorSeconds();
        g_run.end = Clock::now();
        game.Exit();
    }
}

void CreateObservedGame(Core::RefPtr<Engine::Application>& application, const Core::String& commandLine) {
    CreateGame(application, commandLine);
    mygametest::ObservedRun::Wrap(application, &BeforeFrame, &AfterPresent);
}

void BM_TitleLevelMainThread(benchmark::State& state) {
    PrepareProcess();
    for (auto _ : state) {
        g_run = TitleRun{};
        if (EngineRun("", &CreateObservedGame) != 0 || g_run.titleFrames != kMeasuredFrames + 1) {
            state.SkipWithError("the title level did not run its frames");
            return;
        }
        const double seconds = std::chrono::duration<double>(g_run.end - g_run.begin).count();
        state.SetIterationTime(seconds);
        state.counters["main_thread_cpu_percent"] = 100.0 * (g_run.processorEnd - g_run.processorBegin) / seconds;
        state.counters["frame_ms"] = g_run.frameMilliseconds / kMeasuredFrames;
    }
}
BENCHMARK(BM_TitleLevelMainThread)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
