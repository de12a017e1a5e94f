#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_Startup.h"
#include "os/OS_Backend.h"
#include "os/OS_Path.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// Saved games of a stage-size state: a level of two layers holding 2,000
// game objects on a grid, each with a circle collision shape and a falling
// body, over static ground, run a few frames so that they hold collision
// records. Figures: a save to disk (milliseconds, with the file's size), a
// load from it (milliseconds; it keeps the running state to roll back to,
// tears the level down and reads the file's), and the state hash a test
// takes every frame (microseconds). On the headless backend, in a folder
// of its own.

namespace {

constexpr int kObjects = 2000;
constexpr int kColumns = 50;
constexpr float kSpacing = 20.0f;

Collision2D::CollisionActor* CircleActor() {
    auto* frame = new Collision2D::CollisionFrame;
    frame->SetBoundingRectangle({6.0f, -6.0f, 6.0f, -6.0f}, true);
    frame->AddCircle({0.0f, 0.0f}, 6.0f, 1, true);
    auto* animation = new Collision2D::CollisionAnimation;
    animation->AddCollisionFrame(frame);
    auto* actor = new Collision2D::CollisionActor;
    actor->AddCollisionAnimation(animation);
    return actor;
}

struct Factory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override {
        auto* level = TUN_NEW(Tundra::Level);
        for (int i = 0; i < 2; ++i) {
            level->AddLayer(TUN_NEW(Tundra::Layer, static_cast<float>(i)));
            level->GetLayer(static_cast<std::uint32_t>(i))->SetCollisionProperties({-50.0f, -50.0f}, 1100, 1000, 64);
        }
        return level;
    }
};

class SavingGame : public Tundra::Game {
public:
    using Tundra::Game::Game;
    using Tundra::Game::LoadStateFrom;
    using Tundra::Game::SaveStateTo;
};

class Stage {
public:
    Stage() {
        os::SelectBackend(os::Backend::Headless);
        CoreStartup(m_core);
        char folder[] = "/tmp/bench-saves-XXXXXX";
        m_folder = ::mkdtemp(folder) != nullptr ? folder : "/tmp";
        os::SetExecutablePathForTesting(m_folder + "/game");
        m_game = TUN_NEW(SavingGame, TUN_NEW(Factory), Engine::StartupSettings{320, 240, 60, 0, false, false}, 0);
        m_game->Frame();
        Tundra::Level& level = *m_game->GetCurrentLevel();
        m_game->AddCollisionAssets(CircleActor());
        const Physics2D::MassProperties mass(1.0f, 1.0f);
        for (int i = 0; i < kObjects; ++i) {
            Tundra::Layer& layer = *level.GetLayer(static_cast<std::uint32_t>(i % 2));
            auto* object = TUN_NEW(Tundra::GameObject);
            object->SetName(i % 2 == 0 ? "walker" : "flyer");
            object->SetPosition({static_cast<float>(i % kColumns) * kSpacing,
                                 static_cast<float>(i / kColumns) * kSpacing});
            auto* shape = new Collision2D::DynamicObject;
            shape->AddCollisionData(m_game->GetCollisionAssets().back(), 0, 0);
            shape->SetCollisionType(1);
            shape->SetCanCollid(0, true);
            object->AddCollision(shape, layer.GetCollisionId());
            object->AddPhysicalProperties(&mass, 0);
            object->AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f));
            layer.AddGameObject(object);
        }
        level.GetLayer(0)->AddStaticLineSegment({-50.0f, -8.0f}, {1050.0f, -8.0f}, 0, 1);
        for (int frame = 0; frame < 5; ++frame) {
            m_game->Update(0.016f);
        }
    }
    ~Stage() {
        m_game->Shutdown();
        m_game = nullptr;
        os::SetExecutablePathForTesting("");
        std::filesystem::remove_all(m_folder);
        CoreShutdown(m_core);
    }

    SavingGame& Game() { return *m_game; }
    Core::String Path(const char* name) const { return Tundra::Game::GetDirectory() + "\\Saves\\" + name; }
    std::uintmax_t FileSize(const char* name) const {
        return std::filesystem::file_size(m_folder + "/Saves/" + name);
    }

private:
    std::uint8_t m_core = 0;
    std::string m_folder;
    Core::RefPtr<SavingGame> m_game;
};

Stage& TheStage() {
    static Stage stage;
    return stage;
}

void BM_SaveStage(benchmark::State& state) {
    Stage& stage = TheStage();
    for (auto _ : state) {
        if (!stage.Game().SaveStateTo(stage.Path("stage"))) {
            state.SkipWithError("save failed");
        }
    }
    state.counters["file_bytes"] = static_cast<double>(stage.FileSize("stage"));
}
BENCHMARK(BM_SaveStage)->Unit(benchmark::kMillisecond);

void BM_LoadStage(benchmark::State& state) {
    Stage& stage = TheStage();
    stage.Game().SaveStateTo(stage.Path("stage"));
    for (auto _ : state) {
        if (!stage.Game().LoadStateFrom(stage.Path("stage"))) {
            state.SkipWithError("load failed");
        }
    }
}
BENCHMARK(BM_LoadStage)->Unit(benchmark::kMillisecond);

void BM_StateHash(benchmark::State& state) {
    Stage& stage = TheStage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(stage.Game().GetStateHash());
    }
}
BENCHMARK(BM_StateHash)->Unit(benchmark::kMicrosecond);

}  // namespace
