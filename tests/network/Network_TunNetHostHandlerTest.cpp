// The host's packet handler against the wire peer playing clients byte by
// byte: joins and their answers, identities taken from the connection,
// input, groups, texts and a peer that leaves.
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "network/Network_Message.h"
#include "network/Network_SessionTestHooks.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_SocketPoll.h"
#include "support/Network_FrontEndFixture.h"
#include "support/Network_TunNetPacketProbe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>

namespace host_handler_test {

using namespace testsupport;
using Tundra::NetMessageKind;
using Tundra::TunNet;
using Tundra::TunPacket;

constexpr std::uint32_t Type(TunPacket type) { return static_cast<std::uint32_t>(type); }

// Pumps the host until the peer's stream has bytes, then reads; the next
// message of the type (others skipped).
std::optional<WireMessage> Await(TunNet& network, WirePeer& stream, TunPacket type) {
    for (int messages = 0; messages < 16; ++messages) {
        if (!PumpUntil(network, [&] { return os::WaitForSocket(stream.GetHandle(), os::kPollReadable, 0); })) {
            return std::nullopt;
        }
        std::optional<WireMessage> message = stream.ReadMessage();
        if (!message || message->type == Type(type)) {
            return message;
        }
    }
    return std::nullopt;
}

// Joins with a record that claims the host flag and a port that is not the
// connection's; the join result (INT_MIN when none came).
std::int32_t Join(TunNet& network, WireClient& client, std::string_view password, std::string_view name) {
    Bytes request;
    AppendString(request, password);
    const Bytes record = PlayerRecord(0, true, 40000, name);
    request.insert(request.end(), record.begin(), record.end());
    client.stream.Write(FramedMessage(Type(TunPacket::JoinRequest), request));
    const std::optional<WireMessage> answer = Await(network, client.stream, TunPacket::JoinResult);
    return answer && answer->payload.size() == 4 ? static_cast<std::int32_t>(U32At(answer->payload, 0)) : INT_MIN;
}

Bytes Text(std::uint32_t sender, std::uint32_t target, std::string_view text) {
    Bytes bytes;
    AppendU32(bytes, sender);
    AppendU32(bytes, target);
    AppendString(bytes, text);
    return bytes;
}

Bytes GroupCreate(std::uint32_t sender, std::uint32_t groupId, std::string_view name,
                  std::initializer_list<std::uint32_t> members) {
    Bytes bytes;
    AppendU32(bytes, sender);
    AppendU32(bytes, groupId);
    AppendString(bytes, name);
    for (const std::uint32_t member : members) {
        AppendU32(bytes, member);
    }
    return bytes;
}

Bytes KeyRecord(std::uint32_t code) {
    Bytes bytes{1, 1, 1, 1, 0, 0, 0, 0};
    AppendU32(bytes, code);
    return bytes;
}

struct JoinCase {
    const char* name;
    const char* sessionPassword;
    std::uint32_t maxPlayers;
    bool admit;
    const char* given;
    std::int32_t expected;  // 0: a new id
    int joinedBefore = 0;
};

TEST(TunNetHostHandler, JoinRequestsAreAnsweredByTheChecksInOrder) {
    const JoinCase cases[] = {
        {"no password: any password joins", "", 4, true, "whatever", 0},
        {"wrong password", "pw", 4, true, "px", -2},
        {"right password", "pw", 4, true, "pw", 0},
        {"the game refuses", "", 4, false, "", -4},
        {"full: the host's player counts", "", 2, true, "", -1, 1},
    };
    for (const JoinCase& each : cases) {
        SCOPED_TRACE(each.name);
        FrontEndEnvironment environment;
        TunNet network;
        ASSERT_TRUE(StartHost(network, "Room", each.sessionPassword, each.maxPlayers));
        RecordingListener::SetAdmit(each.admit);
        const std::uint32_t hostId = network.GetLocalPlayer()->GetID();
        std::vector<WireClient> earlier(static_cast<std::size_t>(each.joinedBefore));
        for (WireClient& joined : earlier) {
            joined = ConnectWireClient(HostPort(network));
            EXPECT_GT(Join(network, joined, "", "Early"), static_cast<std::int32_t>(hostId));
        }
        const std::uint32_t players = network.GetSessionPlayersNumber();
        const std::size_t added = RecordingListener::Count(NetMessageKind::PlayerAdded);
        WireClient client = ConnectWireClient(HostPort(network));
        const std::int32_t result = Join(network, client, each.given, "Ann");
        if (each.expected == 0) {
            EXPECT_GT(result, static_cast<std::int32_t>(hostId));
            EXPECT_EQ(network.GetSessionPlayersNumber(), players + 1);
            EXPECT_FALSE(client.stream.WaitClosed(std::chrono::milliseconds(0)));
        } else {
            EXPECT_EQ(result, each.expected);
            EXPECT_EQ(network.GetSessionPlayersNumber(), players);
            EXPECT_EQ(RecordingListener::Count(NetMessageKind::PlayerAdded), added);
            // No frame needed: a refused connection closes once its answer went out.
            EXPECT_TRUE(client.stream.WaitClosed());
        }
        network.Shutdown();
    }
}

TEST(TunNetHostHandler, WithoutARunningFrontEndBothHandlersFreeTheMessage) {
    for (const Network::Tun_PacketHandler handler : {&TunNet::HostPacketHandler, &TunNet::ClientPacketHandler}) {
        ASSERT_EQ(TunNet::GetCurrent(), nullptr);
        Network::Tun_EventList events(1);
        events[0].kind = Network::Tun_Event_Kind::MessageReceived;
        events[0].callback = handler;
        events[0].AttachMessage(Network::BuildMessage(Type(TunPacket::Text), "hi", 3));
        EXPECT_FALSE(handler(&events[0]));
        EXPECT_EQ(events[0].rawMessage, nullptr);
        EXPECT_EQ(events[0].payload, nullptr);
        // The drain's own clean-up frees nothing twice (the sanitizers watch).
        Network::FreeEventList(events);
    }
}

class HostHandlerTest : public FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        ASSERT_TRUE(StartHost(Net(), "Room", "", m_maxPlayers));
        m_hostId = Net().GetLocalPlayer()->GetID();
    }
    // A wire client joined as name; its id in id.
    WireClient Joined(std::string_view name, std::uint32_t& id) {
        WireClient client = ConnectWireClient(HostPort(Net()));
        const std::int32_t result = Join(Net(), client, "", name);
        EXPECT_GT(result, 0);
        id = static_cast<std::uint32_t>(result);
        return client;
    }
    // Pumps until the player of that id is gone or a few frames passed.
    void Settle() { PumpFrames(Net(), 5); }

    std::uint32_t m_maxPlayers = 4;
    std::uint32_t m_hostId = 0;
};

TEST_F(HostHandlerTest, AnAcceptedJoinListsThePlayersAndTellsTheOthers) {
    const std::size_t heardBefore = RecordingListener::Heard().size();
    WireClient ann = ConnectWireClient(HostPort(Net()));
    const std::int32_t annId = Join(Net(), ann, "", "Ann");
    ASSERT_GT(annId, 0);
    const std::optional<WireMessage> hostRecord = ann.ReadUntil(Type(TunPacket::PlayerJoined));
    ASSERT_TRUE(hostRecord);
    EXPECT_EQ(hostRecord->payload, PlayerRecord(m_hostId, true, HostPort(Net()), "Host"));

    const std::vector<HeardMessage>& heard = RecordingListener::Heard();
    ASSERT_EQ(heard.size(), heardBefore + 2);
    EXPECT_EQ(heard[heardBefore].kind, NetMessageKind::JoinRequest);
    EXPECT_EQ(heard[heardBefore + 1].kind, NetMessageKind::PlayerAdded);
    EXPECT_EQ(heard[heardBefore + 1].playerId, static_cast<std::uint32_t>(annId));
    // The record named port 40000 and the host flag: the connection decides,
    // and only the host's own player is the host.
    const Tundra::TunPlayer* player = Net().FindPlayer(static_cast<std::uint32_t>(annId));
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->GetAddress().GetPort(), ann.Port());
    EXPECT_FALSE(player->IsHost());
    EXPECT_FALSE(player->IsLocal());

    std::uint32_t bobId = 0;
    WireClient bob = Joined("Bob", bobId);
    std::vector<Bytes> bobHeard;
    for (int i = 0; i < 2; ++i) {
        const std::optional<WireMessage> record = bob.ReadUntil(Type(TunPacket::PlayerJoined));
        ASSERT_TRUE(record);
        bobHeard.push_back(record->payload);
    }
    EXPECT_EQ(bobHeard[0], PlayerRecord(m_hostId, true, HostPort(Net()), "Host"));
    EXPECT_EQ(bobHeard[1], PlayerRecord(static_cast<std::uint32_t>(annId), false, ann.Port(), "Ann"));
    const std::optional<WireMessage> told = ann.ReadUntil(Type(TunPacket::PlayerJoined));
    ASSERT_TRUE(told);
    EXPECT_EQ(told->payload, PlayerRecord(bobId, false, bob.Port(), "Bob"));
}

TEST_F(HostHandlerTest, JoinRequestsCountOnlyOnAFreshConnection) {
    std::uint32_t annId = 0;
    WireClient ann = Joined("Ann", annId);
    const std::string before = DescribeFrontEnd(Net());
    WirePeer stranger = WirePeer::OpenDatagram();
    stranger.SendDatagram(HostPort(Net()), FramedMessage(Type(TunPacket::JoinRequest), JoinRequest("", 0, "Ghost")));
    ann.stream.Write(FramedMessage(Type(TunPacket::JoinRequest), JoinRequest("", 0, "Again")));
    Settle();
    EXPECT_EQ(DescribeFrontEnd(Net()), before);
    // No answer on the joined connection: only what Bob's join tells.
    std::uint32_t bobId = 0;
    WireClient bob = Joined("Bob", bobId);
    const std::optional<WireMessage> next = ann.ReadUntil(Type(TunPacket::JoinResult), std::chrono::milliseconds(50));
    EXPECT_FALSE(next);
}

// Connections that never join hold no place for long: a player who connects
// while they hold every place gets in once their time ran out, and stays.
class HostAdmissionTest : public FrontEndTest {
protected:
    // Hosts as StartHost does, a connection given the limit to be admitted.
    bool StartHostAdmittingWithin(std::chrono::milliseconds limit, std::uint32_t maxPlayers) {
        if (!Net().Start(true, &RecordingListener::Listen, "Room", "", 5, 3, 60, 3000, 0)) {
            return false;
        }
        Network::SessionTestAccess::SetAdmissionLimit(*Tundra::TunNetTestAccess::GetSession(Net()), limit);
        return Net().HostSession("Host", maxPlayers, 1, 0.25f);
    }
};

TEST_F(HostAdmissionTest, IdleConnectionsGiveWayToAPlayerWhoJoins) {
    constexpr std::chrono::milliseconds kLimit{300};
    // Its backlog (the most players) takes every connection at once.
    ASSERT_TRUE(StartHostAdmittingWithin(kLimit, 64));
    std::vector<WirePeer> idle;
    for (std::size_t count = 0; count < Network::Tun_Session::kMaxAcceptedConnections; ++count) {
        idle.push_back(WirePeer::ConnectStream(HostPort(Net())));
    }
    JoinedWireClient ann = JoinWireClient(Net(), "Ann");
    EXPECT_GE(ann.result, 0);
    EXPECT_TRUE(idle.back().WaitClosed(kLimit * 10));

    PumpUntil(Net(), [] { return false; }, kLimit * 2);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
    EXPECT_FALSE(ann.client.stream.WaitClosed(std::chrono::milliseconds(0)));
}

// A player whose join request arrived in time stays, however long the host's
// frame takes to answer it; a connection that sent something else does not.
TEST_F(HostAdmissionTest, AJoinRequestInTimeOutlastsAStalledFrame) {
    constexpr std::chrono::milliseconds kLimit{300};
    ASSERT_TRUE(StartHostAdmittingWithin(kLimit, 4));
    WireClient ann = ConnectWireClient(HostPort(Net()));
    ASSERT_TRUE(ann.RequestJoin("", "Ann"));
    WirePeer stranger = WirePeer::ConnectStream(HostPort(Net()));
    ASSERT_TRUE(stranger.Write(FramedMessage(Type(TunPacket::JoinRequest), std::string_view("no record"))));

    // No frame runs meanwhile.
    EXPECT_TRUE(stranger.WaitClosed(kLimit * 10));
    EXPECT_FALSE(ann.stream.WaitClosed(kLimit));
    const std::optional<WireMessage> answer = Await(Net(), ann.stream, TunPacket::JoinResult);
    ASSERT_TRUE(answer.has_value());
    EXPECT_GE(static_cast<std::int32_t>(U32At(answer->payload, 0)), 0);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
}

// Strangers refused on every place the host has give way at once to a player
// who knows the password; each heard its refusal before its close.
TEST_F(HostAdmissionTest, RefusedJoinsGiveWayToAPlayerWithThePassword) {
    // Its backlog (the most players) takes every connection at once.
    ASSERT_TRUE(StartHost(Net(), "Room", "secret", Network::Tun_Session::kMaxAcceptedConnections));
    std::vector<WirePeer> strangers;
    for (std::size_t count = 0; count < Network::Tun_Session::kMaxAcceptedConnections; ++count) {
        strangers.push_back(WirePeer::ConnectStream(HostPort(Net())));
        ASSERT_TRUE(strangers.back().Write(FramedMessage(Type(TunPacket::JoinRequest), JoinRequest("wrong", 0, "Eve"))));
    }
    const JoinedWireClient ann = JoinWireClient(Net(), "Ann", "secret");
    EXPECT_GE(ann.result, 0);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
    for (WirePeer& stranger : strangers) {
        const std::optional<WireMessage> refusal = stranger.ReadMessage();
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(static_cast<std::int32_t>(U32At(refusal->payload, 0)), -2);
        ASSERT_TRUE(stranger.WaitClosed());
    }
}

// Until it is admitted a connection may send only what a join needs: the
// longest messages of strangers close them without a frame, and the queue
// keeps room for a player, who stays. Their time to be admitted outlasts the
// test, so only what they sent can close them.
TEST_F(HostAdmissionTest, StrangersLongMessagesCloseOnlyThem) {
    ASSERT_TRUE(StartHostAdmittingWithin(std::chrono::hours(1), 8));
    JoinedWireClient ann = JoinWireClient(Net(), "Ann");
    ASSERT_GE(ann.result, 0);
    const auto annId = static_cast<std::uint32_t>(ann.result);
    const Bytes longest(Network::kMaxPayloadLength, 'L');
    std::vector<WirePeer> strangers;
    for (int count = 0; count < 9; ++count) {
        strangers.push_back(WirePeer::ConnectStream(HostPort(Net())));
        strangers.back().Write(FramedMessage(99, longest), std::chrono::milliseconds(200));
    }
    for (WirePeer& stranger : strangers) {
        EXPECT_TRUE(stranger.WaitClosed());
    }
    ASSERT_TRUE(ann.client.stream.Write(
        FramedMessage(Type(TunPacket::Text), Text(annId, Net().GetAllPlayersGroup()->GetID(), "still here"))));
    EXPECT_TRUE(PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::Text) == 1; }));
    EXPECT_FALSE(ann.client.stream.WaitClosed(std::chrono::milliseconds(0)));
}

TEST_F(HostHandlerTest, InputCountsOnlyFromThePlayersOwnAddress) {
    std::uint32_t annId = 0;
    WireClient ann = Joined("Ann", annId);
    Tundra::TunPlayer* player = Net().FindPlayer(annId);
    ASSERT_NE(player, nullptr);
    Input::Keyboard* keyboard = player->GetKeyboard();
    Input::Mouse* mouse = player->GetMouse();
    ASSERT_NE(keyboard, nullptr);
    ASSERT_NE(mouse, nullptr);

    Bytes keys = U32Payload(annId);
    const Bytes dropped = KeyRecord(300);
    const Bytes applied = KeyRecord(65);
    keys.insert(keys.end(), dropped.begin(), dropped.end());
    Bytes onlyDropped = keys;
    keys.insert(keys.end(), applied.begin(), applied.end());
    const std::uint16_t annPort = ann.Port();

    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort + 1), Type(TunPacket::Keyboard),
                  keys);
    EXPECT_FALSE(keyboard->AnyKey());
    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort), Type(TunPacket::Keyboard),
                  onlyDropped);
    EXPECT_FALSE(keyboard->AnyKey());
    ann.datagram.SendDatagram(HostPort(Net()), FramedMessage(Type(TunPacket::Keyboard), keys));
    EXPECT_TRUE(PumpUntil(Net(), [&] { return keyboard->AnyKey(); }));
    Net().UpdatePlayerDevices();
    EXPECT_FALSE(keyboard->AnyKey());
    // Three bytes cannot hold the sender.
    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort), Type(TunPacket::Keyboard),
                  Bytes(keys.begin(), keys.begin() + 3));
    EXPECT_FALSE(keyboard->AnyKey());

    Bytes mouseState = U32Payload(annId);
    mouseState.push_back(1);
    mouseState.resize(4 + 27);
    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort), Type(TunPacket::Mouse),
                  mouseState);
    EXPECT_FALSE(mouse->IsPressed(0));
    mouseState.resize(4 + 28);
    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort + 1), Type(TunPacket::Mouse),
                  mouseState);
    EXPECT_FALSE(mouse->IsPressed(0));
    DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(annPort), Type(TunPacket::Mouse),
                  mouseState);
    EXPECT_TRUE(mouse->IsPressed(0));
}

TEST_F(HostHandlerTest, GroupsAreMadeAndDestroyedOnlyByTheirOwner) {
    std::uint32_t annId = 0;
    std::uint32_t bobId = 0;
    WireClient ann = Joined("Ann", annId);
    WireClient bob = Joined("Bob", bobId);
    const auto deliver = [&](std::uint16_t port, TunPacket type, const Bytes& payload) {
        DeliverPacket(Net(), Handler::Host, Tundra::kHostStreamSocket, Loopback(port), Type(type), payload);
    };
    const auto& groups = Tundra::TunNetTestAccess::GetGroups(Net());
    const std::size_t base = groups.size();

    Bytes trailing = GroupCreate(annId, 70077, "team", {bobId});
    trailing.insert(trailing.end(), {0, 0});
    deliver(ann.Port(), TunPacket::GroupCreate, trailing);
    deliver(bob.Port(), TunPacket::GroupCreate, GroupCreate(annId, 70077, "team", {bobId}));
    EXPECT_EQ(groups.size(), base);

    deliver(ann.Port(), TunPacket::GroupCreate, GroupCreate(annId, 70077, "team", {bobId, bobId, 999}));
    ASSERT_EQ(groups.size(), base + 1);
    EXPECT_EQ(groups.back()->GetID(), 70077u);
    EXPECT_EQ(groups.back()->GetOwner(), Net().FindPlayer(annId));
    EXPECT_EQ(groups.back()->GetPlayerCount(), 1u);

    Bytes destroy = U32Payload(bobId);
    AppendU32(destroy, 70077);
    deliver(bob.Port(), TunPacket::GroupDestroy, destroy);
    Bytes destroyAll = U32Payload(annId);
    AppendU32(destroyAll, Net().GetAllPlayersGroup()->GetID());
    deliver(ann.Port(), TunPacket::GroupDestroy, destroyAll);
    EXPECT_EQ(groups.size(), base + 1);
    EXPECT_EQ(groups.front(), Net().GetAllPlayersGroup());

    Bytes destroyOwn = U32Payload(annId);
    AppendU32(destroyOwn, 70077);
    deliver(ann.Port(), TunPacket::GroupDestroy, destroyOwn);
    EXPECT_EQ(groups.size(), base);

    for (std::uint32_t i = 0; i < 65; ++i) {
        deliver(ann.Port(), TunPacket::GroupCreate, GroupCreate(annId, 70100 + i, "many", {}));
    }
    EXPECT_EQ(groups.size(), base + 64);
}

// Rejoining cannot pile up groups: a player that leaves takes its own with it
// (Bob, who stays, is told of each) and is a member of no other.
TEST_F(HostHandlerTest, ALeavingPlayerTakesItsGroupsAndLeavesEveryOther) {
    std::uint32_t bobId = 0;
    WireClient bob = Joined("Bob", bobId);
    const auto deliver = [&](std::uint16_t port, const Bytes& payload) {
        DeliverPacket(Net(), Handler::Host, Tundra::kHostStreamSocket, Loopback(port), Type(TunPacket::GroupCreate),
                      payload);
    };
    const auto& groups = Tundra::TunNetTestAccess::GetGroups(Net());
    const std::size_t base = groups.size();
    constexpr std::uint32_t kRounds = 20;
    for (std::uint32_t round = 0; round < kRounds; ++round) {
        const auto port = static_cast<std::uint16_t>(41000 + round);
        const std::uint32_t eveId = m_hostId + 1000 + round;
        const Core::RefPtr<Tundra::TunPlayer> eve = TUN_NEW(Tundra::TunPlayer, "Eve", false, false, Loopback(port));
        eve->SetID(eveId);
        ASSERT_TRUE(Net().AddPlayer(eve.Get()));
        deliver(bob.Port(), GroupCreate(bobId, 80000 + round, "bob's", {eveId, bobId}));
        for (std::uint32_t i = 0; i < 64; ++i) {
            deliver(port, GroupCreate(eveId, 90000 + round * 64 + i, "eve's", {bobId, eveId}));
        }
        ASSERT_EQ(groups.size(), base + round + 1 + 64);
        Network::Tun_Event closed(Network::Tun_Event_Kind::AcceptedConnectionClosed,
                                  Tundra::TunNetTestAccess::GetSession(Net()), Tundra::kHostStreamSocket,
                                  Loopback(port));
        ASSERT_TRUE(TunNet::HostPacketHandler(&closed));
        EXPECT_EQ(Net().FindPlayer(eveId), nullptr);
        EXPECT_EQ(groups.size(), base + round + 1);
        EXPECT_EQ(eve->GetReferenceCount(), 1u) << "no group keeps a player that left";
    }
    for (std::size_t i = base; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i]->GetOwner(), Net().FindPlayer(bobId));
        EXPECT_EQ(groups[i]->GetPlayerCount(), 1u);
    }
    // The first Eve's groups, each as its owner would destroy it, before she is gone.
    std::vector<Bytes> destroyed;
    std::optional<WireMessage> message;
    while ((message = bob.ReadUntil(Type(TunPacket::PlayerJoined))) && U32At(message->payload, 0) != m_hostId + 1000) {
    }
    ASSERT_TRUE(message);
    while ((message = bob.stream.ReadMessage()) && message->type != Type(TunPacket::PlayerLeft)) {
        EXPECT_EQ(message->type, Type(TunPacket::GroupDestroy));
        destroyed.push_back(message->payload);
    }
    ASSERT_TRUE(message);
    ASSERT_EQ(destroyed.size(), 64u);
    Bytes last = U32Payload(m_hostId + 1000);
    AppendU32(last, 90000 + 63);
    EXPECT_EQ(destroyed.back(), last);
}

TEST_F(HostHandlerTest, TextsGoToTheNamedGroupTheSenderMayUseOrToOnePlayer) {
    std::uint32_t annId = 0;
    std::uint32_t bobId = 0;
    std::uint32_t cyId = 0;
    WireClient ann = Joined("Ann", annId);
    WireClient bob = Joined("Bob", bobId);
    WireClient cy = Joined("Cy", cyId);
    const std::size_t groupsBefore = Tundra::TunNetTestAccess::GetGroups(Net()).size();
    ann.stream.Write(FramedMessage(Type(TunPacket::GroupCreate), GroupCreate(annId, 70077, "ann's", {bobId})));
    bob.stream.Write(FramedMessage(Type(TunPacket::GroupCreate), GroupCreate(bobId, 70078, "bob's", {cyId})));
    const auto& groups = Tundra::TunNetTestAccess::GetGroups(Net());
    ASSERT_TRUE(PumpUntil(Net(), [&] { return groups.size() == groupsBefore + 2; }));

    const Bytes toAnnsGroup = Text(annId, 70077, "team");
    const Bytes toBobsGroup = Text(annId, 70078, "not yours");
    const Bytes toCy = Text(annId, cyId, "just you");
    const Bytes toHost = Text(annId, m_hostId, "hi host");
    for (const Bytes* text : {&toAnnsGroup, &toBobsGroup, &toCy, &toHost}) {
        ann.stream.Write(FramedMessage(Type(TunPacket::Text), *text));
    }
    const std::optional<WireMessage> bobHeard = Await(Net(), bob.stream, TunPacket::Text);
    ASSERT_TRUE(bobHeard);
    EXPECT_EQ(bobHeard->payload, toAnnsGroup);
    const std::optional<WireMessage> cyHeard = Await(Net(), cy.stream, TunPacket::Text);
    ASSERT_TRUE(cyHeard);
    EXPECT_EQ(cyHeard->payload, toCy);
    ASSERT_TRUE(PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::Text) > 0; }));
    Settle();
    ASSERT_EQ(RecordingListener::Count(NetMessageKind::Text), 1u);
    EXPECT_EQ(RecordingListener::Heard().back().text, "hi host");
    EXPECT_EQ(RecordingListener::Heard().back().senderId, annId);
}

TEST_F(HostHandlerTest, DataCarriesExactlyItsSizeAndNullForNone) {
    std::uint32_t annId = 0;
    WireClient ann = Joined("Ann", annId);
    const auto data = [&](std::uint32_t size, std::uint32_t actual) {
        Bytes bytes = U32Payload(annId);
        AppendU32(bytes, m_hostId);
        AppendU32(bytes, 9);
        AppendU32(bytes, size);
        bytes.resize(bytes.size() + actual, 0xAB);
        DeliverPacket(Net(), Handler::Host, Tundra::kHostStreamSocket, Loopback(ann.Port()), Type(TunPacket::Data),
                      bytes);
    };
    data(5, 4);
    EXPECT_EQ(RecordingListener::Count(NetMessageKind::Data), 0u);
    data(0, 0);
    data(3, 3);
    ASSERT_EQ(RecordingListener::Count(NetMessageKind::Data), 2u);
    const std::vector<HeardMessage>& heard = RecordingListener::Heard();
    EXPECT_TRUE(heard[heard.size() - 2].dataNull);
    EXPECT_EQ(heard.back().code, 9u);
    EXPECT_EQ(heard.back().data, Bytes(3, 0xAB));
    EXPECT_EQ(heard.back().senderId, annId);
}

TEST_F(HostHandlerTest, APeerThatLeavesIsReportedAndTheOthersAreTold) {
    std::uint32_t annId = 0;
    std::uint32_t bobId = 0;
    WireClient ann = Joined("Ann", annId);
    WireClient bob = Joined("Bob", bobId);
    const std::uint16_t annPort = ann.Port();
    ann.stream.Close();
    ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().FindPlayer(annId) == nullptr; }));
    EXPECT_EQ(RecordingListener::Heard().back().kind, NetMessageKind::PlayerLeaving);
    EXPECT_EQ(RecordingListener::Heard().back().playerId, annId);
    const std::optional<WireMessage> told = bob.ReadUntil(Type(TunPacket::PlayerLeft));
    ASSERT_TRUE(told);
    EXPECT_EQ(told->payload, PlayerRecord(annId, false, annPort, "Ann"));
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
}

TEST_F(HostHandlerTest, OnlyTheServerSocketClosingEndsTheHostedSession) {
    Network::Tun_Event closed(Network::Tun_Event_Kind::SocketClosed, Tundra::TunNetTestAccess::GetSession(Net()),
                              Tundra::kHostDatagramSocket, Network::Tun_Address());
    EXPECT_TRUE(TunNet::HostPacketHandler(&closed));
    EXPECT_TRUE(Net().IsHosting());
    closed.socketId = Tundra::kHostStreamSocket;
    EXPECT_TRUE(TunNet::HostPacketHandler(&closed));
    EXPECT_FALSE(Net().IsHosting());
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_EQ(RecordingListener::Count(NetMessageKind::SessionEnded), 1u);
}

}  // namespace host_handler_test
