#include "support/Tundra_TestGame.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_MemoryFile.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Lua_Host.h"

using namespace tundratest;

namespace {

std::size_t Count(const std::string& entry) { return static_cast<std::size_t>(std::count(Log().begin(), Log().end(), entry)); }

Collision2D::DynamicObject* NewShape() { return new Collision2D::DynamicObject; }

}  // namespace

TEST_F(GameTest, LifetimeExpiresStrictlyAfterItAndDestroyActsOnce) {
    Start();
    TestObject& mortal = Spawn("mortal");
    TestObject& immortal = Spawn("immortal");
    mortal.SetLifeTime(2.0f);
    Step(4, 1000.0);
    EXPECT_EQ(Count("update mortal"), 2u);
    EXPECT_EQ(Count("sync mortal"), 2u);
    EXPECT_EQ(Count("end mortal"), 1u);
    EXPECT_EQ(Count("update immortal"), 4u);
    immortal.Destroy();
    immortal.Destroy();
    EXPECT_FALSE(immortal.IsDestroyed());
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 1u);
    const Core::RefPtr<TestObject> held = &immortal;
    Step(1);
    EXPECT_TRUE(held->IsDestroyed());
    EXPECT_EQ(Count("end immortal"), 1u);
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 0u);
}

TEST_F(GameTest, IdsRunInCreationOrderAndAClonesHasItsOwnEngineEntries) {
    TestGame& game = Start();
    TestObject& source = Spawn("source");
    EXPECT_EQ(Spawn("next").GetID(), source.GetID() + 1);
    source.SetPosition({3.0f, 4.0f});
    source.SetLifeTime(9.0f);
    source.SetModulationColor({0.5f, 0.5f, 0.5f, 1.0f});
    ASSERT_TRUE(source.AddCollision(NewShape(), LayerAt(0).GetCollisionId()));
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    ASSERT_TRUE(source.AddPhysicalProperties(&mass, 0));
    TestObject& child = Spawn("child");
    source.Mount(&child);
    Step(1);
    const Core::RefPtr<TestObject> clone = static_cast<TestObject*>(source.Clone());
    EXPECT_EQ(clone->GetID(), source.GetID() + 3);
    EXPECT_EQ(clone->GetName(), "source");
    EXPECT_EQ(clone->GetPosition(), source.GetPosition());
    EXPECT_EQ(clone->GetLifeTime(), 9.0f);
    EXPECT_EQ(clone->GetModulationColor().r, 0.5f);
    EXPECT_EQ(clone->GetLayer(), nullptr);
    EXPECT_EQ(clone->GetMountsCount(), 0);
    EXPECT_NE(clone->GetCollisionId(), source.GetCollisionId());
    ASSERT_NE(clone->GetCollisionObject(), nullptr);
    EXPECT_EQ(clone->GetCollisionObject()->GetOwner(), clone.Get());
    EXPECT_NE(clone->GetPhysicsId(), source.GetPhysicsId());
    EXPECT_EQ(game.GetPhysicsEngine()->GetRigidBody(clone->GetPhysicsId())->GetUserData(), clone.Get());
    const Core::RefPtr<TestObject> held = &source;
    source.Destroy();
    Step(1);
    EXPECT_EQ(child.GetMount(), nullptr);
    const Core::RefPtr<TestObject> late = static_cast<TestObject*>(held->Clone());
    EXPECT_EQ(late->GetCollisionId(), 0u);
    EXPECT_EQ(late->GetPhysicsId(), 0u);
}

TEST_F(GameTest, CleanupEmptiesTheMountsAndAChildMountedTwiceLeavesNoEntry) {
    Start();
    TestObject& mount = Spawn("mount");
    TestObject& child = Spawn("child");
    mount.Mount(&child);
    mount.Mount(&child);
    EXPECT_EQ(mount.GetMountsCount(), 2);
    child.Destroy();
    Step(2);
    EXPECT_EQ(mount.GetMountsCount(), 0);
}

TEST_F(GameTest, AStandaloneObjectWritesTheFixedFieldOrderAndLoadsBack) {
    TestGame& game = Start();
    const Core::RefPtr<Tundra::GameObject> object = TUN_NEW(Tundra::GameObject);
    object->SetName("A");
    Core::MemoryFile body;
    object->Save(body);
    EXPECT_EQ(body.GetSize(), 95u);
    Core::MemoryFile stream;
    stream << object;
    EXPECT_EQ(stream.GetSize(), 122u);

    object->SetPosition({1.0f, 2.0f});
    object->SetCenter({3.0f, 4.0f});
    object->SetRotationAngle(30.0f);
    object->SetScale(2.0f, 3.0f);
    object->SetOpacity(0.25f);
    object->SetLifeTime(5.0f);
    object->SetZOrder(7.0f);
    object->SetVisible(false);
    object->SetTransformSync(false);
    object->Destroy();
    object->SetScript("s.lua");
    Core::MemoryFile saved;
    object->Save(saved);
    const Core::RefPtr<Core::Object> loaded = CreateObjectByName("Tundra::GameObject");
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    loaded->Load(reader);
    ASSERT_FALSE(reader.HasFailed());
    Core::MemoryFile again;
    loaded->Save(again);
    EXPECT_EQ(std::vector<std::uint8_t>(again.GetData(), again.GetData() + again.GetSize()),
              std::vector<std::uint8_t>(saved.GetData(), saved.GetData() + saved.GetSize()));
    EXPECT_EQ(static_cast<Tundra::GameObject*>(loaded.Get())->GetID(), object->GetID());

    std::vector<std::uint8_t> scripted(saved.GetData(), saved.GetData() + saved.GetSize());
    scripted[88] = 1;
    scripted.back() = 1;
    Core::MemoryFile active(scripted.data(), static_cast<std::uint32_t>(scripted.size()));
    // Without the script host a stored script stays inert.
    Lua::Host::Close();
    const Core::RefPtr<Core::Object> inert = CreateObjectByName("Tundra::GameObject");
    inert->Load(active);
    EXPECT_FALSE(active.HasFailed());
    EXPECT_EQ(inert->GetScript(), nullptr);
    (void)game;
}

namespace {

Core::RefPtr<TestObject>* g_dropped = nullptr;

void DropOwner(Physics2D::RigidBody*, Core::Object*) { *g_dropped = nullptr; }

}  // namespace

TEST_F(GameTest, ACloneLivesItsOwnLifeAndACleanedUpObjectTakesNoEngineEntry) {
    TestGame& game = Start();
    Physics2D::PhysicsEngine& physics = *game.GetPhysicsEngine();
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    const Core::RefPtr<TestObject> slime = &Spawn("slime");
    Step(1);
    slime->Destroy();
    const Core::RefPtr<TestObject> half = static_cast<TestObject*>(slime->Clone());
    Step(1);
    const Core::RefPtr<TestObject> late = static_cast<TestObject*>(slime->Clone());
    for (TestObject* clone : {half.Get(), late.Get()}) {
        EXPECT_FALSE(clone->IsDestroyed() || clone->IsDestroyRequested());
        LayerAt(0).AddGameObject(clone);
        clone->Destroy();
    }
    Step(1);
    EXPECT_EQ(Entries("end slime").size(), 3u);

    EXPECT_FALSE(slime->AddPhysicalProperties(&mass, 0));
    EXPECT_FALSE(slime->AddCollision(CircleShape(1.0f, 1), 0));
    EXPECT_EQ(slime->GetPhysicsId() + slime->GetCollisionId(), 0u);

    // A stored object read as cleaned up (but not destroyed) naming an ownerless body.
    const Core::RefPtr<Physics2D::RigidBody> stray = TUN_NEW(Physics2D::RigidBody);
    const std::uint32_t strayId = physics.AddRigidBody(stray.Get());
    Core::MemoryFile body;
    Core::RefPtr<TestObject>(TUN_NEW(TestObject, "A"))->Save(body);
    std::vector<std::uint8_t> bytes(body.GetData(), body.GetData() + body.GetSize());
    bytes[80] = static_cast<std::uint8_t>(strayId);
    bytes[84] = 0;
    bytes[87] = 1;
    Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Core::RefPtr<TestObject> read = TUN_NEW(TestObject);
    read->Load(reader);
    EXPECT_TRUE(!reader.HasFailed() && read->IsDestroyed() && stray->GetUserData() == nullptr);
    LayerAt(0).AddGameObject(read.Get());
    EXPECT_EQ(read->GetLayer(), nullptr);
    read = nullptr;

    // A callback that frees the owner leaves the body ownerless for the next one.
    Core::RefPtr<TestObject> doomed = TUN_NEW(TestObject, "doomed");
    ASSERT_TRUE(doomed->AddPhysicalProperties(&mass, 0));
    const Core::RefPtr<Physics2D::RigidBody> held = physics.GetRigidBody(doomed->GetPhysicsId());
    held->SetOldTransformCallback(&DropOwner);
    g_dropped = &doomed;
    Step(2);
    EXPECT_TRUE(doomed == nullptr && held->GetUserData() == nullptr);
}

TEST_F(GameTest, AnObjectSavedFromALayerAndAMountReadsBackAloneWithoutThem) {
    Start();
    TestObject& mount = Spawn("mount");
    TestObject& child = Spawn("child");
    for (int i = 0; i < 20; ++i) {
        Spawn("other");
    }
    mount.Mount(&child);
    Step(1);
    Core::MemoryFile alone;
    alone << Core::RefPtr<TestObject>(TUN_NEW(TestObject, "child"));
    Core::MemoryFile stream;
    stream << &child;
    EXPECT_EQ(stream.GetSize(), alone.GetSize());
    const Core::RefPtr<TestObject> read = stream.ReadObjectAs<TestObject>(Core::File::Reference::Owning);
    ASSERT_TRUE(read && !stream.HasFailed());
    EXPECT_TRUE(read->GetLayer() == nullptr && read->GetMount() == nullptr && read->GetName() == "child");
}

// Loading over a live object replaces what it held: its earlier body and
// collision object leave the engines, and a cleaned-up object stays so.
TEST_F(GameTest, LoadingOverALiveObjectLetsGoOfWhatItHeld) {
    TestGame& game = Start();
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    Core::MemoryFile stream;
    Core::RefPtr<TestObject>(TUN_NEW(TestObject, "stored"))->Save(stream);
    Core::MemoryFile first(stream.GetData(), stream.GetSize());
    Core::RefPtr<TestObject> live = TUN_NEW(TestObject, "live");
    TestObject& mount = Spawn("mount");
    mount.Mount(live.Get());
    ASSERT_TRUE(live->AddPhysicalProperties(&mass, 0) && live->AddCollision(CircleShape(1.0f, 1), 0));
    const std::uint32_t bodyId = live->GetPhysicsId(), collisionId = live->GetCollisionId();
    live->Load(first);
    EXPECT_TRUE(game.GetPhysicsEngine()->GetRigidBody(bodyId) == nullptr &&
                game.GetCollisionEngine()->GetObject(collisionId) == nullptr);
    EXPECT_TRUE(live->GetMount() == nullptr && live->GetName() == "stored");
    live = nullptr;
    Step(2);

    TestObject& ended = Spawn("ended");
    Step(1);
    ended.Destroy();
    const Core::RefPtr<TestObject> held = &ended;
    Step(1);
    Core::MemoryFile again(stream.GetData(), stream.GetSize());
    held->Load(again);
    EXPECT_FALSE(held->AddPhysicalProperties(&mass, 0));
}
