#include "input/Input_KeyboardImp.h"
#include "network/Network_NetReplicaBytes.h"
#include "network/Network_TunNetTestHooks.h"
#include "support/Network_FrontEndFixture.h"
#include "support/Tundra_TestGame.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <gtest/gtest.h>

namespace {

using Tundra::GameObject;
using Tundra::TunNetTestAccess;
using Tundra::TunPacket;
using Tundra::TunPlayer;
using std::chrono::milliseconds;
using tundratest::TestObject;

// The front end's replication in a running test game, with the roles set
// directly and the host's packets built by hand.
class TunNetReplicationTest : public tundratest::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Start();
        m_local = TUN_NEW(TunPlayer, "Me", true, false, Network::Tun_Address());
        m_local->SetID(3);
    }
    void TearDown() override {
        TunNetTestAccess::SetRoles(Network(), false, false, false, nullptr);
        GameTest::TearDown();
    }
    Tundra::TunNet& Network() { return *m_game->GetNetworkEngine(); }
    void BecomeClient() { TunNetTestAccess::SetRoles(Network(), false, false, true, m_local.Get()); }
    void BecomeHost() { TunNetTestAccess::SetRoles(Network(), true, true, false, m_local.Get()); }
    // A client that applied an empty snapshot, with a template "T".
    void BecomeSynchronisedClient() {
        BecomeClient();
        AddTemplate("T");
        Receive(TunPacket::Snapshot, nettest::U32Bytes({0}));
        ASSERT_TRUE(m_local->IsSynchronised());
    }
    void AddTemplate(const char* name) { ASSERT_TRUE(Network().AddBaseNetObject(TUN_NEW(TestObject), name)); }
    void Receive(TunPacket type, const std::vector<std::uint8_t>& payload) {
        TunNetTestAccess::ReceiveReplication(Network(), type, payload);
    }
    void ReceiveCreate(const char* name, std::uint32_t number, std::uint32_t layer = 0) {
        Receive(TunPacket::ObjectCreate, nettest::CreateBytes(layer, "T", nettest::Saved(name, number)));
    }
    std::vector<GameObject*> Held(std::uint32_t layer = 0) {
        std::vector<GameObject*> objects;
        LayerAt(layer).GetHeldGameObjects(objects);
        return objects;
    }
    std::size_t Replicated() { return Network().GetReplicatedObjects().size(); }

    Core::RefPtr<TunPlayer> m_local;
};

TEST_F(TunNetReplicationTest, EachTemplateHasOneNameAndEachNameOneTemplate) {
    const Core::RefPtr<TestObject> first = TUN_NEW(TestObject);
    const Core::RefPtr<TestObject> second = TUN_NEW(TestObject);
    EXPECT_TRUE(Network().AddBaseNetObject(first.Get(), "T"));
    EXPECT_FALSE(Network().AddBaseNetObject(second.Get(), "T"));
    EXPECT_FALSE(Network().AddBaseNetObject(first.Get(), "U"));
    EXPECT_EQ(Network().FindNetworkObject("T"), first.Get());
    EXPECT_EQ(Network().FindNetworkObject("U"), nullptr);
    EXPECT_EQ(first->GetNetworkClassName(), "T");
    Network().ClearNetworkObjects();
    EXPECT_EQ(Network().FindNetworkObject("T"), nullptr);
}

TEST_F(TunNetReplicationTest, OnlyARunningHostAddsANetworkObjectAndOnlyOnce) {
    const Core::RefPtr<TestObject> object = TUN_NEW(TestObject, "A");
    EXPECT_FALSE(Network().AddNetworkObject(object.Get(), 0, nullptr)) << "no session";
    BecomeClient();
    EXPECT_FALSE(Network().AddNetworkObject(object.Get(), 0, nullptr)) << "a client";
    EXPECT_EQ(object->GetNetworkId(), nullptr);

    BecomeHost();
    ASSERT_TRUE(Network().AddNetworkObject(object.Get(), 0, nullptr));
    ASSERT_NE(object->GetNetworkId(), nullptr);
    EXPECT_EQ(object->GetNetworkId()->GetOwnerId(), 3u) << "the host's player";
    EXPECT_FALSE(Network().AddNetworkObject(object.Get(), 0, nullptr));
    EXPECT_EQ(Replicated(), 1u);

    TunPlayer other;
    other.SetID(5);
    const Core::RefPtr<TestObject> owned = TUN_NEW(TestObject, "B");
    ASSERT_TRUE(Network().AddNetworkObject(owned.Get(), 0, &other));
    EXPECT_EQ(owned->GetNetworkId()->GetOwnerId(), 5u);
    EXPECT_NE(owned->GetNetworkId()->GetObjectNumber(), object->GetNetworkId()->GetObjectNumber());
}

TEST_F(TunNetReplicationTest, ALayerMakesNetworkObjectsFromTemplatesOnlyOnTheHost) {
    AddTemplate("T");
    BecomeClient();
    EXPECT_EQ(LayerAt(1).AddNetworkGameObject("T", nullptr), nullptr);
    BecomeHost();
    EXPECT_EQ(LayerAt(1).AddNetworkGameObject("missing", nullptr), nullptr);
    GameObject* made = LayerAt(1).AddNetworkGameObject("T", nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetLayer(), &LayerAt(1));
    EXPECT_EQ(made->GetNetworkClassName(), "T");
    EXPECT_EQ(Network().FindReplicatedObject(3, made->GetNetworkId()->GetObjectNumber()), made);
}

TEST_F(TunNetReplicationTest, ObjectsBeforeTheFirstSnapshotChangeNothing) {
    BecomeClient();
    AddTemplate("T");
    ReceiveCreate("R", 7);
    Receive(TunPacket::ObjectState, nettest::StateBytes(2, 7, nettest::Synced("R")));
    EXPECT_TRUE(Held().empty());
    EXPECT_EQ(Replicated(), 0u);
    EXPECT_FALSE(m_local->IsSynchronised());
}

TEST_F(TunNetReplicationTest, AnEmptySnapshotSynchronisesAndLaterObjectsAreCopied) {
    BecomeSynchronisedClient();
    ReceiveCreate("R", 7, 1);
    ASSERT_EQ(Held(1).size(), 1u);
    GameObject* copy = Held(1)[0];
    EXPECT_EQ(copy->GetName(), "R");
    EXPECT_EQ(copy->GetNetworkClassName(), "T");
    EXPECT_EQ(Network().FindReplicatedObject(2, 7), copy);

    ReceiveCreate("again", 7, 1);
    EXPECT_EQ(Held(1).size(), 1u) << "a known identity is not copied twice";
    ReceiveCreate("S", 8, 1);
    ReceiveCreate("no layer", 9, 5);
    EXPECT_EQ(Held(1).size(), 2u);
    EXPECT_EQ(Replicated(), 2u);
}

TEST_F(TunNetReplicationTest, ASnapshotStopsAtAnEntryWithoutTemplate) {
    BecomeClient();
    AddTemplate("T");
    Core::MemoryFile snapshot;
    snapshot.WriteU32(3);
    nettest::WriteEntry(snapshot, 0, "T", nettest::Saved("first", 1));
    nettest::WriteEntry(snapshot, 0, "unknown", nettest::Saved("second", 2));
    nettest::WriteEntry(snapshot, 0, "T", nettest::Saved("third", 3));
    Receive(TunPacket::Snapshot, nettest::Bytes(snapshot));
    ASSERT_EQ(Held().size(), 1u);
    EXPECT_EQ(Held()[0]->GetName(), "first");
    EXPECT_TRUE(m_local->IsSynchronised());
}

TEST_F(TunNetReplicationTest, AMalformedSnapshotChangesNothing) {
    Core::MemoryFile whole;
    whole.WriteU32(2);
    nettest::WriteEntry(whole, 0, "T", nettest::Saved("first", 1));
    nettest::WriteEntry(whole, 0, "T", nettest::Saved("second", 2));
    const std::vector<std::uint8_t> bytes = nettest::Bytes(whole);
    std::vector<std::uint8_t> lyingCount = bytes;
    lyingCount[0] = static_cast<std::uint8_t>(bytes.size() / 9);
    const std::vector<std::uint8_t> cases[] = {
        {},
        {bytes.begin(), bytes.end() - 1},
        {bytes.begin(), bytes.begin() + 20},
        lyingCount,
    };
    BecomeClient();
    AddTemplate("T");
    for (const std::vector<std::uint8_t>& payload : cases) {
        Receive(TunPacket::Snapshot, payload);
        EXPECT_TRUE(Held().empty()) << payload.size();
        EXPECT_FALSE(m_local->IsSynchronised()) << payload.size();
    }
    Receive(TunPacket::Snapshot, bytes);
    EXPECT_EQ(Held().size(), 2u);
}

TEST_F(TunNetReplicationTest, AClientRemovesAReplicaOnlyWhenTheHostSays) {
    BecomeSynchronisedClient();
    ReceiveCreate("R", 7);
    Step();
    GameObject* copy = Network().FindReplicatedObject(2, 7);
    ASSERT_NE(copy, nullptr);
    LayerAt(0).RemoveGameObject(copy);
    copy->Destroy();
    Step();
    EXPECT_EQ(Held(), std::vector<GameObject*>{copy});

    Receive(TunPacket::ObjectRemove, nettest::RemoveBytes(2, 8));
    Receive(TunPacket::ObjectRemove, {2, 0, 0, 0, 7, 0, 0});
    Step();
    EXPECT_EQ(Held().size(), 1u);
    Receive(TunPacket::ObjectRemove, nettest::RemoveBytes(2, 7));
    Step();
    EXPECT_TRUE(Held().empty());
    EXPECT_EQ(Replicated(), 0u);
    EXPECT_EQ(Entries("end R").size(), 1u);
}

TEST_F(TunNetReplicationTest, DroppingTakesEveryReplicaOutOfItsLayer) {
    BecomeSynchronisedClient();
    for (std::uint32_t number = 1; number <= 3; ++number) {
        ReceiveCreate(("R" + std::to_string(number)).c_str(), number, number % 2);
    }
    Step();
    ASSERT_EQ(Replicated(), 3u);
    Network().DropReplicatedObjects();
    Step();
    EXPECT_EQ(Replicated(), 0u);
    EXPECT_TRUE(Held(0).empty());
    EXPECT_TRUE(Held(1).empty());
    EXPECT_EQ(Entries("end R").size(), 3u);
}

TEST_F(TunNetReplicationTest, AnObjectOutOfItsLayerIsNeverFoundOrErasedAgain) {
    BecomeSynchronisedClient();
    ReceiveCreate("R", 7);
    Step();
    const Core::RefPtr<GameObject> copy = Network().FindReplicatedObject(2, 7);
    ASSERT_NE(copy, nullptr);
    LayerAt(0).EraseGameObject(copy.Get());
    Step();
    EXPECT_EQ(Network().FindReplicatedObject(2, 7), nullptr);
    Receive(TunPacket::ObjectState, nettest::StateBytes(2, 7, nettest::Synced("moved", {9, 9})));
    EXPECT_EQ(copy->GetName(), "R");
    Network().DropReplicatedObjects();
    Step();
    EXPECT_EQ(Entries("end R").size(), 1u);
}

TEST_F(TunNetReplicationTest, ALevelChangeForgetsTemplatesAndObjects) {
    BecomeHost();
    AddTemplate("T");
    ASSERT_NE(LayerAt(0).AddNetworkGameObject("T", nullptr), nullptr);
    Step();
    m_game->GoToLevel(1);
    Step();
    EXPECT_EQ(Replicated(), 0u);
    EXPECT_EQ(Network().FindNetworkObject("T"), nullptr);
}

TEST_F(TunNetReplicationTest, TheHostRemovesWhatALeavingPlayerOwned) {
    BecomeHost();
    AddTemplate("T");
    TunPlayer leaving;
    leaving.SetID(5);
    GameObject* kept = LayerAt(0).AddNetworkGameObject("T", nullptr);
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(LayerAt(i).AddNetworkGameObject("T", &leaving), nullptr);
    }
    Step();
    Network().RemoveNetObjectsControlledBy(&leaving);
    Step();
    EXPECT_EQ(Held(0), std::vector<GameObject*>{kept});
    EXPECT_TRUE(Held(1).empty());
    EXPECT_EQ(Replicated(), 1u);
}

// A hosting game with the wire peer joined as its one client.
class TunNetReplicationHostTest : public testsupport::FrontEndGameTest {
protected:
    void SetUp() override {
        FrontEndGameTest::SetUp();
        ASSERT_TRUE(testsupport::StartHost(Net()));
        m_client = testsupport::ConnectWireClient(testsupport::HostPort(Net()));
        ASSERT_TRUE(m_client.RequestJoin("", "Ann"));
        const std::optional<testsupport::WireMessage> answer = NextReliable();
        ASSERT_TRUE(answer.has_value());
        ASSERT_EQ(answer->type, 2u);
        m_player = Net().FindPlayer(testsupport::U32At(answer->payload, 0));
        ASSERT_NE(m_player, nullptr);
        // The host's own record follows the answer.
        ASSERT_EQ(NextReliable()->type, 3u);
        ASSERT_TRUE(Net().AddBaseNetObject(TUN_NEW(TestObject), "T"));
    }
    // The next message the host writes to the client's stream, its frames
    // dt seconds long.
    std::optional<testsupport::WireMessage> NextReliable(float dt = 1.0f / 60.0f) {
        std::optional<testsupport::WireMessage> message;
        testsupport::PumpUntil(
            Net(), [&] { return (message = m_client.stream.ReadMessage(milliseconds(1))).has_value(); },
            milliseconds(2000), dt);
        return message;
    }
    void Ask(TunPacket type, const std::vector<std::uint8_t>& payload) {
        ASSERT_TRUE(m_client.stream.Write(testsupport::FramedMessage(static_cast<std::uint32_t>(type), payload)));
    }
    // The type 9 datagrams of one send tick that reach the client within a
    // short wait (what the game's frames sent before is dropped first).
    std::vector<testsupport::Bytes> StatesSent() {
        while (m_client.datagram.ReceiveDatagram(milliseconds(20))) {
        }
        TunNetTestAccess::SendObjectStates(Net());
        std::vector<testsupport::Bytes> states;
        while (std::optional<testsupport::Bytes> datagram = m_client.datagram.ReceiveDatagram(milliseconds(100))) {
            if (testsupport::U32At(*datagram, 0) == static_cast<std::uint32_t>(TunPacket::ObjectState)) {
                states.push_back(*datagram);
            }
        }
        return states;
    }

    testsupport::WireClient m_client;
    Core::RefPtr<TunPlayer> m_player;
};

TEST_F(TunNetReplicationHostTest, AnObjectIsAnnouncedOnceAndItsRemovalFollows) {
    GameObject* object = LayerAt(1).AddNetworkGameObject("T", m_player.Get());
    ASSERT_NE(object, nullptr);
    EXPECT_FALSE(Net().AddNetworkObject(object, 1, nullptr));
    Step();
    LayerAt(1).RemoveGameObject(object);

    std::optional<testsupport::WireMessage> create = NextReliable();
    ASSERT_TRUE(create.has_value());
    EXPECT_EQ(create->type, 7u);
    EXPECT_EQ(testsupport::U32At(create->payload, 0), 1u) << "layer index";
    EXPECT_EQ(testsupport::U32At(create->payload, 4), 1u) << "template name length";
    std::optional<testsupport::WireMessage> remove = NextReliable();
    ASSERT_TRUE(remove.has_value());
    EXPECT_EQ(remove->type, 8u);
    EXPECT_EQ(testsupport::U32At(remove->payload, 0), m_player->GetID());
    EXPECT_EQ(Net().GetReplicatedObjects().size(), 0u);
}

TEST_F(TunNetReplicationHostTest, ThePlayersOwnSnapshotRequestsAreAnswered) {
    Ask(TunPacket::SnapshotRequest, nettest::U32Bytes({m_player->GetID()}));
    std::optional<testsupport::WireMessage> empty = NextReliable();
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(empty->type, 13u);
    EXPECT_EQ(empty->payload, nettest::U32Bytes({0}));

    ASSERT_NE(LayerAt(0).AddNetworkGameObject("T", nullptr), nullptr);
    ASSERT_EQ(NextReliable()->type, 7u);
    Step();
    Ask(TunPacket::SnapshotRequest, nettest::U32Bytes({Net().GetLocalPlayer()->GetID()}));
    Ask(TunPacket::SnapshotRequest, nettest::U32Bytes({m_player->GetID()}));
    std::optional<testsupport::WireMessage> one = NextReliable();
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(one->type, 13u) << "a request naming another player goes unanswered";
    EXPECT_EQ(testsupport::U32At(one->payload, 0), 1u);
}

// A flood of requests on the player's connection: the first is answered at
// once; those within the second after it, once when it ends, with the
// objects of that moment.
TEST_F(TunNetReplicationHostTest, SnapshotRequestsAreAnsweredAtMostOnceASecond) {
    const std::vector<std::uint8_t> request = nettest::U32Bytes({m_player->GetID()});
    Ask(TunPacket::SnapshotRequest, request);
    std::optional<testsupport::WireMessage> first = NextReliable(0.0f);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->type, 13u);
    EXPECT_EQ(first->payload, nettest::U32Bytes({0}));

    for (int i = 0; i < 100; ++i) {
        Ask(TunPacket::SnapshotRequest, request);
    }
    // Heard behind the requests, on the same connection; a text to every
    // player comes back to its sender too.
    constexpr std::uint32_t kAllPlayersGroup = 1;
    testsupport::Bytes marker = nettest::U32Bytes({m_player->GetID(), kAllPlayersGroup});
    testsupport::AppendString(marker, "asked");
    Ask(TunPacket::Text, marker);
    ASSERT_TRUE(testsupport::PumpUntil(
        Net(), [] { return testsupport::RecordingListener::Count(Tundra::NetMessageKind::Text) > 0; },
        milliseconds(2000), 0.0f));
    ASSERT_EQ(NextReliable(0.0f)->type, 10u);
    ASSERT_NE(LayerAt(0).AddNetworkGameObject("T", nullptr), nullptr);
    ASSERT_EQ(NextReliable(0.0f)->type, 7u) << "no snapshot within the second";
    testsupport::PumpFrames(Net(), 180);
    std::vector<testsupport::WireMessage> snapshots;
    // The one expected may take long to come; another would follow it closely.
    for (milliseconds wait = testsupport::kWireWait;
         std::optional<testsupport::WireMessage> message = m_client.stream.ReadMessage(wait);
         wait = milliseconds(100)) {
        snapshots.push_back(*message);
    }
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(snapshots[0].type, 13u);
    EXPECT_EQ(testsupport::U32At(snapshots[0].payload, 0), 1u);
}

TEST_F(TunNetReplicationHostTest, AClientsRemovalIsCarriedOutAndForwarded) {
    GameObject* object = LayerAt(0).AddNetworkGameObject("T", m_player.Get());
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(NextReliable()->type, 7u);
    Step();
    const std::vector<std::uint8_t> removal =
        nettest::RemoveBytes(m_player->GetID(), object->GetNetworkId()->GetObjectNumber());
    Ask(TunPacket::ObjectRemove, removal);
    std::optional<testsupport::WireMessage> forwarded = NextReliable();
    ASSERT_TRUE(forwarded.has_value());
    EXPECT_EQ(forwarded->type, 8u);
    EXPECT_EQ(forwarded->payload, removal);
    Step();
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 0u);
}

TEST_F(TunNetReplicationHostTest, AClientRemovesOnlyItsOwnObjects) {
    TunPlayer* bob = testsupport::AddRemotePlayer(Net(), 40999, "Bob");
    ASSERT_NE(bob, nullptr);
    ASSERT_EQ(NextReliable()->type, 3u);
    GameObject* hosts = LayerAt(0).AddNetworkGameObject("T", nullptr);
    GameObject* bobs = LayerAt(0).AddNetworkGameObject("T", bob);
    GameObject* anns = LayerAt(0).AddNetworkGameObject("T", m_player.Get());
    for (const GameObject* object : {hosts, bobs, anns}) {
        ASSERT_NE(object, nullptr);
        ASSERT_EQ(NextReliable()->type, 7u);
    }
    Step();
    std::vector<std::vector<std::uint8_t>> removals;
    for (const GameObject* object : {hosts, bobs, anns}) {
        removals.push_back(
            nettest::RemoveBytes(object->GetNetworkId()->GetOwnerId(), object->GetNetworkId()->GetObjectNumber()));
        Ask(TunPacket::ObjectRemove, removals.back());
    }
    std::optional<testsupport::WireMessage> forwarded = NextReliable();
    ASSERT_TRUE(forwarded.has_value());
    EXPECT_EQ(forwarded->type, 8u);
    EXPECT_EQ(forwarded->payload, removals.back()) << "only Ann's own object goes";
    Step();
    std::vector<GameObject*> held;
    LayerAt(0).GetHeldGameObjects(held);
    EXPECT_EQ(held, (std::vector<GameObject*>{hosts, bobs}));
    EXPECT_EQ(Net().GetReplicatedObjects().size(), 2u);
}

TEST_F(TunNetReplicationHostTest, StateGoesOnlyForTheCurrentLevelsObjects) {
    ASSERT_NE(LayerAt(0).AddNetworkGameObject("T", nullptr), nullptr);
    Step();
    EXPECT_EQ(StatesSent().size(), 1u);
    m_game->GoToLevel(1);
    Step();
    EXPECT_TRUE(StatesSent().empty());
}

TEST_F(TunNetReplicationHostTest, AnOwnedObjectReadsItsOwnersKeyboard) {
    GameObject* owned = LayerAt(0).AddNetworkGameObject("T", m_player.Get());
    GameObject* hosts = LayerAt(0).AddNetworkGameObject("T", nullptr);
    const Core::RefPtr<TestObject> plain = TUN_NEW(TestObject);
    ASSERT_NE(owned, nullptr);
    ASSERT_NE(hosts, nullptr);
    ASSERT_NE(m_player->GetMirrorKeyboard(), nullptr);
    EXPECT_EQ(owned->GetNetworkKeyboard(), m_player->GetMirrorKeyboard());
    EXPECT_EQ(hosts->GetNetworkKeyboard(), m_game->GetKeyboard());
    EXPECT_EQ(plain->GetNetworkKeyboard(), m_game->GetKeyboard());
    EXPECT_EQ(owned->GetNetworkMouse(), m_player->GetMouse());
    Net().Shutdown();
    EXPECT_EQ(owned->GetNetworkKeyboard(), m_game->GetKeyboard()) << "no network game";
}

}  // namespace
