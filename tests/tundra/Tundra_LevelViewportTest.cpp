#include "Tundra_HostileRead.h"
#include "Tundra_SpriteShapes.h"
#include "support/Tundra_TestGame.h"
#include "Tundra_ViewTestSupport.h"

#include <algorithm>
#include <iterator>

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_DynamicObject.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Viewport.h"

using namespace tundratest;
using Tundra::Camera;
using Tundra::Viewport;

namespace {

// A viewport of the given width drawn through a new camera of the layer.
Viewport* ViewThrough(Tundra::Layer& layer, const char* name, std::int32_t width) {
    auto* viewport = TUN_NEW(Viewport, 0, 0, width, 100);
    viewport->SetName(name);
    auto* camera = TUN_NEW(Camera);
    layer.AddGameObject(camera);
    viewport->SetCamera(camera);
    return viewport;
}

}  // namespace

TEST_F(GameTest, ALevelListsEachViewportOnceInOrder) {
    const Core::RefPtr<Tundra::Level> level = TUN_NEW(Tundra::Level);
    const Core::RefPtr<Viewport> a = TUN_NEW(Viewport);
    const Core::RefPtr<Viewport> b = TUN_NEW(Viewport);
    a->SetName("a");
    b->SetName("b");
    for (Viewport* viewport : {a.Get(), static_cast<Viewport*>(nullptr), a.Get(), b.Get()}) {
        level->AddViewport(viewport);
    }
    EXPECT_TRUE(level->GetViewportsCount() == 2u && level->GetViewport(0) == a && level->GetViewport(1) == b);
    EXPECT_TRUE(level->GetViewport(2) == nullptr && level->GetViewportByName("b") == b &&
                level->GetViewportByName("c") == nullptr);
    level->RemoveViewport(a.Get());
    EXPECT_EQ(level->GetViewport(0), b);
    level->Shutdown();
    EXPECT_EQ(level->GetViewportsCount(), 0u);
}

TEST_F(GameTest, EachFrameDrawsTheViewportsInOrderAndPlacesTheListener) {
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) {
        level.AddViewport(ViewThrough(*level.GetLayer(1), "left", 10));
        level.AddViewport(ViewThrough(*level.GetLayer(0), "right", 20));
    };
    TestGame& game = Start();
    Tundra::Level& level = *game.GetCurrentLevel();
    Step(1);
    EXPECT_TRUE(game.GetSceneGraph()->GetViewportCount() == 2u && game.GetSceneGraph()->GetViewportIndex() == 1u);
    {
        viewtest::SpyScene spy;
        level.RenderViewports(*spy.scene);
        // The level's rectangles among the renderer's own (put back, the screen-space pass);
        // the last viewport is applied again for that pass.
        std::vector<viewtest::SpyScene::Applied> applied;
        std::copy_if(spy.Applications().begin(), spy.Applications().end(), std::back_inserter(applied),
                     [](const auto& a) { return a.rectangle.height == 100; });
        ASSERT_GE(applied.size(), 2u);
        EXPECT_TRUE(applied[0].count == 2u && applied[0].index == 0u && applied[0].rectangle.width == 10);
        EXPECT_TRUE(applied[1].count == 2u && applied[1].index == 1u && applied[1].rectangle.width == 20);
    }

    // The first camera (of layer 1, at depth 1) listens from its layer's depth.
    Camera* listener = Camera::GetActiveListener();
    ASSERT_EQ(listener, level.GetViewport(0)->GetCamera());
    listener->SetPosition({3.0f, 4.0f});
    GetListenerPositionCountForTesting() = 0;
    Step(2);
    const Vector3D& heard = GetListenerPositionForTesting(*game.GetSoundEngine());
    EXPECT_TRUE(heard.x == 3.0f && heard.y == 4.0f && heard.z == 1.0f);
    EXPECT_EQ(GetListenerPositionCountForTesting(), 2);

    const Core::RefPtr<Camera> outside = TUN_NEW(Camera);
    outside->MakeActiveListener();
    outside->SetPosition({5.0f, 6.0f});
    Step(1);
    EXPECT_TRUE(heard.x == 5.0f && heard.y == 6.0f && heard.z == 0.0f) << "outside a layer: depth 0";
    outside->Cleanup();
    Step(1);
    EXPECT_EQ(GetListenerPositionCountForTesting(), 3) << "no listener, no placing";
}

TEST_F(GameTest, ALevelsViewportsComeBackWithTheirCamerasAndDamagedCopiesReadCleanly) {
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) {
        level.AddViewport(ViewThrough(*level.GetLayer(1), "main", 64));
        level.AddViewport(TUN_NEW(Viewport));
    };
    TestGame& game = Start();
    Step(1);
    const Bytes bytes = Saved(game.GetCurrentLevel());
    {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<Tundra::Level> level = file.ReadObjectAs<Tundra::Level>(Core::File::Reference::Owning);
        ASSERT_TRUE(level && level->GetViewportsCount() == 2u);
        std::vector<Tundra::GameObject*> cameras;
        level->GetLayer(1)->GetGameObjects(cameras);
        EXPECT_TRUE(cameras.size() == 1u && level->GetViewportByName("main")->GetCamera() == cameras[0]);
        EXPECT_EQ(level->GetViewport(1)->GetCamera(), nullptr);
        level->Shutdown();
    }
    viewtest::SpyScene spy;
    ReadHostile<Tundra::Level>(bytes, 5000, [&spy](Tundra::Level& level) {
        level.FrameUpdate(0.016f);
        level.RenderViewports(*spy.scene);
        level.Shutdown();
    });
}

TEST_F(GameTest, ALevelStreamGivesItsSpritesTheirCollidedSpritesBack) {
    TestGame& game = Start();
    Step(1);
    std::vector<Tundra::Sprite*> sprites;
    for (const std::uint32_t layer : {0u, 0u, 1u}) {
        sprites.push_back(TUN_NEW(Tundra::Sprite, SpriteAnimations()));
        Collision2D::DynamicObject* shape = CircleShape(5.0f, 1);
        shape->SetUpdateOnIdle(true);
        sprites.back()->AddCollision(shape, LayerAt(layer).GetCollisionId());
        LayerAt(layer).AddGameObject(sprites.back());
    }
    Spawn("plain", 1);
    Step(2);
    const std::uint32_t a = sprites[0]->GetID();
    const std::uint32_t b = sprites[1]->GetID();
    const std::uint32_t c = sprites[2]->GetID();
    const auto words = [](std::initializer_list<std::uint32_t> values) {
        Core::MemoryFile file;
        for (const std::uint32_t v : values) {
            file.WriteU32(v);
        }
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    const auto tail = [](const Core::MemoryFile& file, std::uint32_t n) {
        return Bytes(file.GetData() + file.GetSize() - n, file.GetData() + file.GetSize());
    };
    // The level ends with the ids: a's rectangle and shape records name b, b's name a.
    Core::MemoryFile saved;
    game.GetCollisionEngine()->Save(saved);
    game.GetCurrentLevel()->Save(saved);
    EXPECT_EQ(tail(saved, 16), words({b, b, a, a}));
    // A gone other is 0xFFFFFFFF (0 is an ID); a sprite without a collision object writes nothing.
    sprites[1]->RemoveCollision();
    Core::MemoryFile gone;
    game.GetCurrentLevel()->Save(gone);
    EXPECT_EQ(tail(gone, 8), Bytes(8, 0xFF));

    // Read as a saved game is: the old level gone, the collision engine read
    // back first, the level read before it becomes current. A rectangle
    // record finds c across the read level's layers, a shape record only in
    // its own layer; an unknown id names none.
    Bytes bytes(saved.GetData(), saved.GetData() + saved.GetSize());
    const Bytes patched = words({c, c, 999u, a});
    std::copy(patched.begin(), patched.end(), bytes.end() - 16);
    m_factory->layers = 0;
    game.GoToLevel(1);
    Step(1);
    Core::MemoryFile reading(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    game.GetCollisionEngine()->Load(reading);
    const Core::RefPtr<Tundra::Level> readLevel = TUN_NEW(Tundra::Level);
    Tundra::Level& level = *readLevel;
    level.Load(reading);
    std::vector<Tundra::GameObject*> read;
    level.GetGameObjects(nullptr, read);
    ASSERT_TRUE(!reading.HasFailed() && read.size() == 4u);
    const auto handles = [&read](std::size_t i) {
        const Collision2D::DynamicObject* object = read[i]->GetCollisionObject();
        return std::pair(object->GetBoundingRectangleCollisions()[0].handle, object->GetShapeCollisions()[0].handle);
    };
    EXPECT_EQ(handles(0), std::pair(read[2]->GetCollisionId(), 0u));
    EXPECT_EQ(handles(1), std::pair(0u, read[0]->GetCollisionId()));
}
