#include "Fuzz_RunningGame.h"

#include "collision/Collision_DynamicObject.h"
#include "engine/Engine_SceneGraph.h"
#include "support/Renderer_RecordingRenderer.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteShapes.h"
#include "tundra/Tundra_Viewport.h"

// Viewports, cameras and the levels that list them come back from save
// games: any bytes must read into objects that join a running game, update,
// draw and let go, or into nothing. The first byte chooses what the rest is
// read as (its value modulo 3).
namespace {

using fuzz::kFrame;

Core::RefPtr<Core::Object> Read(Core::File& file, std::uint8_t kind) {
    return fuzz::ReadChosen<Core::Object, Tundra::Level, Tundra::Viewport, Tundra::Camera>(file, kind);
}

// A camera in a layer of depth 2 and a viewport through it; two sprites
// of the layer collide, so the level's stream lists their ids.
Tundra::Level* ViewedLevel() {
    auto* level = TUN_NEW(Tundra::Level);
    level->SetTypeName("viewed");
    auto* layer = TUN_NEW(Tundra::Layer, 2.0f);
    level->AddLayer(layer);
    Tundra::Game& game = *Tundra::Game::GetInstance();
    game.AddCollisionAssets(tundratest::SpriteShapesActor());
    for (int i = 0; i < 2; ++i) {
        auto* collision = new Collision2D::DynamicObject;
        collision->AddCollisionData(game.GetCollisionAssets().back(), 0, 0);
        collision->SetCanCollid(0, true);
        collision->SetUpdateOnIdle(true);
        auto* sprite = TUN_NEW(Tundra::Sprite, tundratest::SpriteAnimations());
        sprite->AddCollision(collision, layer->GetCollisionId());
        layer->AddGameObject(sprite);
    }
    auto* camera = TUN_NEW(Tundra::Camera, 50.0f);
    camera->SetName("eye");
    camera->SetPosition({10.0f, 20.0f});
    layer->AddGameObject(camera);
    auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, 64, 48);
    viewport->SetName("main");
    viewport->SetCamera(camera);
    viewport->SetClearColor({0.0f, 0.5f, 1.0f, 1.0f});
    level->AddViewport(viewport);
    level->AddViewport(TUN_NEW(Tundra::Viewport, 10, 10, 20, 20));
    return level;
}

// What a read gave joins the running level: a level updates and draws
// beside it, a viewport is drawn by the level, a camera (and its clone)
// joins the first layer and a viewport of its own.
void Place(Tundra::Game& game, Engine::SceneGraph& recording, Core::Object* object) {
    Tundra::Level* current = game.GetCurrentLevel();
    if (auto* level = dynamic_cast<Tundra::Level*>(object)) {
        level->FrameUpdate(kFrame);
        level->UpdateGameObjectTransformations();
        level->RenderViewports(recording);
    } else if (auto* viewport = dynamic_cast<Tundra::Viewport*>(object)) {
        viewport->Render(recording);
        viewport->IsBoxInView(BoundingBox());
        current->AddViewport(viewport);
    } else if (auto* camera = dynamic_cast<Tundra::Camera*>(object)) {
        camera->UpdateFromKeyboard();
        fuzz::JoinWithClone(*current->GetLayer(0), *camera);
        auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, 32, 32);
        viewport->SetCamera(camera);
        current->AddViewport(viewport);
        camera->MakeActiveListener();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ChoiceAndStream input(data, size);
    Core::MemoryFile& file = input.file;
    Tundra::Game& game = fuzz::RestartedGame<ViewedLevel>();
    fuzz::Step(game, 1);
    const Core::RefPtr<testsupport::RecordingRenderer> renderer = TUN_NEW(testsupport::RecordingRenderer);
    const Core::RefPtr<Engine::SceneGraph> recording = TUN_NEW(Engine::SceneGraph, renderer.Get());
    auto results = fuzz::ReadTwo(file, [&] { return Read(file, input.choice); });
    for (const Core::RefPtr<Core::Object>& result : results) {
        Place(game, *recording, result.Get());
    }
    fuzz::Step(game, 2);
    game.GetCurrentLevel()->RenderViewports(*recording);
    for (Core::RefPtr<Core::Object>& result : results) {
        if (auto* level = dynamic_cast<Tundra::Level*>(result.Get())) {
            level->Shutdown();
        } else if (auto* camera = dynamic_cast<Tundra::Camera*>(result.Get())) {
            camera->Destroy();
        }
        result = nullptr;
    }
    file.ResetObjectTables();
    fuzz::Step(game, 2);
    game.GetCurrentLevel()->RenderViewports(*recording);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Tundra::Game& game = fuzz::RestartedGame<ViewedLevel>();
    fuzz::Step(game, 2);
    Tundra::Level* level = game.GetCurrentLevel();
    Tundra::Viewport* viewport = level->GetViewport(0);
    viewport->SetBackground("C:\\art\\sky.png");
    fuzz::AddStreamSeed(seeds, "level", 0, {level});
    fuzz::AddStreamSeed(seeds, "viewport", 1, {viewport});
    fuzz::AddStreamSeed(seeds, "bare_viewport", 1, {level->GetViewport(1)});
    fuzz::AddStreamSeed(seeds, "camera", 2, {viewport->GetCamera()});
}
