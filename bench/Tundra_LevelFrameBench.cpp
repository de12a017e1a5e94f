#include "core/Core_Startup.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

// One frame of a level of 3 layers holding 2,000 game objects that move and
// turn a little each update, every tenth mounted on the one before it, with
// no collision objects or bodies (the engines have their own benchmarks):
// the whole game update, and the scene graph's update on its own. On SDL's
// offscreen driver.

namespace {

constexpr int kObjects = 2000;
constexpr int kLayers = 3;

struct Drifter : Tundra::GameObject {
    void Update(float dt) override {
        SetPositionXY(GetPositionX() + dt, GetPositionY());
        SetRotationAngle(GetRotationAngle() + dt);
    }
};

struct Factory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        auto* level = TUN_NEW(Tundra::Level);
        for (int i = 0; i < kLayers; ++i) {
            level->AddLayer(TUN_NEW(Tundra::Layer, static_cast<float>(i)));
        }
        Tundra::GameObject* previous = nullptr;
        for (int i = 0; i < kObjects; ++i) {
            auto* object = TUN_NEW(Drifter);
            object->SetPositionXY(static_cast<float>(i % 100), static_cast<float>(i / 100));
            if (i % 10 == 0 && previous != nullptr) {
                previous->Mount(object);
            }
            level->GetLayer(static_cast<std::uint32_t>(i % kLayers))->AddGameObject(object);
            previous = object;
        }
        return level;
    }
};

// The game with its level built and started, made once for the whole run.
class BenchGame {
public:
    BenchGame() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        CoreStartup(m_core);
        m_game = TUN_NEW(Tundra::Game, TUN_NEW(Factory), Engine::StartupSettings{320, 240, 60, 0, false, false}, 0);
        m_game->Frame();
        m_game->Update(0.016f);
    }
    Tundra::Game& Get() { return *m_game; }

private:
    std::uint8_t m_core = 0;
    Core::RefPtr<Tundra::Game> m_game;
};

BenchGame& Game() {
    static BenchGame game;
    return game;
}

void BM_GameUpdate(benchmark::State& state) {
    Tundra::Game& game = Game().Get();
    for (auto _ : state) {
        game.Update(0.016f);
    }
}
BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SceneGraphUpdate(benchmark::State& state) {
    Engine::SceneGraph& sceneGraph = *Game().Get().GetSceneGraph();
    for (auto _ : state) {
        sceneGraph.UpdateAsCurrent(0.016f);
    }
}
BENCHMARK(BM_SceneGraphUpdate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
