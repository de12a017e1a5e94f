#include "core/Core_Startup.h"
#include "engine/Engine_Camera.h"
#include "engine/Engine_Sprite.h"
#include "engine/Engine_Viewport.h"
#include "os/OS_GLFunctions.h"
#include "renderer/Renderer_TextureManager.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

#include "Bench_SpriteSheet.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

// One frame of a level of 3 layers holding 2,000 game objects that move and
// turn a little each update, every tenth mounted on the one before it, with
// no collision objects or bodies (the engines have their own benchmarks).
// Each object's node carries a sprite playing four cells of a sheet, seen
// whole by the bench's own camera and viewport, on SDL's offscreen driver.
// Two figures per frame: the game update up to and including the transform
// pass, and render submission (scene-graph update, traversal, queue filing
// and flush into OpenGL). The GPU's share and the present are not timed:
// each frame is finished outside the measurement.

namespace {

constexpr int kObjects = 2000;
constexpr int kLayers = 3;
constexpr int kColumns = 50;
constexpr float kSpacing = 40.0f;
constexpr std::int32_t kWidth = 320;
constexpr std::int32_t kHeight = 240;
constexpr float kFrameTime = 0.016f;

using Clock = std::chrono::steady_clock;

struct Drifter : Tundra::GameObject {
    void Update(float dt) override {
        SetPositionXY(GetPositionX() + dt, GetPositionY());
        SetRotationAngle(GetRotationAngle() + dt);
    }
};

// Four 64 x 64 cells of the benchmarks' sheet, 0.1 s each, looping.
Core::RefPtr<Engine::SpriteAnimation> FourFrameAnimation() {
    const Core::RefPtr<Renderer::ITexture> texture = TextureManager::GetTexture(bench::Sheet().Path().c_str(), true);
    if (!texture) {
        std::fprintf(stderr, "the sprite sheet did not load\n");
        std::exit(1);
    }
    const std::vector<Engine::SpriteFrame> frames{{0, 0, 0.1f}, {1, 0, 0.1f}, {2, 0, 0.1f}, {3, 0, 0.1f}};
    return Core::RefPtr<Engine::SpriteAnimation>(TUN_NEW(Engine::SpriteAnimation, texture, 64, 64, frames));
}

struct Factory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        Core::RefPtrVector<Engine::SpriteAnimation> animations;
        animations.push_back(FourFrameAnimation());
        auto* level = TUN_NEW(Tundra::Level);
        for (int i = 0; i < kLayers; ++i) {
            level->AddLayer(TUN_NEW(Tundra::Layer, static_cast<float>(i)));
        }
        Tundra::GameObject* previous = nullptr;
        for (int i = 0; i < kObjects; ++i) {
            auto* object = TUN_NEW(Drifter);
            object->SetPositionXY(static_cast<float>(i % kColumns) * kSpacing,
                                  static_cast<float>(i / kColumns) * kSpacing);
            auto* sprite = TUN_NEW(Engine::Sprite, animations);
            sprite->SetPlaying(true);
            object->GetSceneNode()->AddChild(Core::RefPtr<Engine::Node>(sprite));
            if (i % 10 == 0 && previous != nullptr) {
                previous->Mount(object);
            }
            level->GetLayer(static_cast<std::uint32_t>(i % kLayers))->AddGameObject(object);
            previous = object;
        }
        return level;
    }
};

// Stamped by the scene graph's update callback: where the transform pass
// has ended and the scene-graph update begins.
Clock::time_point g_sceneUpdateStart;

void StampSceneUpdate(const Core::RefPtr<Engine::Node>&, float) { g_sceneUpdateStart = Clock::now(); }

// The game with its level built and started and a camera over the whole
// field, made once for the whole run.
class BenchGame {
public:
    BenchGame() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        CoreStartup(m_core);
        m_game = TUN_NEW(Tundra::Game, TUN_NEW(Factory), Engine::StartupSettings{kWidth, kHeight, 60, 0, false, false},
                         0);
        m_game->Frame();
        Engine::SceneGraph& scene = *m_game->GetSceneGraph();
        scene.SetUpdateCallback(&StampSceneUpdate);
        // The field is 2,000 x 1,600 units: a 45-degree lens 2,000 units away
        // sees it from its centre.
        const Core::RefPtr<Engine::TransformationGroup> eye(TUN_NEW(Engine::TransformationGroup));
        eye->SetTransformation(Matrix4::Translation(kColumns * kSpacing / 2, kObjects / kColumns * kSpacing / 2, 2000));
        eye->AddChild(m_camera);
        scene.AddChild(eye);
        scene.SetViewportCount(1);
        m_game->Update(kFrameTime);
    }
    Tundra::Game& Get() { return *m_game; }
    const Core::RefPtr<Engine::Camera>& GetCamera() const { return m_camera; }
    const Core::RefPtr<Engine::Viewport>& GetViewport() const { return m_viewport; }

    // Sprites whose frame lies at least partly inside the camera's view.
    int CountVisibleSprites() const {
        Frustum frustum;
        m_camera->ComputeFrustum(frustum, kWidth, kHeight);
        std::vector<Tundra::GameObject*> objects;
        m_game->GetCurrentLevel()->GetGameObjects(nullptr, objects);
        int visible = 0;
        for (const Tundra::GameObject* object : objects) {
            BoundingBox box;
            static_cast<Engine::Sprite*>(object->GetSceneNode()->GetChild(0).Get())->GetWorldBoundingVolume(box);
            visible += frustum.ClassifyBox(box) != Math::ClassifyOutside ? 1 : 0;
        }
        return visible;
    }

private:
    std::uint8_t m_core = 0;
    Core::RefPtr<Tundra::Game> m_game;
    Core::RefPtr<Engine::Camera> m_camera{TUN_NEW(Engine::Camera, 45.0f, 1.0f, 5000.0f)};
    Core::RefPtr<Engine::Viewport> m_viewport{TUN_NEW(Engine::Viewport, 0, 0, kWidth, kHeight)};
};

BenchGame& Game() {
    static BenchGame game;
    return game;
}

double SecondsSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

// Update steps 1-20: from the start of Game::Update to the scene graph's
// update callback. The rest of the update runs untimed.
void BM_GameUpdate(benchmark::State& state) {
    Tundra::Game& game = Game().Get();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        game.Update(kFrameTime);
        state.SetIterationTime(SecondsSince(start, g_sceneUpdateStart));
        os::gl::Finish();
    }
    std::vector<Tundra::GameObject*> objects;
    game.GetCurrentLevel()->GetGameObjects(nullptr, objects);
    state.counters["objects"] = static_cast<double>(objects.size());
}
BENCHMARK(BM_GameUpdate)->Unit(benchmark::kMicrosecond)->UseManualTime()->Repetitions(5)->ReportAggregatesOnly(true);

// The scene-graph update and one render through the bench's camera and
// viewport; OpenGL finishes the frame outside the measurement.
void BM_RenderSubmission(benchmark::State& state) {
    BenchGame& bench = Game();
    Engine::SceneGraph& scene = *bench.Get().GetSceneGraph();
    double sceneUpdateSeconds = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        scene.UpdateAsCurrent(kFrameTime);
        const Clock::time_point updated = Clock::now();
        scene.Render(bench.GetCamera(), bench.GetViewport());
        state.SetIterationTime(SecondsSince(start, Clock::now()));
        sceneUpdateSeconds += SecondsSince(start, updated);
        os::gl::Finish();
    }
    state.counters["sprites drawn"] = bench.CountVisibleSprites();
    // The scene-graph update's share, in microseconds per frame.
    state.counters["scene update us"] =
        benchmark::Counter(sceneUpdateSeconds * 1e6, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RenderSubmission)
    ->Unit(benchmark::kMicrosecond)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
