// The client's packet handler against the wire peer playing the host:
// found sessions, the join's answers, level names, pings, texts and the host
// going away; datagrams count only from the host's address.
#include "network/Network_PayloadReader.h"
#include "network/Network_PayloadWriter.h"
#include "network/Network_DatagramShares.h"
#include "network/Network_NetReplicaBytes.h"
#include "network/Network_TunNetTestHooks.h"
#include "os/OS_SocketPoll.h"
#include "support/Network_FrontEndFixture.h"
#include "support/Network_TunNetPacketProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>

namespace client_handler_test {

using namespace testsupport;
using Tundra::NetMessageKind;
using Tundra::TunNet;
using Tundra::TunPacket;

constexpr std::uint32_t Type(TunPacket type) { return static_cast<std::uint32_t>(type); }
constexpr std::uint32_t kHostPlayerId = 9001;
constexpr std::uint32_t kGivenId = 9002;

Bytes Reply(TunPacket type, const Bytes& payload) { return FramedMessage(Type(type), payload); }

class ClientHandlerTest : public FrontEndGameTest {
protected:
    void SetUp() override {
        FrontEndGameTest::SetUp();
        ASSERT_TRUE(StartClient(Net()));
    }
    // Joins the wire host, which answers the given id and its own record
    // (naming port 40000, not its own).
    bool JoinWireHost() {
        m_host.AnswerJoin({Reply(TunPacket::JoinResult, U32Payload(kGivenId)),
                           Reply(TunPacket::PlayerJoined, PlayerRecord(kHostPlayerId, true, 40000, "Host"))});
        const bool joined = Net().JoinSession("Ann", m_host.Address(), "");
        m_host.JoinRequestRead();
        return joined && PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; });
    }
    std::uint16_t ClientPort() { return Net().GetLocalPlayer()->GetAddress().GetPort(); }
    void FromHost(TunPacket type, const Bytes& payload) {
        DeliverPacket(Net(), Handler::Client, Tundra::kClientDatagramSocket, m_host.Address(), Type(type), payload);
    }
    std::string CurrentLevel() { return m_game->GetCurrentLevel()->GetTypeName().c_str(); }

    WireHost m_host;
};

TEST_F(ClientHandlerTest, AnnouncementsFillTheFoundSessionsOncePerEndpoint) {
    WirePeer announcer = WirePeer::OpenDatagram();
    announcer.SendDatagram(DiscoveryPort(), FramedMessage(0, Announcement(40000, 4, 1, false, "Room", "EL")));
    ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().GetFoundSessions().size() == 1; }));
    const Tundra::TunBroadcast& found = Net().GetFoundSessions().front();
    EXPECT_EQ(found.GetHostName(), "Room");
    EXPECT_EQ(found.GetNetworkID(), "EL");
    EXPECT_EQ(found.GetAddress().GetPort(), 40000);
    EXPECT_EQ(found.GetAddress().GetHostText(), "127.0.0.1");
    EXPECT_EQ(found.GetSessionMaxPlayers(), 4u);
    EXPECT_EQ(found.GetSessionPlayersNumber(), 1u);
    EXPECT_FALSE(found.IsPasswordProtected());

    const auto announce = [&](std::int32_t socketId, std::uint16_t port, std::uint32_t players) {
        DeliverPacket(Net(), Handler::Client, socketId, Loopback(50000), 0,
                      Announcement(port, 4, players, true, "Room", "EL"));
    };
    announce(Tundra::kDiscoverySocket, 40000, 3);
    ASSERT_EQ(Net().GetFoundSessions().size(), 1u);
    EXPECT_EQ(Net().GetFoundSessions().front().GetSessionPlayersNumber(), 3u);
    EXPECT_TRUE(Net().GetFoundSessions().front().IsPasswordProtected());
    announce(Tundra::kClientDatagramSocket, 40001, 1);
    EXPECT_EQ(Net().GetFoundSessions().size(), 1u);
}

// The session at ip:port as its announcement names it.
Tundra::TunBroadcast Session(const char* ip, std::uint16_t port, const char* name = "Room") {
    Bytes payload;
    Network::PayloadWriter writer(payload);
    Tundra::TunBroadcast::WriteAnnouncement(writer, Network::Tun_Address(ip, port), 4, 1, false, name, "EL");
    Network::PayloadReader reader(writer.GetData(), writer.GetSize());
    Tundra::TunBroadcast session;
    EXPECT_TRUE(session.ReadAnnouncement(reader));
    return session;
}

std::size_t CountListed(const TunNet& network, const std::function<bool(const Tundra::TunBroadcast&)>& test) {
    const std::vector<Tundra::TunBroadcast>& found = network.GetFoundSessions();
    return static_cast<std::size_t>(std::count_if(found.begin(), found.end(), test));
}

// One machine announcing 128 sessions of its own address without pause
// (about 7,700 a second), and claiming the real host's, beside a real host
// announcing every quarter second: the real session stays listed as its host
// named it, and that machine holds no more than four places.
TEST_F(ClientHandlerTest, OneMachineAnnouncingWithoutPauseHidesNoOtherSession) {
    constexpr int kFrames = 120;
    constexpr float kDt = 1.0f / 60.0f;
    const Network::Tun_Address host("192.168.1.20", 40000);
    const Network::Tun_Address flooder("192.168.1.66", 50000);
    const auto isReal = [&](const Tundra::TunBroadcast& found) {
        return found.GetAddress().SameEndpoint(host) && found.GetHostName() == "Room";
    };
    const auto isFlooders = [&](const Tundra::TunBroadcast& found) {
        return found.GetAddress().GetIPv4() == flooder.GetIPv4();
    };
    int listedFrames = 0;
    std::size_t mostFlooders = 0;
    std::uint16_t next = 0;
    for (int frame = 0; frame < kFrames; ++frame) {
        Net().AgeSessionList(kDt);
        for (int i = 0; i < 128; ++i) {
            if (i == 64 && frame % 15 == 0) {
                Net().UpdateSessionList(Session("192.168.1.20", 40000), host);
            }
            Net().UpdateSessionList(Session("192.168.1.66", 41000 + next++ % 128), flooder);
        }
        Net().UpdateSessionList(Session("192.168.1.20", 40000, "Fake"), flooder);
        listedFrames += CountListed(Net(), isReal) == 1 ? 1 : 0;
        mostFlooders = std::max(mostFlooders, CountListed(Net(), isFlooders));
    }
    EXPECT_EQ(listedFrames, kFrames);
    EXPECT_LE(mostFlooders, 4u);
}

// Full, the list keeps every session still heard from its own address; only
// claims a machine made for other addresses give way to newcomers.
TEST_F(ClientHandlerTest, AFullListKeepsTheSessionsHeardOnTheirOwnAddress) {
    const auto machine = [](int number) { return Network::Tun_Address(("10.0.0." + std::to_string(number)).c_str(), 0); };
    const auto announceOwn = [&](int number, std::uint16_t port) {
        Net().UpdateSessionList(Session(machine(number).GetHostText().c_str(), port), machine(number));
    };
    for (int number = 1; number <= 15; ++number) {
        for (std::uint16_t port = 40000; port < 40004; ++port) {
            announceOwn(number, port);
        }
    }
    for (std::uint16_t port = 40000; port < 40004; ++port) {
        Net().UpdateSessionList(Session("10.0.1.1", port), machine(99));
    }
    ASSERT_EQ(Net().GetFoundSessions().size(), 64u);
    for (int number = 100; number < 105; ++number) {
        announceOwn(number, 40000);
    }
    const auto ownAddress = [](const Tundra::TunBroadcast& found) { return found.IsHeardOnOwnAddress(); };
    EXPECT_EQ(Net().GetFoundSessions().size(), 64u);
    EXPECT_EQ(CountListed(Net(), ownAddress), 64u);
    EXPECT_EQ(CountListed(Net(), [&](const Tundra::TunBroadcast& found) {
                  return found.GetAddress().GetIPv4() == machine(104).GetIPv4();
              }),
              0u)
        << "no claim is left to give way";
}

// A machine taking over the session another claimed for it still holds no
// more than four places.
TEST_F(ClientHandlerTest, ATakenOverSessionKeepsItsMachineWithinItsShare) {
    Net().UpdateSessionList(Session("10.0.0.1", 40004), Network::Tun_Address("10.0.0.2", 50000));
    for (std::uint16_t port = 40000; port <= 40004; ++port) {
        Net().UpdateSessionList(Session("10.0.0.1", port), Network::Tun_Address("10.0.0.1", 50000));
    }
    EXPECT_EQ(Net().GetFoundSessions().size(), 4u);
    EXPECT_EQ(CountListed(Net(), [](const Tundra::TunBroadcast& found) {
                  return found.GetAddress().GetPort() == 40004 && found.IsHeardOnOwnAddress();
              }),
              1u);
}

TEST_F(ClientHandlerTest, ARefusedJoinLeavesNothingAndKeepsBrowsing) {
    m_host.AnswerJoin({Reply(TunPacket::JoinResult, U32Payload(static_cast<std::uint32_t>(-2)))});
    EXPECT_FALSE(Net().JoinSession("Ann", m_host.Address(), "px"));
    const std::optional<WireMessage> request = m_host.JoinRequestRead();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->payload[0], 'p');
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 0u);
    EXPECT_FALSE(Net().IsConnected());
    EXPECT_TRUE(m_host.Connection().WaitClosed());
    ASSERT_EQ(RecordingListener::Count(NetMessageKind::JoinAnswer), 1u);
    WirePeer announcer = WirePeer::OpenDatagram();
    announcer.SendDatagram(DiscoveryPort(), FramedMessage(0, Announcement(40000, 4, 1, false, "Room", "EL")));
    EXPECT_TRUE(PumpUntil(Net(), [&] { return Net().GetFoundSessions().size() == 1; }));
}

// The refused join's connection reports its close late, after the next
// join in the same frame took the socket's id: that join stays.
TEST_F(ClientHandlerTest, ARefusedJoinsLateCloseDoesNotEndTheNextJoin) {
    WireHost refusing;
    refusing.AnswerJoin({Reply(TunPacket::JoinResult, U32Payload(static_cast<std::uint32_t>(-2)))});
    EXPECT_FALSE(Net().JoinSession("Ann", refusing.Address(), ""));
    ASSERT_TRUE(refusing.JoinRequestRead());
    ASSERT_TRUE(JoinWireHost());
    ASSERT_TRUE(refusing.Connection().WaitClosed());
    PumpFrames(Net(), 20);
    EXPECT_TRUE(Net().IsConnected());
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
    EXPECT_EQ(RecordingListener::Count(NetMessageKind::SessionEnded), 0u);
}

TEST_F(ClientHandlerTest, ASilentHostFailsTheJoinAtTheLimit) {
    Tundra::TunNetTestAccess::SetJoinWaitLimit(200);
    m_host.AnswerJoin({});
    EXPECT_FALSE(Net().JoinSession("Ann", m_host.Address(), ""));
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_FALSE(Net().IsConnected());
}

TEST_F(ClientHandlerTest, AnAcceptedJoinTakesTheIdAndAddressesTheHostByItsConnection) {
    ASSERT_TRUE(JoinWireHost());
    EXPECT_TRUE(Net().IsConnected());
    EXPECT_TRUE(Net().IsNetworkGame());
    EXPECT_EQ(Net().GetLocalPlayer()->GetID(), kGivenId);
    const Tundra::TunPlayer* host = Net().FindPlayer(kHostPlayerId);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(host->IsHost());
    EXPECT_EQ(host->GetAddress().GetPort(), m_host.GetPort());

    const std::vector<HeardMessage>& heard = RecordingListener::Heard();
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0].kind, NetMessageKind::PlayerAdded);
    EXPECT_TRUE(heard[0].playerIsLocal);
    EXPECT_EQ(heard[1].kind, NetMessageKind::JoinAnswer);
    EXPECT_EQ(heard[1].joinResult, static_cast<std::int32_t>(kGivenId));
    EXPECT_EQ(heard[2].kind, NetMessageKind::SessionJoined);
    EXPECT_EQ(heard[3].kind, NetMessageKind::PlayerAdded);
    EXPECT_EQ(heard[3].playerId, kHostPlayerId);

    // Joined: announcements are no longer taken.
    DeliverPacket(Net(), Handler::Client, Tundra::kDiscoverySocket, Loopback(50000), 0,
                  Announcement(40000, 4, 1, false, "Room", "EL"));
    EXPECT_TRUE(Net().GetFoundSessions().empty());
}

// A host sending records without end: the client lists as many players as
// any host admits and no more, kept in id order, whatever maximum another
// program on the host's machine announced for the session.
TEST_F(ClientHandlerTest, PlayerRecordsAreListedUpToTheMostAnyHostAdmits) {
    struct Case {
        const char* name;
        bool announced;
        std::uint32_t maxPlayers;
    };
    const Case cases[] = {
        {"announced as one", true, 1},
        {"announced beyond the limit", true, 100000},
        {"not announced", false, 0},
    };
    constexpr std::uint32_t kRecords = TunNet::kMostSessionPlayers + 50;
    // The host's record first, then ids downwards.
    constexpr std::uint32_t kFloodId = 20000 + kRecords;
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        WireHost host;
        if (each.announced) {
            DeliverPacket(Net(), Handler::Client, Tundra::kDiscoverySocket, Loopback(50000), 0,
                          Announcement(host.GetPort(), each.maxPlayers, 1, false, "Room", "EL"));
        }
        std::vector<Bytes> replies{Reply(TunPacket::JoinResult, U32Payload(kGivenId))};
        for (std::uint32_t i = 0; i < kRecords; ++i) {
            replies.push_back(Reply(TunPacket::PlayerJoined, PlayerRecord(kFloodId - i, i == 0, 40000, "Flood")));
        }
        Bytes last = U32Payload(kFloodId);
        AppendU32(last, 1);
        AppendString(last, "done");
        replies.push_back(Reply(TunPacket::Text, last));
        host.AnswerJoin(replies);
        ASSERT_TRUE(Net().JoinSession("Ann", host.Address(), ""));
        ASSERT_TRUE(PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::Text) > 0; }));
        const std::vector<Core::RefPtr<Tundra::TunPlayer>> players = Net().GetSessionPlayers();
        EXPECT_EQ(players.size(), TunNet::kMostSessionPlayers);
        EXPECT_TRUE(std::is_sorted(players.begin(), players.end(), [](const auto& a, const auto& b) {
            return a->GetID() < b->GetID();
        }));
        ASSERT_TRUE(Net().Shutdown());
        ASSERT_TRUE(StartClient(Net()));
        RecordingListener::Clear();
    }
}

// Shutting down drops what peers sent and no frame took yet, however much.
TEST_F(ClientHandlerTest, AShutdownDropsWhatIsStillQueued) {
    ASSERT_TRUE(JoinWireHost());
    Bytes text = U32Payload(kHostPlayerId);
    AppendU32(text, 1);
    AppendString(text, "queued");
    constexpr std::uint32_t kTexts = 200;
    for (std::uint32_t i = 0; i < kTexts; ++i) {
        ASSERT_TRUE(m_host.Connection().Write(Reply(TunPacket::Text, text)));
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Tundra::TunNetTestAccess::GetQueuedEvents(Net()) < kTexts && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GE(Tundra::TunNetTestAccess::GetQueuedEvents(Net()), kTexts);
    EXPECT_TRUE(Net().Shutdown());
    EXPECT_EQ(RecordingListener::Count(NetMessageKind::Text), 0u);
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
}

TEST_F(ClientHandlerTest, TheHostsLevelNameSwitchesOnceOrAsksForItsObjects) {
    ASSERT_TRUE(JoinWireHost());
    const std::string start = CurrentLevel();
    // A stranger naming a level does nothing.
    DeliverPacket(Net(), Handler::Client, Tundra::kClientDatagramSocket, Loopback(m_host.GetPort() + 1),
                  Type(TunPacket::LevelName), Bytes{'2', 0});
    // The level the client runs: one snapshot request, however often named.
    const Bytes current(start.begin(), start.end());
    Bytes named = current;
    named.push_back(0);
    for (int i = 0; i < 3; ++i) {
        FromHost(TunPacket::LevelName, named);
    }
    const std::optional<WireMessage> request = m_host.Connection().ReadMessage();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->type, Type(TunPacket::SnapshotRequest));
    EXPECT_EQ(request->payload, U32Payload(kGivenId));
    EXPECT_FALSE(m_host.Connection().ReadMessage(std::chrono::milliseconds(50)));

    const std::string other = start == "1" ? "2" : "1";
    for (int i = 0; i < 2; ++i) {
        FromHost(TunPacket::LevelName, Bytes{static_cast<std::uint8_t>(other[0]), 0});
    }
    Step(3);
    EXPECT_EQ(CurrentLevel(), other);
    EXPECT_EQ(Entries("build " + other).size(), 1u);
}

TEST_F(ClientHandlerTest, PingsAreAnsweredWithTheLocalId) {
    ASSERT_TRUE(JoinWireHost());
    WirePeer& host = m_host.Datagram();
    WirePeer stranger = WirePeer::OpenDatagram();
    stranger.SendDatagram(ClientPort(), FramedMessage(Type(TunPacket::PingRequest), U32Payload(kHostPlayerId)));
    host.SendDatagram(ClientPort(), FramedMessage(Type(TunPacket::PingRequest), U32Payload(kHostPlayerId)));
    // The client's mouse goes to the host every tick too.
    const Bytes expected = FramedMessage(Type(TunPacket::PingAnswer), U32Payload(kGivenId));
    std::optional<Bytes> answer;
    EXPECT_TRUE(PumpUntil(Net(), [&] {
        answer = host.ReceiveDatagram(std::chrono::milliseconds(1));
        return answer && answer->size() >= 4 && (*answer)[0] == Type(TunPacket::PingAnswer);
    }));
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, expected);
    EXPECT_FALSE(stranger.ReceiveDatagram(std::chrono::milliseconds(20)));
}

TEST_F(ClientHandlerTest, TextsAndDataFromKnownRemotePlayersReachTheListener) {
    ASSERT_TRUE(JoinWireHost());
    const std::size_t before = RecordingListener::Heard().size();
    const auto text = [](std::uint32_t sender, std::string_view words) {
        Bytes bytes = U32Payload(sender);
        AppendU32(bytes, 1);
        AppendString(bytes, words);
        return bytes;
    };
    FromHost(TunPacket::Text, text(kGivenId, "from myself"));
    FromHost(TunPacket::Text, text(12345, "from nobody"));
    EXPECT_EQ(RecordingListener::Heard().size(), before);
    FromHost(TunPacket::Text, text(kHostPlayerId, "hi"));
    Bytes data = U32Payload(kHostPlayerId);
    for (const std::uint32_t word : {1u, 7u, 0u}) {
        AppendU32(data, word);
    }
    FromHost(TunPacket::Data, data);
    const std::vector<HeardMessage>& heard = RecordingListener::Heard();
    ASSERT_EQ(heard.size(), before + 2);
    EXPECT_EQ(heard[before].text, "hi");
    EXPECT_EQ(heard[before].senderId, kHostPlayerId);
    EXPECT_EQ(heard[before + 1].code, 7u);
    EXPECT_TRUE(heard[before + 1].dataNull);
}

TEST_F(ClientHandlerTest, TheHostClosingEndsTheSessionOnce) {
    ASSERT_TRUE(JoinWireHost());
    const std::size_t before = RecordingListener::Heard().size();
    m_host.Connection().Close();
    ASSERT_TRUE(PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::SessionEnded) > 0; }));
    PumpFrames(Net(), 5);
    const std::vector<HeardMessage>& heard = RecordingListener::Heard();
    ASSERT_EQ(heard.size(), before + 2);
    EXPECT_EQ(heard[before].kind, NetMessageKind::PlayerLeaving);
    EXPECT_EQ(heard[before + 1].kind, NetMessageKind::SessionEnded);
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 0u);
    EXPECT_FALSE(Net().IsConnected());
}

// A host's state tick is a datagram per replicated object, sent at once.
// While the client runs no frame, a whole tick of more objects than a share
// waits for it, and its next frames move every replica.
TEST_F(ClientHandlerTest, AWholeStateTickOfMoreObjectsThanAShareMovesEveryReplica) {
    constexpr std::uint32_t kObjects = 2 * Network::DatagramShares::kShareMessages + 64;
    constexpr std::uint32_t kOwner = 2;
    ASSERT_TRUE(JoinWireHost());
    ASSERT_TRUE(Net().AddBaseNetObject(TUN_NEW(tundratest::TestObject), "T"));
    Tundra::TunNetTestAccess::ReceiveReplication(Net(), TunPacket::Snapshot, nettest::U32Bytes({0}));
    for (std::uint32_t number = 0; number < kObjects; ++number) {
        nettest::SaveState saved = nettest::Saved("R", number);
        saved.owner = kOwner;
        Tundra::TunNetTestAccess::ReceiveReplication(Net(), TunPacket::ObjectCreate, nettest::CreateBytes(0, "T", saved));
    }
    ASSERT_EQ(Net().GetReplicatedObjects().size(), kObjects);

    // The tick, the client's queue left undrained meanwhile.
    const std::uint16_t port = ClientPort();
    const auto sendState = [&](std::size_t number) {
        const Vector2D moved{static_cast<float>(number), 1.0f};
        return m_host.Datagram().SendDatagram(
            port, FramedMessage(Type(TunPacket::ObjectState),
                                nettest::StateBytes(kOwner, static_cast<std::uint32_t>(number),
                                                    nettest::Synced("R", moved))));
    };
    SendInRounds(kObjects, 64, sendState, [&] { return Tundra::TunNetTestAccess::GetQueuedEvents(Net()); });
    const auto unmoved = [&] {
        std::uint32_t count = 0;
        for (std::uint32_t number = 0; number < kObjects; ++number) {
            const Tundra::GameObject* replica = Net().FindReplicatedObject(kOwner, number);
            count += replica == nullptr || replica->GetPositionY() != 1.0f ? 1 : 0;
        }
        return count;
    };
    // Ten seconds only guard against a hang: the frames take far less.
    PumpUntil(Net(), [&] { return unmoved() == 0; }, std::chrono::seconds(10));
    EXPECT_EQ(unmoved(), 0u);
}

}  // namespace client_handler_test
