#include "core/Core_Startup.h"
#include "engine/Engine_EngineRun.h"
#include "math/Math_BoundingBox.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_ObservedRun.h"
#include "tundra/Tundra_Level.h"

#include "Bench_GameProcess.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>

// Emberline's start-up over the game's own levels and the generated files,
// on Mesa through SDL's offscreen driver with OpenAL Soft's null backend, its
// files in a folder of its own:
// - from the EngineRun call to the first Present of the title level, the
//   intro skipped by a key its second update sees (the keyboard counts keys
//   once it has seen none held), split into the engine's start (up to the
//   creation function), the game's constructor (window, renderer, devices,
//   engines, settings and profile), the intro (its frames up to the one that
//   builds the title level) and the title level (that frame, up to its
//   Present). The frame-rate lock is off: the figures are the work, not the
//   60 Hz pacing the game adds to each frame;
// - CreateLevel of each level index alone, beside a game made but not run
//   (no level of its own holds a texture): with the texture cache cold (no
//   other build of the level lives, so every sheet loads) and warm (an
//   earlier build of the level lives and holds its sheets).
// Medians over the repetitions.

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// One run's moments.
struct StartUp {
    Clock::time_point run, create, created, menuFrame, presented;
    int frames = 0;
    bool menuFrameBegun = false;
};
StartUp g_startUp;

void BeforeFrame(MyGame&) {
    const Clock::time_point now = Clock::now();
    if (++g_startUp.frames == 2) {
        SDL_Event key{};
        key.key.keysym = {SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_NONE, 0};
        for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            key.type = type;
            SDL_PushEvent(&key);
        }
    }
    if (!g_startUp.menuFrameBegun) {
        g_startUp.menuFrame = now;
    }
}

void AfterPresent(MyGame& game) {
    if (game.GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel && !g_startUp.menuFrameBegun) {
        g_startUp.presented = Clock::now();
        g_startUp.menuFrameBegun = true;
        game.Exit();
    } else if (g_startUp.frames > 100) {
        game.Exit();
    }
}

void CreateTimedGame(Core::RefPtr<Engine::Application>& application, const Core::String&) {
    g_startUp.create = Clock::now();
    Core::RefPtr<MyGame> game = MakeGame(MakeGameContent());
    g_startUp.created = Clock::now();
    if (game) {
        game->LockFrameRate(false);
        game->SetVSync(false);
    }
    application = game.Get();
    mygametest::ObservedRun::Wrap(application, &BeforeFrame, &AfterPresent);
}

void BM_StartUpToTitle(benchmark::State& state) {
    bench::PrepareGameProcess();
    for (auto _ : state) {
        g_startUp = StartUp{};
        g_startUp.run = Clock::now();
        if (EngineRun("", &CreateTimedGame) != 0 || !g_startUp.menuFrameBegun) {
            state.SkipWithError("the title level was not reached");
            return;
        }
        const StartUp& s = g_startUp;
        state.SetIterationTime(Milliseconds(s.run, s.presented) / 1000.0);
        state.counters["engine_ms"] = Milliseconds(s.run, s.create);
        state.counters["constructor_ms"] = Milliseconds(s.create, s.created);
        state.counters["intro_ms"] = Milliseconds(s.created, s.menuFrame);
        state.counters["title_ms"] = Milliseconds(s.menuFrame, s.presented);
        state.counters["frames"] = s.frames;
    }
}
BENCHMARK(BM_StartUpToTitle)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// A game made (its window, renderer and engines) but not run, and a factory
// of its own over the game's levels whose builds are let go. Each build adds
// its collision actors to the game's list, which the game frees as it ends:
// the iterations are few.
class LevelBuilds {
public:
    LevelBuilds() {
        bench::PrepareGameProcess();
        CoreStartup(m_core);
        Math::CreateScratchBoxes();
        m_game = MakeGame(MakeGameContent());
        m_factory = TUN_NEW(MyLevelFactory, MakeGameContent());
    }
    ~LevelBuilds() {
        m_factory = nullptr;
        m_game->Shutdown();
        m_game = nullptr;
        Math::DestroyScratchBoxes();
        CoreShutdown(m_core);
    }
    MyLevelFactory& Factory() { return *m_factory; }

private:
    std::uint8_t m_core = 0;
    Core::RefPtr<MyGame> m_game;
    Core::RefPtr<MyLevelFactory> m_factory;
};

void BM_CreateLevel(benchmark::State& state) {
    LevelBuilds builds;
    const auto index = static_cast<std::uint32_t>(state.range(0));
    const Core::RefPtr<Tundra::Level> earlier = state.range(1) != 0 ? builds.Factory().CreateLevel(index) : nullptr;
    builds.Factory().OnLevelChanged();
    Core::RefPtr<Tundra::Level> level;
    for (auto _ : state) {
        level = builds.Factory().CreateLevel(index);
        state.PauseTiming();
        builds.Factory().OnLevelChanged();
        level = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateLevel)
    ->ArgNames({"level", "warm"})
    ->ArgsProduct({{MyLevelFactory::kIntroLevel, MyLevelFactory::kMenuLevel, MyLevelFactory::kGameLevel}, {0, 1}})
    ->Iterations(5)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
