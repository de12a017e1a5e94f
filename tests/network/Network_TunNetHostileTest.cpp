// Hostile packets against both handlers: every truncation, each side's
// types sent to the other, strangers' sources and seeded mutations by the
// thousand leave players, groups, found sessions, replicated objects, flags
// and the listener's log as they were (and fault nothing under the
// sanitizers). TUNDRA_MUTATIONS raises the mutation count for a long run.
#include "network/Network_TunNetTestHooks.h"
#include "support/Network_FrontEndFixture.h"
#include "support/Network_TunNetPacketProbe.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace hostile_packet_test {

using namespace testsupport;
using Tundra::NetMessageKind;
using Tundra::TunNet;
using Tundra::TunPacket;

constexpr std::uint32_t Type(TunPacket type) { return static_cast<std::uint32_t>(type); }
constexpr std::uint32_t kHostPlayerId = 9001;
constexpr std::uint32_t kGivenId = 9002;
constexpr std::uint32_t kOtherId = 9100;
constexpr std::uint32_t kAnnsGroup = 70600;
constexpr std::uint16_t kStrangerPort = 50999;

Bytes Words(std::initializer_list<std::uint32_t> words) {
    Bytes bytes;
    for (const std::uint32_t word : words) {
        AppendU32(bytes, word);
    }
    return bytes;
}

Bytes Then(Bytes bytes, std::string_view text) {
    AppendString(bytes, text);
    return bytes;
}

Bytes Then(Bytes bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

struct Packet {
    TunPacket type;
    Bytes payload;
};

// A valid packet of every type a client sends, from the player `sender`
// (a join from a fresh connection) to the host whose player is `host`.
std::vector<Packet> ClientPackets(std::uint32_t sender, std::uint32_t host) {
    Bytes mouse = Words({sender});
    mouse.resize(4 + 28, 1);
    return {
        {TunPacket::JoinRequest, JoinRequest("", 40000, "Eve")},
        {TunPacket::GroupCreate, Then(Words({sender, 70500}), "g")},
        {TunPacket::GroupDestroy, Words({sender, kAnnsGroup})},
        {TunPacket::ObjectRemove, Words({sender, 1})},
        {TunPacket::Text, Then(Words({sender, host}), "hi")},
        {TunPacket::Data, Then(Words({sender, host, 7, 3}), Bytes{1, 2, 3})},
        {TunPacket::Keyboard, Then(Words({sender}), Then(Bytes{1, 1, 1, 1, 0, 0, 0, 0}, Words({65})))},
        {TunPacket::Mouse, mouse},
        {TunPacket::SnapshotRequest, Words({sender})},
        {TunPacket::PingAnswer, Words({sender})},
    };
}

// A valid packet of every type a host sends, from the host's player.
std::vector<Packet> HostPackets(std::uint16_t hostPort, const std::string& level) {
    return {
        {TunPacket::Announcement, Announcement(hostPort, 4, 1, false, "Room", "EL")},
        {TunPacket::JoinResult, Words({kGivenId})},
        {TunPacket::PlayerJoined, PlayerRecord(kOtherId + 1, false, 40200, "Dee")},
        {TunPacket::PlayerLeft, PlayerRecord(kOtherId, false, 40100, "Cy")},
        {TunPacket::ObjectCreate, Then(Words({0, 4}), Then(Bytes{'S', 'h', 'i', 'p'}, Bytes{1}))},
        {TunPacket::ObjectRemove, Words({kHostPlayerId, 1})},
        {TunPacket::ObjectState, Words({1, kHostPlayerId, 1, 0})},
        {TunPacket::Text, Then(Words({kHostPlayerId, 1}), "hi")},
        {TunPacket::Data, Then(Words({kHostPlayerId, 1, 7, 3}), Bytes{1, 2, 3})},
        {TunPacket::LevelName, Then(Bytes{}, level)},
        {TunPacket::Snapshot, Words({1, 0, 4})},
        {TunPacket::PingRequest, Words({kHostPlayerId})},
    };
}

// Texts, data and removals travel both ways; the rest only one way.
bool OneWay(TunPacket type) {
    return type != TunPacket::Text && type != TunPacket::Data && type != TunPacket::ObjectRemove;
}

// count seeded mutations of every packet, each handed to each.
template <class Each>
void ForEachMutation(const std::vector<Packet>& packets, std::uint32_t count, Each each) {
    std::mt19937 random(28);
    for (const Packet& packet : packets) {
        for (std::uint32_t i = 0; i < count; ++i) {
            each(packet.type, Mutate(packet.payload, random));
        }
    }
}

class HostileHostTest : public FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        ASSERT_TRUE(StartHost(Net()));
        m_hostId = Net().GetLocalPlayer()->GetID();
        m_ann = ConnectWireClient(HostPort(Net()));
        ASSERT_TRUE(m_ann.RequestJoin("", "Ann"));
        ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; }));
        m_annId = Net().GetSessionPlayers().back()->GetID();
        // A group of Ann's for type 6 to destroy.
        FromAnn(TunPacket::GroupCreate, Then(Words({m_annId, kAnnsGroup}), "ann's"));
        ASSERT_NE(Net().FindGroup(kAnnsGroup, Net().FindPlayer(m_annId)), nullptr);
    }
    void FromAnn(TunPacket type, const Bytes& payload, std::int32_t socketId = Tundra::kHostStreamSocket) {
        DeliverPacket(Net(), Handler::Host, socketId, Loopback(m_ann.Port()), Type(type), payload);
    }
    // A join comes from a connection without a player; the rest from Ann.
    void Entitled(TunPacket type, const Bytes& payload) {
        const std::uint16_t port = type == TunPacket::JoinRequest ? kStrangerPort : m_ann.Port();
        DeliverPacket(Net(), Handler::Host, Tundra::kHostStreamSocket, Loopback(port), Type(type), payload);
    }

    WireClient m_ann;
    std::uint32_t m_hostId = 0;
    std::uint32_t m_annId = 0;
};

TEST_F(HostileHostTest, EveryTruncationOfEveryTypeChangesNothing) {
    for (const Packet& packet : ClientPackets(m_annId, m_hostId)) {
        SCOPED_TRACE(Type(packet.type));
        const std::string before = DescribeFrontEnd(Net());
        for (std::size_t length = 0; length < packet.payload.size(); ++length) {
            Entitled(packet.type, Bytes(packet.payload.begin(), packet.payload.begin() + length));
            ASSERT_EQ(DescribeFrontEnd(Net()), before) << "length " << length;
        }
    }
    // The whole packets do act: a join is heard, a group made, another destroyed, a text and data heard.
    const std::size_t heard = RecordingListener::Heard().size();
    for (const Packet& packet : ClientPackets(m_annId, m_hostId)) {
        Entitled(packet.type, packet.payload);
    }
    EXPECT_EQ(RecordingListener::Count(NetMessageKind::JoinRequest), 2u);
    EXPECT_EQ(RecordingListener::Heard().size(), heard + 3);
    EXPECT_NE(Net().FindGroup(70500, Net().FindPlayer(m_annId)), nullptr);
    EXPECT_EQ(Net().FindGroup(kAnnsGroup, Net().FindPlayer(m_annId)), nullptr);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 2u);
}

TEST_F(HostileHostTest, AClientsTypesFromStrangersAndAHostsTypesChangeNothing) {
    const std::string before = DescribeFrontEnd(Net());
    for (const Packet& packet : ClientPackets(m_annId, m_hostId)) {
        SCOPED_TRACE(Type(packet.type));
        // Another source port speaking for Ann, on either socket.
        DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(kStrangerPort), Type(packet.type),
                      packet.payload);
        if (packet.type != TunPacket::JoinRequest) {
            DeliverPacket(Net(), Handler::Host, Tundra::kHostStreamSocket, Loopback(kStrangerPort),
                          Type(packet.type), packet.payload);
        }
        ASSERT_EQ(DescribeFrontEnd(Net()), before);
    }
    for (const Packet& packet : HostPackets(HostPort(Net()), "0")) {
        if (!OneWay(packet.type)) {
            continue;
        }
        SCOPED_TRACE(Type(packet.type));
        FromAnn(packet.type, packet.payload);
        FromAnn(packet.type, packet.payload, Tundra::kHostDatagramSocket);
        ASSERT_EQ(DescribeFrontEnd(Net()), before);
    }
}

TEST_F(HostileHostTest, SeededMutationsChangeNothingFromStrangersAndFaultNothingFromAnn) {
    const std::uint32_t count = MutationCount(3000);
    const std::string before = DescribeFrontEnd(Net());
    std::vector<Packet> packets = ClientPackets(m_annId, m_hostId);
    const std::vector<Packet> hostPackets = HostPackets(HostPort(Net()), "0");
    packets.insert(packets.end(), hostPackets.begin(), hostPackets.end());
    ForEachMutation(packets, count, [&](TunPacket type, const Bytes& payload) {
        DeliverPacket(Net(), Handler::Host, Tundra::kHostDatagramSocket, Loopback(kStrangerPort), Type(type), payload);
    });
    EXPECT_EQ(DescribeFrontEnd(Net()), before);
    ForEachMutation(ClientPackets(m_annId, m_hostId), count / 4, [&](TunPacket type, const Bytes& payload) {
        Entitled(type, payload);
    });
    EXPECT_TRUE(Net().IsHosting());
    EXPECT_NE(Net().FindPlayer(m_hostId), nullptr);
}

TEST_F(HostileHostTest, TruncationsOverTheWireChangeNothing) {
    const std::string before = DescribeFrontEnd(Net());
    for (const Packet& packet : ClientPackets(m_annId, m_hostId)) {
        if (packet.type == TunPacket::JoinRequest) {
            continue;
        }
        for (std::size_t length = 0; length < packet.payload.size(); ++length) {
            const Bytes cut(packet.payload.begin(), packet.payload.begin() + length);
            m_ann.stream.Write(FramedMessage(Type(packet.type), cut));
            m_ann.datagram.SendDatagram(HostPort(Net()), FramedMessage(Type(packet.type), cut));
        }
    }
    // A text to the host last: once it is heard, the stream before it was read.
    m_ann.stream.Write(FramedMessage(Type(TunPacket::Text), Then(Words({m_annId, m_hostId}), "done")));
    ASSERT_TRUE(PumpUntil(Net(), [] { return RecordingListener::Count(NetMessageKind::Text) == 1; }));
    PumpFrames(Net(), 3);
    RecordingListener::Clear();
    const std::string after = DescribeFrontEnd(Net());
    EXPECT_EQ(after.substr(0, after.find("\nheard")), before.substr(0, before.find("\nheard")));
}

class HostileClientTest : public FrontEndGameTest {
protected:
    void SetUp() override {
        FrontEndGameTest::SetUp();
        ASSERT_TRUE(StartClient(Net()));
        const std::uint32_t joined = Type(TunPacket::PlayerJoined);
        m_host.AnswerJoin({FramedMessage(Type(TunPacket::JoinResult), Words({kGivenId})),
                           FramedMessage(joined, PlayerRecord(kHostPlayerId, true, 40000, "Host")),
                           FramedMessage(joined, PlayerRecord(kOtherId, false, 40100, "Cy"))});
        ASSERT_TRUE(Net().JoinSession("Ann", m_host.Address(), ""));
        m_host.JoinRequestRead();
        ASSERT_TRUE(PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 3; }));
        m_level = m_game->GetCurrentLevel()->GetTypeName().c_str();
    }
    void FromHost(TunPacket type, const Bytes& payload, std::int32_t socketId = Tundra::kClientStreamSocket) {
        DeliverPacket(Net(), Handler::Client, socketId, m_host.Address(), Type(type), payload);
    }

    WireHost m_host;
    std::string m_level;
};

TEST_F(HostileClientTest, EveryTruncationOfEveryTypeChangesNothing) {
    for (const Packet& packet : HostPackets(m_host.GetPort(), m_level)) {
        SCOPED_TRACE(Type(packet.type));
        const std::string before = DescribeFrontEnd(Net());
        for (std::size_t length = 0; length < packet.payload.size(); ++length) {
            FromHost(packet.type, Bytes(packet.payload.begin(), packet.payload.begin() + length));
            ASSERT_EQ(DescribeFrontEnd(Net()), before) << "length " << length;
        }
    }
    // The whole ones act: Dee joins and Cy leaves (heard), a text and data are heard.
    const std::size_t heard = RecordingListener::Heard().size();
    for (const Packet& packet : HostPackets(m_host.GetPort(), m_level)) {
        if (packet.type != TunPacket::Snapshot) {
            FromHost(packet.type, packet.payload);
        }
    }
    EXPECT_EQ(RecordingListener::Heard().size(), heard + 4);
    EXPECT_NE(Net().FindPlayer(kOtherId + 1), nullptr);
    EXPECT_EQ(Net().FindPlayer(kOtherId), nullptr);
    EXPECT_TRUE(Net().IsConnected());
}

TEST_F(HostileClientTest, StrangersAndAClientsTypesChangeNothing) {
    const std::string before = DescribeFrontEnd(Net());
    for (const Packet& packet : HostPackets(m_host.GetPort(), "1")) {
        SCOPED_TRACE(Type(packet.type));
        for (const std::int32_t socketId : {Tundra::kDiscoverySocket, Tundra::kClientDatagramSocket}) {
            if (packet.type != TunPacket::Announcement) {
                DeliverPacket(Net(), Handler::Client, socketId, Loopback(kStrangerPort), Type(packet.type),
                              packet.payload);
            }
        }
        ASSERT_EQ(DescribeFrontEnd(Net()), before);
    }
    for (const Packet& packet : ClientPackets(kHostPlayerId, kGivenId)) {
        if (!OneWay(packet.type)) {
            continue;
        }
        SCOPED_TRACE(Type(packet.type));
        FromHost(packet.type, packet.payload);
        FromHost(packet.type, packet.payload, Tundra::kClientDatagramSocket);
        ASSERT_EQ(DescribeFrontEnd(Net()), before);
    }
    Step(3);
    EXPECT_EQ(m_game->GetCurrentLevel()->GetTypeName(), m_level.c_str());
}

TEST_F(HostileClientTest, SeededMutationsChangeNothingFromStrangersAndFaultNothingFromTheHost) {
    const std::uint32_t count = MutationCount(3000);
    const std::string before = DescribeFrontEnd(Net());
    std::vector<Packet> packets = HostPackets(m_host.GetPort(), m_level);
    const std::vector<Packet> clientPackets = ClientPackets(kHostPlayerId, kGivenId);
    packets.insert(packets.end(), clientPackets.begin(), clientPackets.end());
    ForEachMutation(packets, count, [&](TunPacket type, const Bytes& payload) {
        if (type != TunPacket::Announcement) {
            DeliverPacket(Net(), Handler::Client, Tundra::kClientDatagramSocket, Loopback(kStrangerPort), Type(type),
                          payload);
        }
    });
    EXPECT_EQ(DescribeFrontEnd(Net()), before);
    ForEachMutation(HostPackets(m_host.GetPort(), m_level), count / 4,
                    [&](TunPacket type, const Bytes& payload) { FromHost(type, payload); });
    Step(2);
}

class HostileBrowserTest : public FrontEndTest {};

TEST_F(HostileBrowserTest, DamagedAnnouncementsFindNothing) {
    ASSERT_TRUE(StartClient(Net()));
    const Bytes whole = Announcement(40000, 4, 1, false, "Room", "EL");
    const auto announce = [&](const Bytes& payload) {
        DeliverPacket(Net(), Handler::Client, Tundra::kDiscoverySocket, Loopback(kStrangerPort), 0, payload);
    };
    for (std::size_t length = 0; length < whole.size(); ++length) {
        announce(Bytes(whole.begin(), whole.begin() + length));
    }
    Bytes lyingName = whole;
    lyingName[25] = 0xFF;
    announce(lyingName);
    Bytes notIPv4 = whole;
    notIPv4[0] = 10;
    announce(notIPv4);
    EXPECT_TRUE(Net().GetFoundSessions().empty());
    std::mt19937 random(28);
    for (std::uint32_t i = 0; i < MutationCount(3000); ++i) {
        announce(Mutate(whole, random));
    }
    EXPECT_LE(Net().GetFoundSessions().size(), 64u);
    announce(whole);
    EXPECT_FALSE(Net().GetFoundSessions().empty());
}

}  // namespace hostile_packet_test
