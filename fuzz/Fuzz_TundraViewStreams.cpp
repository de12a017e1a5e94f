#include "Fuzz_Harness.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_SceneGraph.h"
#include "support/Renderer_RecordingRenderer.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_SpriteShapes.h"
#include "tundra/Tundra_Viewport.h"

// Viewports, cameras and the levels that list them come back from save
// games: any bytes must read into objects that join a running game, update,
// draw and let go, or into nothing. The first byte chooses what the rest is
// read as (its value modulo 3).
namespace {

constexpr float kFrame = 0.016f;

Core::RefPtr<Core::Object> Read(Core::File& file, std::uint8_t kind) {
    constexpr auto owning = Core::File::Reference::Owning;
    switch (kind % 3) {
        case 0: return file.ReadObjectAs<Tundra::Level>(owning);
        case 1: return file.ReadObjectAs<Tundra::Viewport>(owning);
        default: return file.ReadObjectAs<Tundra::Camera>(owning);
    }
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

struct ViewFactory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override { return ViewedLevel(); }
};

// One game for the whole run (making one per input would cost most of the
// time); every input starts on a freshly built level.
Tundra::Game& RestartedGame() {
    static Tundra::Game* game = [] {
        auto* made = TUN_NEW(Tundra::Game, TUN_NEW(ViewFactory), Engine::StartupSettings{64, 48}, 0);
        made->AddReference();
        made->Frame();
        return made;
    }();
    game->RestartLevel();
    game->ChangeLevelNow();
    return *game;
}

void Step(Tundra::Game& game, int frames) {
    for (int i = 0; i < frames && game.GetCurrentLevel() != nullptr; ++i) {
        game.Update(kFrame);
    }
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
        current->GetLayer(0)->AddGameObject(camera);
        const Core::RefPtr<Core::Object> clone = camera->Clone();
        current->GetLayer(0)->AddGameObject(static_cast<Tundra::Camera*>(clone.Get()));
        auto* viewport = TUN_NEW(Tundra::Viewport, 0, 0, 32, 32);
        viewport->SetCamera(camera);
        current->AddViewport(viewport);
        camera->MakeActiveListener();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t kind = input.Byte();
    const fuzz::Bytes rest = input.Rest();
    Core::MemoryFile file(rest.data(), static_cast<std::uint32_t>(rest.size()));
    Tundra::Game& game = RestartedGame();
    Step(game, 1);
    const Core::RefPtr<testsupport::RecordingRenderer> renderer = TUN_NEW(testsupport::RecordingRenderer);
    const Core::RefPtr<Engine::SceneGraph> recording = TUN_NEW(Engine::SceneGraph, renderer.Get());
    Core::RefPtr<Core::Object> results[2];
    for (int read = 0; read < 2 && !file.HasFailed(); ++read) {
        results[read] = Read(file, kind);
    }
    for (const Core::RefPtr<Core::Object>& result : results) {
        Place(game, *recording, result.Get());
    }
    Step(game, 2);
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
    Step(game, 2);
    game.GetCurrentLevel()->RenderViewports(*recording);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Tundra::Game& game = RestartedGame();
    Step(game, 2);
    const auto seed = [&seeds](std::string_view name, std::uint8_t kind, const Core::Object* object) {
        Core::MemoryFile file;
        file.WriteU8(kind);
        file << object;
        seeds.Add(name, fuzz::Bytes(file.GetData(), file.GetData() + file.GetSize()));
    };
    Tundra::Level* level = game.GetCurrentLevel();
    Tundra::Viewport* viewport = level->GetViewport(0);
    viewport->SetBackground("C:\\art\\sky.png");
    seed("level", 0, level);
    seed("viewport", 1, viewport);
    seed("bare_viewport", 1, level->GetViewport(1));
    seed("camera", 2, viewport->GetCamera());
}
