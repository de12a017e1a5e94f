#include "network/Network_NetReplicaBytes.h"
#include "network/Network_NetworkFile.h"
#include "network/Network_TunNetTestHooks.h"
#include "physics/Physics_MassProperties.h"
#include "support/Tundra_TestGame.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <gtest/gtest.h>

namespace {

using Tundra::GameObject;
using Tundra::NetworkFile;
using Tundra::TunNetTestAccess;
using Tundra::TunPlayer;
using tundratest::TestObject;

// The network state of objects in a running test game; the front end plays
// host or client through its role fields alone.
class NetGameObjectTest : public tundratest::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Start();
    }
    void TearDown() override {
        TunNetTestAccess::SetRoles(Network(), false, false, false, nullptr);
        GameTest::TearDown();
    }
    Tundra::TunNet& Network() { return *m_game->GetNetworkEngine(); }
    void BecomeClient() {
        m_local = TUN_NEW(TunPlayer, "Cli", true, false, Network::Tun_Address());
        m_local->SetID(3);
        m_local->SetSynchronised(true);
        TunNetTestAccess::SetRoles(Network(), false, false, true, m_local.Get());
    }
    // A replica of owner 2, number 7 at the position, in layer 0 and the
    // front end's list.
    TestObject& Replica(const char* name, Vector2D position) {
        auto* object = TUN_NEW(TestObject);
        const std::vector<std::uint8_t> save = nettest::SaveBytes(nettest::Saved(name, 7, position));
        NetworkFile file(save.data(), static_cast<std::uint32_t>(save.size()));
        object->NetworkLoad(file);
        LayerAt(0).InsertGameObject(object);
        Network().AddReplicatedObject(object);
        return *object;
    }
    void Sync(const nettest::SyncState& state) {
        const std::vector<std::uint8_t> bytes = nettest::StateBytes(2, 7, state);
        TunNetTestAccess::ReceiveReplication(Network(), Tundra::TunPacket::ObjectState, bytes);
    }

    Core::RefPtr<TunPlayer> m_local;
};

TEST_F(NetGameObjectTest, NetworkSaveOfAPlainObjectIsTheFixedRecordAndLoadsBack) {
    nettest::SaveState state = nettest::Saved("A", 7, {1, 2});
    state.center = {3, 4};
    state.rotation = 5;
    state.scale = {6, 7};
    state.visible = false;
    state.lifeTime = 8;
    state.age = 9;
    state.zOrder = 10;
    state.color = {0.1f, 0.2f, 0.3f, 0.4f};
    const std::vector<std::uint8_t> golden = nettest::SaveBytes(state);
    ASSERT_EQ(golden.size(), 86u);

    Core::RefPtr<TestObject> object = TUN_NEW(TestObject);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    object->AddPhysicalProperties(&mass, 0);
    ASSERT_NE(object->GetPhysicsId(), 0u);
    NetworkFile in(golden.data(), static_cast<std::uint32_t>(golden.size()));
    object->NetworkLoad(in);
    ASSERT_FALSE(in.HasFailed());

    EXPECT_EQ(object->GetName(), "A");
    EXPECT_EQ(object->GetPosition(), Vector2D(1, 2));
    EXPECT_EQ(object->GetCenter(), Vector2D(3, 4));
    EXPECT_EQ(object->GetRotationAngle(), 5.0f);
    EXPECT_EQ(object->GetScaleX(), 6.0f);
    EXPECT_EQ(object->GetScaleY(), 7.0f);
    EXPECT_FALSE(object->GetVisible());
    EXPECT_EQ(object->GetLifeTime(), 8.0f);
    EXPECT_EQ(object->GetAge(), 9.0f);
    EXPECT_EQ(object->GetZOrder(), 10.0f);
    EXPECT_EQ(object->GetModulationColor().b, 0.3f);
    ASSERT_NE(object->GetNetworkId(), nullptr);
    EXPECT_EQ(object->GetNetworkId()->GetOwnerId(), 2u);
    EXPECT_EQ(object->GetNetworkId()->GetObjectNumber(), 7u);
    EXPECT_EQ(object->GetPhysicsId(), 0u) << "a replica never simulates";

    NetworkFile out;
    object->NetworkSave(out);
    EXPECT_EQ(std::vector<std::uint8_t>(out.GetData(), out.GetData() + out.GetSize()), golden);
}

TEST_F(NetGameObjectTest, TruncatedNetworkSaveChangesNothing) {
    const std::vector<std::uint8_t> save = nettest::SaveBytes(nettest::Saved("A", 7, {5, 5}));
    for (std::size_t length : {std::size_t{0}, std::size_t{4}, save.size() / 2, save.size() - 1}) {
        Core::RefPtr<TestObject> object = TUN_NEW(TestObject, "before");
        NetworkFile file(save.data(), static_cast<std::uint32_t>(length));
        object->NetworkLoad(file);
        EXPECT_TRUE(file.HasFailed());
        EXPECT_EQ(object->GetName(), "before") << length;
        EXPECT_EQ(object->GetPosition(), Vector2D(0, 0)) << length;
        EXPECT_EQ(object->GetNetworkId(), nullptr) << length;
    }
}

TEST_F(NetGameObjectTest, FirstSyncPlacesExactlyLaterOnesHalveTheDistanceEachFrame) {
    BecomeClient();
    TestObject& replica = Replica("R", {0, 0});
    Step();
    Sync(nettest::Synced("R", {100, 0}, 40));
    EXPECT_EQ(replica.GetPosition(), Vector2D(100, 0));
    EXPECT_EQ(replica.GetRotationAngle(), 40.0f);
    Step();
    EXPECT_EQ(replica.GetPosition(), Vector2D(100, 0));

    Sync(nettest::Synced("R", {200, 0}, 80));
    EXPECT_EQ(replica.GetPosition(), Vector2D(100, 0)) << "later states wait for the frame";
    const float expected[][2] = {{150, 60}, {175, 70}, {187.5f, 75}};
    for (const auto& [x, degrees] : expected) {
        Step();
        EXPECT_EQ(replica.GetPosition(), Vector2D(x, 0));
        EXPECT_EQ(replica.GetRotationAngle(), degrees);
    }
    EXPECT_TRUE(Entries("update R").empty()) << "a replica runs no game update";
}

TEST_F(NetGameObjectTest, ARenamingSyncMovesTheObjectInTheNameIndex) {
    BecomeClient();
    const Core::RefPtr<TestObject> replica = &Replica("A", {0, 0});
    Step();
    Sync(nettest::Synced("B", {1, 1}));
    std::vector<GameObject*> found;
    LayerAt(0).GetGameObjectsByName("B", found);
    EXPECT_EQ(found, std::vector<GameObject*>{replica.Get()});
    LayerAt(0).GetGameObjectsByName("A", found);
    EXPECT_TRUE(found.empty());

    const std::vector<std::uint8_t> remove = nettest::RemoveBytes(2, 7);
    TunNetTestAccess::ReceiveReplication(Network(), Tundra::TunPacket::ObjectRemove, remove);
    Step();
    for (const char* name : {"A", "B"}) {
        LayerAt(0).GetGameObjectsByName(name, found);
        EXPECT_TRUE(found.empty()) << name;
    }
    EXPECT_TRUE(replica->IsDestroyed());
}

TEST_F(NetGameObjectTest, ChangeNetworkOwnerKeepsTheNumberAndNeedsAnOwner) {
    const std::vector<std::uint8_t> save = nettest::SaveBytes(nettest::Saved("A"));
    Core::RefPtr<TestObject> object = TUN_NEW(TestObject);
    Core::RefPtr<TestObject> plain = TUN_NEW(TestObject);
    NetworkFile file(save.data(), static_cast<std::uint32_t>(save.size()));
    object->NetworkLoad(file);
    TunPlayer other;
    other.SetID(9);

    EXPECT_FALSE(plain->ChangeNetworkOwner(&other));
    EXPECT_EQ(plain->GetNetworkId(), nullptr);
    EXPECT_FALSE(object->ChangeNetworkOwner(nullptr)) << "no local player";
    EXPECT_EQ(object->GetNetworkId()->GetOwnerId(), 2u);

    ASSERT_TRUE(object->ChangeNetworkOwner(&other));
    EXPECT_EQ(object->GetNetworkId()->GetOwnerId(), 9u);
    EXPECT_EQ(object->GetNetworkId()->GetObjectNumber(), 7u);
    BecomeClient();
    ASSERT_TRUE(object->ChangeNetworkOwner(nullptr));
    EXPECT_EQ(object->GetNetworkId()->GetOwnerId(), 3u);
    EXPECT_EQ(object->GetNetworkId()->GetObjectNumber(), 7u);
}

// A registered class that is no game object: a peer must not make one.
struct NotAGameObject : Core::Object {
    TUN_DECLARE_CLASS(NotAGameObject);
    NotAGameObject() { ++made; }
    NotAGameObject(const NotAGameObject&) : Core::Object() { ++made; }
    static inline int made = 0;
};

TEST_F(NetGameObjectTest, NetworkObjectReferences) {
    NetworkFile nothing;
    nothing.WriteNetworkObject(nullptr);
    ASSERT_EQ(nothing.GetSize(), 1u);
    EXPECT_EQ(nothing.GetData()[0], 0);
    EXPECT_EQ(nothing.ReadObject(), nullptr);
    EXPECT_FALSE(nothing.HasFailed());

    Core::RefPtr<TestObject> source = TUN_NEW(TestObject, "S");
    source->SetPositionXY(4, 5);
    NetworkFile file;
    file.WriteNetworkObject(source.Get());
    const Core::RefPtr<GameObject> copy = file.ReadObject();
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->GetType(), "tundratest::TestObject");
    EXPECT_EQ(copy->GetName(), "S");
    EXPECT_EQ(copy->GetPosition(), Vector2D(4, 5));

    // A class that is no game object, one nobody registered, and a body that
    // ends early: null, and the first two make nothing.
    for (const char* name : {"NotAGameObject", "Network::Tun_Network_Manager", "NoSuchClass"}) {
        NetworkFile other;
        other.WriteU8(1);
        other.WriteString(name);
        EXPECT_EQ(other.ReadObject(), nullptr) << name;
    }
    EXPECT_EQ(NotAGameObject::made, 0);
    NetworkFile cut(file.GetData(), file.GetSize() - 1);
    EXPECT_EQ(cut.ReadObject(), nullptr);
    EXPECT_TRUE(cut.HasFailed());
}

}  // namespace

TUN_DEFINE_CLASS(NotAGameObject)
