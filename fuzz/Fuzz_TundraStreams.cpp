#include "Fuzz_RunningGame.h"

#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_StressInvariants.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Levels, layers and game objects come back from save games: any bytes must
// read into objects that update, end and shut down, or into nothing, both on
// their own and inside a running game. The first byte chooses what the rest
// is read as (its value modulo 3) and whether a game runs (when the value
// divided by 3 is odd).
namespace {

using fuzz::kFrame;

Core::RefPtr<Core::Object> Read(Core::File& file, std::uint8_t kind) {
    return fuzz::ReadChosen<Core::Object, Tundra::Level, Tundra::Layer, Tundra::GameObject>(file, kind);
}

// Without a game: what a save's reader does with what it read.
void Exercise(Core::Object* object) {
    if (auto* level = dynamic_cast<Tundra::Level*>(object)) {
        level->FrameUpdate(kFrame);
        level->FirstLateUpdate(kFrame);
        level->UpdateGameObjectTransformations();
        level->End();
        level->Shutdown();
    } else if (auto* layer = dynamic_cast<Tundra::Layer*>(object)) {
        layer->Update(kFrame);
        layer->Shutdown();
    } else if (auto* gameObject = dynamic_cast<Tundra::GameObject*>(object)) {
        gameObject->EngineUpdate(kFrame);
        gameObject->SetPosition({1.0f, 2.0f});
        gameObject->SetRotationAngle(45.0f);
        gameObject->Destroy();
    }
}

// One level: a layer with static ground, an object with a falling body, and
// a body nobody owns (the first, so that small stored ids name it).
Tundra::Level* GroundLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    auto* layer = TUN_NEW(Tundra::Layer, 0.0f);
    level->AddLayer(layer);
    layer->AddStaticLineSegment({-1000.0f, 0.0f}, {1000.0f, 0.0f}, 0, 1);
    layer->AddStaticCircle({40.0f, 0.0f}, 10.0f, 0, 2);
    Tundra::Game::GetInstance()->GetPhysicsEngine()->AddRigidBody(TUN_NEW(Physics2D::RigidBody));
    auto* object = TUN_NEW(Tundra::GameObject);
    object->SetName("ground object");
    object->SetPosition({0.0f, 20.0f});
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    object->AddPhysicalProperties(&mass, 0);
    object->AddForce(TUN_NEW(Physics2D::GravityForce, Vector2D(0.0f, -1.0f), 9.8f));
    layer->AddGameObject(object);
    return level;
}

// A layer listing an object that names another layer, or none, is a fault
// of the reader that the sanitizers alone would not see.
void Step(Tundra::Game& game, int frames) {
    for (int i = 0; i < frames; ++i) {
        fuzz::Step(game, 1);
        const Tundra::Level* level = game.GetCurrentLevel();
        const std::string fault =
            level != nullptr ? tundrastress::LayerListingFault(*level, [](const Tundra::GameObject&) { return false; })
                             : std::string();
        if (!fault.empty()) {
            std::fprintf(stderr, "%s\n", fault.c_str());
            std::abort();
        }
    }
}

// What the reads gave joins the running level: a level steps on its own
// beside it, a layer joins the level, an object and its clone join its
// first layer.
void Place(Tundra::Game& game, Core::Object* object) {
    Tundra::Level* current = game.GetCurrentLevel();
    if (auto* level = dynamic_cast<Tundra::Level*>(object)) {
        level->FrameUpdate(kFrame);
        level->FirstLateUpdate(kFrame);
        level->SecondLateUpdate(kFrame);
        level->UpdateGameObjectTransformations();
    } else if (auto* layer = dynamic_cast<Tundra::Layer*>(object)) {
        if (current != nullptr) {
            current->AddLayer(layer);
        }
    } else if (auto* gameObject = dynamic_cast<Tundra::GameObject*>(object); gameObject && current) {
        // It rides on the level's falling object, and a clone joins too.
        Tundra::Layer& layer = *current->GetLayer(0);
        std::vector<Tundra::GameObject*> objects;
        layer.GetGameObjects(objects);
        if (!objects.empty()) {
            objects[0]->Mount(gameObject);
        }
        fuzz::JoinWithClone(layer, *gameObject);
    }
}

void InRunningGame(Core::File& file, std::uint8_t kind) {
    const Core::RefPtr<Tundra::Game> game = fuzz::StartedGame<GroundLevel>();
    auto results = fuzz::ReadTwo(file, [&] { return Read(file, kind); });
    for (const Core::RefPtr<Core::Object>& result : results) {
        Place(*game, result.Get());
    }
    fuzz::LeaveAndShutDown(*game, results, Step);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ChoiceAndStream input(data, size);
    const std::uint8_t kind = input.choice;
    if (kind / 3 % 2 == 1) {
        InRunningGame(input.file, kind);
        return 0;
    }
    // Both reads first: the second may name objects of the first by id,
    // which the exercise may let go of.
    const auto results = fuzz::ReadTwo(input.file, [&] { return Read(input.file, kind); });
    for (const Core::RefPtr<Core::Object>& result : results) {
        Exercise(result.Get());
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const Core::RefPtr<Tundra::Level> level = TUN_NEW(Tundra::Level);
    for (int i = 0; i < 2; ++i) {
        auto* layer = TUN_NEW(Tundra::Layer);
        layer->SetName(i == 0 ? "world" : "hud");
        level->AddLayer(layer);
        auto* mount = TUN_NEW(Tundra::GameObject);
        auto* child = TUN_NEW(Tundra::GameObject);
        mount->SetName("mount");
        child->SetName("child");
        child->SetLifeTime(0.01f);
        mount->Mount(child);
        layer->AddGameObject(mount);
        layer->AddGameObject(child);
        layer->Update(kFrame);
        layer->AddGameObject(TUN_NEW(Tundra::GameObject));
    }
    fuzz::AddStreamSeed(seeds, "level", 0, {level.Get()});
    fuzz::AddStreamSeed(seeds, "layer", 1, {level->GetLayer(0)});
    const Core::RefPtr<Tundra::GameObject> object = TUN_NEW(Tundra::GameObject);
    object->SetName("A");
    fuzz::AddStreamSeed(seeds, "object", 2, {object.Get()});
    // The same from a running game, whose objects hold engine entries.
    const Core::RefPtr<Tundra::Game> game = fuzz::StartedGame<GroundLevel>();
    Step(*game, 2);
    fuzz::AddStreamSeed(seeds, "running_level", 3, {game->GetCurrentLevel()});
    fuzz::AddStreamSeed(seeds, "running_layer", 4, {game->GetCurrentLevel()->GetLayer(0)});
    std::vector<Tundra::GameObject*> objects;
    game->GetCurrentLevel()->GetGameObjects(nullptr, objects);
    fuzz::AddStreamSeed(seeds, "running_object", 5, {objects.at(0)});
    fuzz::AddStreamSeed(seeds, "foreign_level", 3, {level.Get()});
    game->Shutdown();
}
