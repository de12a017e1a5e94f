#include "network/Network_TunNetTestHooks.h"
#include "support/Network_FrontEndFixture.h"

#include <gtest/gtest.h>

namespace {

using Kind = Tundra::NetMessageKind;
using testsupport::Bytes;
using testsupport::RecordingListener;
using std::chrono::milliseconds;

constexpr std::uint32_t kPlayerLeft = 4;
constexpr std::uint32_t kGroupCreate = 5;
constexpr std::uint32_t kGroupDestroy = 6;
constexpr std::uint32_t kText = 10;
constexpr std::uint32_t kAllPlayersId = 1;
constexpr std::uint32_t kClientId = 7;
constexpr std::uint32_t kHostId = 3;

Bytes TextPayload(std::uint32_t sender, std::uint32_t target, std::string_view text) {
    Bytes bytes = testsupport::U32Payload(sender);
    testsupport::AppendU32(bytes, target);
    testsupport::AppendString(bytes, text);
    return bytes;
}

class TunNetPlayersTest : public testsupport::FrontEndTest {
protected:
    // A client joined to the wire host as player 7, the host's player 3.
    void JoinWireHost() {
        ASSERT_TRUE(testsupport::StartClient(Net()));
        m_host.AnswerJoin({testsupport::FramedMessage(2, testsupport::U32Payload(kClientId)),
                           testsupport::FramedMessage(3, testsupport::PlayerRecord(kHostId, true, 40000, "Host"))});
        ASSERT_TRUE(Net().JoinSession("Ann", m_host.Address(), ""));
        ASSERT_TRUE(testsupport::PumpUntil(Net(), [&] { return Net().GetSessionPlayersNumber() == 2; }));
        ASSERT_TRUE(m_host.JoinRequestRead().has_value());
        RecordingListener::Clear();
    }
    // The next message the wire host reads, if any comes soon.
    std::optional<testsupport::WireMessage> HostReads(milliseconds limit = milliseconds(500)) {
        return m_host.Connection().ReadMessage(limit);
    }

    testsupport::WireHost m_host;
};

TEST_F(TunNetPlayersTest, PlayersAreListedOnceInIdOrder) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    testsupport::WirePeer peer = testsupport::WirePeer::OpenDatagram();
    const Core::RefPtr<Tundra::TunPlayer> ann = testsupport::AddRemotePlayer(Net(), peer.GetLocalPort(), "Ann");
    ASSERT_NE(ann, nullptr);
    EXPECT_FALSE(Net().AddPlayer(ann.Get())) << "already listed";
    EXPECT_EQ(RecordingListener::Count(Kind::PlayerAdded), 2u);
    const Core::RefPtr<Tundra::TunPlayer> bob(
        TUN_NEW(Tundra::TunPlayer, "Bob", false, false, Network::Tun_Address("127.0.0.1", 40001)));
    bob->SetID(ann->GetID() - 1);
    ASSERT_TRUE(Net().AddPlayer(bob.Get()));
    const auto players = Net().GetSessionPlayers();
    ASSERT_EQ(players.size(), 3u);
    EXPECT_EQ(players[0], Net().GetLocalPlayer());
    EXPECT_EQ(players[1], bob);
    EXPECT_EQ(players[2], ann);
    EXPECT_EQ(Net().FindPlayer(bob->GetID()), bob.Get());
    EXPECT_EQ(Net().FindPlayerByName("Ann"), ann.Get());
    EXPECT_EQ(Net().FindPlayerByAddress(Network::Tun_Address("127.0.0.1", 40001)), bob.Get());
    EXPECT_EQ(Net().FindPlayerByAddress(Network::Tun_Address("127.0.0.1", 40002)), nullptr);
    EXPECT_NE(ann->GetMirrorKeyboard(), nullptr) << "a host mirrors its remote players' devices";
}

TEST_F(TunNetPlayersTest, TheHostsOwnLeavingEndsTheSessionOnce) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    RecordingListener::Clear();
    const Core::RefPtr<Tundra::TunPlayer> host = Net().GetLocalPlayer();
    ASSERT_TRUE(Net().PlayerLeft(host.Get()));
    testsupport::PumpFrames(Net(), 5);
    EXPECT_EQ(RecordingListener::Kinds(), (std::vector<Kind>{Kind::PlayerLeaving, Kind::SessionEnded}));
    EXPECT_EQ(RecordingListener::Heard()[0].playerId, host->GetID());
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 0u);
    EXPECT_FALSE(Net().IsNetworkGame());
}

TEST_F(TunNetPlayersTest, ARemotePlayerLeavingIsToldToTheOthers) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    testsupport::JoinedWireClient ann = testsupport::JoinWireClient(Net(), "Ann");
    ASSERT_GT(ann.result, 0);
    testsupport::WirePeer peer = testsupport::WirePeer::OpenDatagram();
    const Core::RefPtr<Tundra::TunPlayer> bob = testsupport::AddRemotePlayer(Net(), peer.GetLocalPort(), "Bob");
    ASSERT_NE(bob, nullptr);
    RecordingListener::Clear();
    ASSERT_TRUE(Net().PlayerLeft(bob.Get()));
    EXPECT_EQ(RecordingListener::Kinds(), std::vector<Kind>{Kind::PlayerLeaving});
    EXPECT_EQ(Net().FindPlayer(bob->GetID()), nullptr);
    EXPECT_TRUE(Net().IsNetworkGame());
    const auto told = ann.client.ReadUntil(kPlayerLeft);
    ASSERT_TRUE(told.has_value());
    EXPECT_EQ(told->payload, testsupport::PlayerRecord(bob->GetID(), false, peer.GetLocalPort(), "Bob"));
}

TEST_F(TunNetPlayersTest, AClientToldItsHostLeftEndsItsSession) {
    JoinWireHost();
    ASSERT_TRUE(m_host.Connection().Write(
        testsupport::FramedMessage(kPlayerLeft, testsupport::PlayerRecord(kHostId, true, 40000, "Host"))));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [] { return RecordingListener::Count(Kind::SessionEnded) > 0; }));
    testsupport::PumpFrames(Net(), 5);
    EXPECT_EQ(RecordingListener::Kinds(), (std::vector<Kind>{Kind::PlayerLeaving, Kind::SessionEnded}));
    EXPECT_EQ(RecordingListener::Heard()[0].playerId, kHostId);
    EXPECT_EQ(Net().GetSessionPlayersNumber(), 0u);
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_FALSE(Net().IsNetworkGame());
    EXPECT_TRUE(m_host.Connection().WaitClosed());
}

TEST_F(TunNetPlayersTest, AHostTextToAllEchoesWithoutRemotePlayers) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    RecordingListener::Clear();
    EXPECT_TRUE(Net().SendTextMessage(true, "hi", true));
    ASSERT_EQ(RecordingListener::Kinds(), std::vector<Kind>{Kind::Text});
    EXPECT_EQ(RecordingListener::Heard()[0].text, "hi");
    EXPECT_EQ(RecordingListener::Heard()[0].senderId, Net().GetLocalPlayer()->GetID());
    EXPECT_TRUE(Net().SendTextMessage(false, "quiet", false));
    EXPECT_EQ(RecordingListener::Heard().size(), 1u);
}

TEST_F(TunNetPlayersTest, HostTextsNameTheirTarget) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    testsupport::JoinedWireClient ann = testsupport::JoinWireClient(Net(), "Ann");
    ASSERT_GT(ann.result, 0);
    Tundra::TunPlayer* annPlayer = Net().FindPlayerByName("Ann");
    ASSERT_NE(annPlayer, nullptr);
    const Core::RefPtr<Tundra::TunGroup> team(TUN_NEW(Tundra::TunGroup, "Team", nullptr));
    team->AddPlayer(annPlayer);
    ASSERT_TRUE(Net().CreateGroup(team.Get()));
    const std::uint32_t hostId = Net().GetLocalPlayer()->GetID();
    struct Case {
        const char* form;
        std::function<bool()> send;
        std::uint32_t target;
    };
    const Case cases[] = {
        {"all", [&] { return Net().SendTextMessage(true, "a", false); }, kAllPlayersId},
        {"group", [&] { return Net().SendTextMessage(true, "g", team.Get(), false); }, team->GetID()},
        {"player", [&] { return Net().SendTextMessageToPlayer(true, "p", annPlayer, false); }, annPlayer->GetID()},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.send()) << c.form;
        const auto text = ann.client.ReadUntil(kText);
        ASSERT_TRUE(text.has_value()) << c.form;
        EXPECT_EQ(text->payload, TextPayload(hostId, c.target, std::string_view(c.form, 1))) << c.form;
    }
    EXPECT_FALSE(Net().SendTextMessage(true, "x", static_cast<Tundra::TunGroup*>(nullptr), false));
    EXPECT_FALSE(Net().SendTextMessageToPlayer(true, "x", nullptr, false));
}

TEST_F(TunNetPlayersTest, ClientTextsGoToTheHostNamingTheirTarget) {
    JoinWireHost();
    Tundra::TunPlayer* host = Net().FindPlayer(kHostId);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(Net().SendTextMessageToPlayer(true, "p", host, true));
    ASSERT_TRUE(Net().SendTextMessage(true, "a", false));
    const auto toPlayer = HostReads();
    const auto toAll = HostReads();
    ASSERT_TRUE(toPlayer.has_value() && toAll.has_value());
    EXPECT_EQ(toPlayer->type, kText);
    EXPECT_EQ(toPlayer->payload, TextPayload(kClientId, kHostId, "p"));
    EXPECT_EQ(toAll->payload, TextPayload(kClientId, kAllPlayersId, "a"));
    ASSERT_EQ(RecordingListener::Kinds(), std::vector<Kind>{Kind::Text}) << "the echo asked for";
    EXPECT_EQ(RecordingListener::Heard()[0].senderId, kClientId);
}

TEST_F(TunNetPlayersTest, ClientGroupsAreAskedOfTheHost) {
    JoinWireHost();
    const Core::RefPtr<Tundra::TunGroup> empty(TUN_NEW(Tundra::TunGroup, "Empty", nullptr));
    EXPECT_FALSE(Net().CreateGroup(empty.Get()));
    EXPECT_FALSE(HostReads(milliseconds(50)).has_value()) << "nothing sent for a group without players";

    const Core::RefPtr<Tundra::TunGroup> team(TUN_NEW(Tundra::TunGroup, "Team", nullptr));
    team->AddPlayer(Net().FindPlayer(kHostId));
    team->AddPlayer(Net().GetLocalPlayer());
    ASSERT_TRUE(Net().CreateGroup(team.Get()));
    EXPECT_EQ(team->GetOwner(), Net().GetLocalPlayer());
    EXPECT_FALSE(Net().CreateGroup(team.Get())) << "listed already";
    Bytes create = testsupport::U32Payload(kClientId);
    testsupport::AppendU32(create, team->GetID());
    testsupport::AppendString(create, "Team");
    testsupport::AppendU32(create, kHostId);
    testsupport::AppendU32(create, kClientId);
    const auto created = HostReads();
    ASSERT_TRUE(created.has_value());
    EXPECT_EQ(created->type, kGroupCreate);
    EXPECT_EQ(created->payload, create);
    EXPECT_EQ(Net().FindGroupByName("Team"), team.Get());
    EXPECT_EQ(Net().FindGroup(team->GetID()), team.Get());
    EXPECT_EQ(Net().FindGroup(team->GetID(), Net().FindPlayer(kHostId)), nullptr) << "another owner's";
    EXPECT_NE(Net().FindGroup(kAllPlayersId, Net().FindPlayer(kHostId)), nullptr) << "nobody's group";

    ASSERT_TRUE(Net().DestroyGroup(team.Get()));
    Bytes destroy = testsupport::U32Payload(kClientId);
    testsupport::AppendU32(destroy, team->GetID());
    const auto destroyed = HostReads();
    ASSERT_TRUE(destroyed.has_value());
    EXPECT_EQ(destroyed->type, kGroupDestroy);
    EXPECT_EQ(destroyed->payload, destroy);
    EXPECT_EQ(Net().FindGroupByName("Team"), nullptr);
    EXPECT_FALSE(Net().DestroyGroup(Net().GetAllPlayersGroup()));
}

// On a client too no group keeps a player that left, nor any player once the
// session is over.
TEST_F(TunNetPlayersTest, AClientsGroupsLetGoOfPlayersThatLeft) {
    JoinWireHost();
    constexpr std::uint32_t kDeeId = 8;
    ASSERT_TRUE(m_host.Connection().Write(
        testsupport::FramedMessage(3, testsupport::PlayerRecord(kDeeId, false, 40001, "Dee"))));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [&] { return Net().FindPlayer(kDeeId) != nullptr; }));
    const Core::RefPtr<Tundra::TunPlayer> dee = Net().FindPlayer(kDeeId);
    const Core::RefPtr<Tundra::TunGroup> team(TUN_NEW(Tundra::TunGroup, "Team", nullptr));
    for (const std::uint32_t id : {kHostId, kDeeId, kClientId}) {
        team->AddPlayer(Net().FindPlayer(id));
    }
    ASSERT_TRUE(Net().CreateGroup(team.Get()));

    ASSERT_TRUE(m_host.Connection().Write(
        testsupport::FramedMessage(kPlayerLeft, testsupport::PlayerRecord(kDeeId, false, 40001, "Dee"))));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [&] { return Net().FindPlayer(kDeeId) == nullptr; }));
    EXPECT_EQ(team->GetPlayerCount(), 2u);
    EXPECT_EQ(team->QueryPlayer(kDeeId), nullptr);
    EXPECT_EQ(dee->GetReferenceCount(), 1u);

    ASSERT_TRUE(m_host.Connection().Write(
        testsupport::FramedMessage(kPlayerLeft, testsupport::PlayerRecord(kHostId, true, 40000, "Host"))));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [] { return RecordingListener::Count(Kind::SessionEnded) > 0; }));
    EXPECT_EQ(team->GetPlayerCount(), 0u);
    EXPECT_EQ(Tundra::TunNetTestAccess::GetGroups(Net()).size(), 1u) << "only All_Players";
}

TEST_F(TunNetPlayersTest, APlayerOwnsAtMostSixtyFourGroups) {
    JoinWireHost();
    std::vector<Core::RefPtr<Tundra::TunGroup>> groups;
    for (int i = 0; i < 65; ++i) {
        groups.emplace_back(TUN_NEW(Tundra::TunGroup, "G", nullptr));
        groups.back()->AddPlayer(Net().GetLocalPlayer());
    }
    for (int i = 0; i < 64; ++i) {
        ASSERT_TRUE(Net().CreateGroup(groups[i].Get())) << i;
    }
    EXPECT_FALSE(Net().CreateGroup(groups[64].Get()));
    EXPECT_EQ(Net().FindGroup(groups[64]->GetID()), nullptr);
    ASSERT_TRUE(Net().DestroyGroup(groups[0].Get()));
    EXPECT_TRUE(Net().CreateGroup(groups[64].Get())) << "room again";
}

TEST_F(TunNetPlayersTest, HostGroupsAreListedWithoutPackets) {
    EXPECT_FALSE(Net().CreateGroup(nullptr));
    const Core::RefPtr<Tundra::TunGroup> team(TUN_NEW(Tundra::TunGroup, "Team", nullptr));
    EXPECT_FALSE(Net().CreateGroup(team.Get())) << "no session";
    ASSERT_TRUE(testsupport::StartHost(Net()));
    EXPECT_GT(team->GetID(), kAllPlayersId);
    EXPECT_EQ(Net().GetAllPlayersGroup()->GetID(), kAllPlayersId);
    ASSERT_TRUE(Net().CreateGroup(team.Get()));
    EXPECT_EQ(Net().FindGroupByName("Team"), team.Get());
    ASSERT_TRUE(Net().DestroyGroup(team.Get()));
    EXPECT_EQ(Net().FindGroupByName("Team"), nullptr);
    EXPECT_EQ(Net().FindGroupByName("All_Players"), Net().GetAllPlayersGroup());
}

TEST_F(TunNetPlayersTest, EveryFrontEndsAllPlayersIsGroupOne) {
    const Tundra::TunNet second;
    EXPECT_EQ(second.GetAllPlayersGroup()->GetID(), kAllPlayersId);
    EXPECT_EQ(second.GetAllPlayersGroup()->GetName(), "All_Players");
    EXPECT_EQ(second.GetAllPlayersGroup()->GetOwner(), nullptr);
}

}  // namespace
