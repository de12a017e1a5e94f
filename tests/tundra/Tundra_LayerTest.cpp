#include "support/Tundra_TestGame.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_MemoryFile.h"
#include "math/Math_Matrix4.h"

#include <algorithm>

using namespace tundratest;

namespace {

// The first n entries the layers logged in the last frame.
std::vector<std::string> LayerEntries(std::size_t n) {
    const auto first = std::find(Log().begin(), Log().end(), "level update") + 1;
    return {first, first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(n, Log().end() - first))};
}

}  // namespace

TEST_F(GameTest, ChangesDuringTheWalkWaitForTheNextUpdate) {
    Start();
    TestObject& late = Spawn("late");
    TestObject& early = Spawn("early");
    late.SetName("late");
    Step(1);
    TestObject* spawned = nullptr;
    early.onUpdate = [&](TestObject& self) {
        late.Destroy();
        spawned = TUN_NEW(TestObject, "spawned");
        self.GetLayer()->AddGameObject(spawned);
        self.onUpdate = nullptr;
    };
    Log().clear();
    Step(1);
    EXPECT_EQ(Entries("update"), (std::vector<std::string>{"update late", "update early"}));
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 2u);
    Log().clear();
    Step(1);
    EXPECT_EQ(LayerEntries(3), (std::vector<std::string>{"start spawned", "end late", "cleanup late"}));
    EXPECT_EQ(Entries("update"), (std::vector<std::string>{"update early", "update spawned"}));
}

TEST_F(GameTest, AnObjectAddedAndRemovedBeforeAnUpdateIsStartedEndedAndNeverUpdated) {
    Start();
    TestObject& brief = Spawn("brief");
    LayerAt(0).RemoveGameObject(&brief);
    LayerAt(0).RemoveGameObject(&brief);
    Log().clear();
    Step(1);
    EXPECT_EQ(LayerEntries(3), (std::vector<std::string>{"start brief", "end brief", "cleanup brief"}));
    EXPECT_TRUE(Entries("update brief").empty());
    EXPECT_EQ(Entries("end").size(), 1u);
}

TEST_F(GameTest, AddAndRemoveAreRefusedForObjectsNotTheirs) {
    Start();
    TestObject& object = Spawn("object", 0);
    LayerAt(1).AddGameObject(&object);
    LayerAt(1).RemoveGameObject(&object);
    Step(1);
    EXPECT_EQ(object.GetLayer(), &LayerAt(0));
    EXPECT_EQ(LayerAt(1).GetGameObjectsCount(), 0u);
    const Core::RefPtr<TestObject> gone = &object;
    object.Destroy();
    Step(1);
    LayerAt(1).AddGameObject(gone.Get());
    Step(1);
    EXPECT_EQ(LayerAt(1).GetGameObjectsCount(), 0u);
}

TEST_F(GameTest, TheLayerTransformAndTheCollisionPoseFollowTheirSettings) {
    Start();
    Tundra::Layer& layer = LayerAt(0);
    layer.SetZOrder(3.0f);
    layer.SetRotation(90.0f);
    layer.SetScale(2.0f, 2.0f);
    const Vector3D p = Matrix4::TransformPoint(layer.GetSceneNode()->GetTransformation(), {1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(p.x, 0.0f, 1e-5f);
    EXPECT_NEAR(p.y, 2.0f, 1e-5f);
    EXPECT_NEAR(p.z, 3.0f, 1e-5f);

    const Core::RefPtr<TestObject> object = TUN_NEW(TestObject, "moved");
    ASSERT_TRUE(object->AddCollision(new Collision2D::DynamicObject, layer.GetCollisionId()));
    object->SetPosition({40.0f, 50.0f});
    layer.AddGameObject(object.Get());
    const Collision2D::DynamicObject* shape = object->GetCollisionObject();
    EXPECT_EQ(shape->GetOldPosition(), shape->GetPosition());
}

TEST_F(GameTest, ShutdownCleansUpQueuedObjectsAndEmptiedNamesStayInTheStream) {
    Start();
    Tundra::Layer& layer = LayerAt(0);
    layer.AddStaticCircle({0.0f, 0.0f}, 5.0f, 0, 1);
    TestObject& renamed = Spawn("old");
    Step(1);
    renamed.SetName("new");
    Core::MemoryFile stream;
    stream << &layer;
    const Core::RefPtr<Tundra::Layer> loaded = stream.ReadObjectAs<Tundra::Layer>(Core::File::Reference::Owning);
    ASSERT_TRUE(loaded);
    std::vector<Tundra::GameObject*> objects;
    loaded->GetGameObjectsByName("old", objects);
    EXPECT_TRUE(objects.empty());
    loaded->GetGameObjectsByName("new", objects);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->GetLayer(), loaded.Get());
    Spawn("queued");
    Log().clear();
    layer.Shutdown();
    EXPECT_EQ(Log(), (std::vector<std::string>{"cleanup new", "cleanup queued"}));
    EXPECT_EQ(Tundra::Game::GetInstance()->GetCollisionEngine()->GetLayer(0)->GetStaticCircleSlotCount(), 1u);
}

TEST_F(GameTest, AnObjectKeepsItsEntryWhateverItsIdAndAStreamFilingTwoUnderOneKeyFails) {
    TestGame& game = Start();
    const Core::RefPtr<TestObject> player = TUN_NEW(TestObject, "player");
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) {
        level.GetLayer(0)->AddGameObject(TUN_NEW(TestObject, "local"));
    };
    game.RestartLevel();
    Step(2);
    LayerAt(0).AddGameObject(player.Get());
    Log().clear();
    Step(1);
    EXPECT_EQ(Entries("update"), (std::vector<std::string>{"update local", "update player"}));
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 2u);
    game.RestartLevel();
    Step(2);
    EXPECT_TRUE(player->GetLayer() == nullptr && !Entries("cleanup player").empty());
    player->SetName("gone");
    player->Destroy();

    Tundra::GameObject::SetIdCounter(1000);
    Spawn("a");
    Spawn("b");
    Step(1);
    Core::MemoryFile stream;
    stream << &LayerAt(0);
    std::vector<std::uint8_t> bytes(stream.GetData(), stream.GetData() + stream.GetSize());
    const std::uint8_t keyOfB[] = {0xE9, 0x03, 0, 0, 1};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(keyOfB), std::end(keyOfB));
    ASSERT_NE(at, bytes.end());
    *at = 0xE8;
    Core::MemoryFile patched(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(patched.ReadObjectAs<Tundra::Layer>(Core::File::Reference::Owning));
}
