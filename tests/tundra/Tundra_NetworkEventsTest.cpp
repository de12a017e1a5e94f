// The game's side of networking: the listener that turns the front end's
// messages into the game's hooks, the sessions of the game's network name,
// and what a client tells its host after a level change.
#include "Tundra_ScriptChunk.h"
#include "network/Network_NetMessage.h"
#include "network/Network_TunNet.h"
#include "network/Network_TunPlayer.h"
#include "os/OS_Sleep.h"
#include "support/Network_FrontEndFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace network_events_test {

using namespace testsupport;
using Tundra::NetMessageKind;
using Tundra::TunPacket;
using Log = std::vector<std::string>;

constexpr std::uint32_t Type(TunPacket type) { return static_cast<std::uint32_t>(type); }
constexpr std::uint32_t kHostPlayerId = 9001;

class NetworkEventsTest : public FrontEndGameTest {
protected:
    // Game frames on the real clock until done holds or the limit passes.
    bool FramesUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end && m_game) {
            Step(1);
            os::Sleep(2);
        }
        return done();
    }
    static Log NetLog() { return Entries("net "); }
    void Announce(std::uint16_t port, const char* networkId) {
        m_announcer.SendDatagram(DiscoveryPort(), FramedMessage(0, Announcement(port, 4, 1, false, "Room", networkId)));
    }
    // Browsing as "EL", the wire host announced and listed.
    bool BrowseTheWireHost() {
        if (!m_game->NetworkStart("EL")) {
            return false;
        }
        Announce(m_host.GetPort(), "EL");
        return FramesUntil([&] { return m_game->GetOnlineSessions().size() == 1; });
    }
    // The script joins the listed session; the wire host answers with the
    // id (or refusal) and, when it admits, its own player's record.
    bool JoinThroughScript(std::int32_t answer) {
        std::vector<Bytes> replies{FramedMessage(Type(TunPacket::JoinResult), U32Payload(static_cast<std::uint32_t>(answer)))};
        if (answer > 0) {
            replies.push_back(FramedMessage(Type(TunPacket::PlayerJoined), PlayerRecord(kHostPlayerId, true, 40000, "Host")));
        }
        m_host.AnswerJoin(std::move(replies));
        double joined = -1.0;
        const bool ran = tundratest::RunChunk(
            "return Game:JoinNetworkGame('Ann', Game:GetOnlineSession(0), 'pw')", 1,
            [&](lua_State* state, int first) { joined = tundratest::NumberAt(state, first); });
        m_host.JoinRequestRead();
        return ran && joined == 1.0;
    }

    WirePeer m_announcer = WirePeer::OpenDatagram();
    WireHost m_host;
};

// Messages as the front end makes them, straight to the game's listener.
TEST_F(NetworkEventsTest, EachKindReachesItsHookWithWhatTheMessageCarries) {
    Tundra::TunPlayer* player = TUN_NEW(Tundra::TunPlayer, "Ann", false, false, Network::Tun_Address());
    const Core::RefPtr<Tundra::TunPlayer> held = player;
    player->SetID(7);
    const std::int32_t accepted = 5;
    const std::int32_t refused = -2;
    const std::int32_t first = 0;
    const std::uint8_t bytes[] = {1, 2, 0xAB};
    const auto message = [](Tundra::NetMessage* made) { return Core::RefPtr<Tundra::NetMessage>(made); };
    using Tundra::NetDataMessage;
    struct Case {
        const char* what;
        Core::RefPtr<Tundra::NetMessage> message;
        Log heard;
    };
    const Case cases[] = {
        {"hosted", message(TUN_NEW(Tundra::NetSessionMessage, NetMessageKind::SessionHosted, Network::Tun_Address())),
         {"net hosted"}},
        {"joined", message(TUN_NEW(Tundra::NetSessionMessage, NetMessageKind::SessionJoined, Network::Tun_Address())),
         {"net joined"}},
        {"join request", message(TUN_NEW(Tundra::NetPlayerMessage, NetMessageKind::JoinRequest, player)),
         {"net join request 7"}},
        {"accepted as 5", message(TUN_NEW(NetDataMessage, NetMessageKind::JoinAnswer, 0, 0, &accepted, nullptr)),
         {"net join answer 0"}},
        {"accepted as 0", message(TUN_NEW(NetDataMessage, NetMessageKind::JoinAnswer, 0, 0, &first, nullptr)),
         {"net join answer 0"}},
        {"refused", message(TUN_NEW(NetDataMessage, NetMessageKind::JoinAnswer, 0, 0, &refused, nullptr)),
         {"net join answer -2"}},
        {"player added", message(TUN_NEW(Tundra::NetPlayerMessage, NetMessageKind::PlayerAdded, player)),
         {"net player added 7"}},
        {"player leaving", message(TUN_NEW(Tundra::NetPlayerMessage, NetMessageKind::PlayerLeaving, player)),
         {"net player leaving 7"}},
        {"text", message(TUN_NEW(Tundra::NetTextMessage, "hi there", player)), {"net text 7 hi there"}},
        {"data", message(TUN_NEW(NetDataMessage, NetMessageKind::Data, 2, 3, bytes, player)), {"net data 7 2 3 0102ab"}},
        {"empty data", message(TUN_NEW(NetDataMessage, NetMessageKind::Data, 4, 0, nullptr, player)),
         {"net data 7 4 0 null"}},
        {"ended outside a session",
         message(TUN_NEW(Tundra::NetSessionMessage, NetMessageKind::SessionEnded, Network::Tun_Address())),
         {"net ended"}},
        {"kind 9", message(TUN_NEW(Tundra::NetMessage, static_cast<NetMessageKind>(9))), {}},
        {"kind 1000", message(TUN_NEW(Tundra::NetMessage, static_cast<NetMessageKind>(1000))), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tundratest::Log().clear();
        EXPECT_TRUE(Tundra::Game::NetworkEventDispatch(c.message.Get()));
        EXPECT_EQ(NetLog(), c.heard);
    }
    // The game's answer admits or refuses a player.
    m_game->admitPlayers = false;
    EXPECT_FALSE(Tundra::Game::NetworkEventDispatch(cases[2].message.Get()));
    EXPECT_FALSE(Tundra::Game::NetworkEventDispatch(nullptr));
    m_game->Shutdown();
    m_game = nullptr;
    tundratest::Log().clear();
    EXPECT_FALSE(Tundra::Game::NetworkEventDispatch(cases[0].message.Get())) << "no game listens";
    EXPECT_TRUE(NetLog().empty());
}

TEST_F(NetworkEventsTest, OnlyTheSessionsOfTheNetworkNameAreListedAndTheyAgeOut) {
    Step(3);
    EXPECT_TRUE(m_game->GetOnlineSessions().empty()) << "never started";
    ASSERT_TRUE(m_game->NetworkStart("EL"));
    Announce(40001, "el");
    Announce(40002, "ELX");
    Announce(40003, "E");
    Announce(40000, "EL");
    ASSERT_TRUE(FramesUntil([&] { return Net().GetFoundSessions().size() == 4; }));
    ASSERT_EQ(m_game->GetOnlineSessions().size(), 1u);
    EXPECT_EQ(m_game->GetOnlineSessions()[0].GetAddress().GetPort(), 40000);

    std::vector<double> numbers;
    std::string texts;
    ASSERT_TRUE(tundratest::RunChunk(
        "local s = Game:GetOnlineSession(0) "
        "return Game:GetOnlineSessionsCount(), s:GetSessionMaxPlayers(), s:GetSessionPlayersNumber(), "
        "s:IsPasswordProtected(), select('#', Game:GetOnlineSession(1)), select('#', Game:GetOnlineSession(-1)), "
        "select('#', Game:GetOnlineSession('0')), s:GetHostName() .. '/' .. s:GetNetworkID()",
        8, [&](lua_State* state, int first) {
            for (int i = 0; i < 7; ++i) {
                numbers.push_back(tundratest::NumberAt(state, first + i));
            }
            texts = tundratest::TextAt(state, first + 7);
        }));
    EXPECT_EQ(numbers, (std::vector<double>{1, 4, 1, 0, 0, 0, 0}));
    EXPECT_EQ(texts, "Room/EL");

    // Heard no more, they leave the list within the time-out.
    EXPECT_TRUE(FramesUntil([&] { return m_game->GetOnlineSessions().empty(); }));
    EXPECT_TRUE(Net().GetFoundSessions().empty());
}

TEST_F(NetworkEventsTest, AScriptJoinsAListedSessionAndHearsTheAnswerAsTheHookTakesIt) {
    struct Case {
        std::int32_t answer;
        bool joins;
        const char* heard;
    };
    ASSERT_TRUE(BrowseTheWireHost());
    // Refused, the client browses on and may join again.
    for (const Case& c : {Case{-2, false, "net join answer -2"}, Case{5, true, "net join answer 0"}}) {
        SCOPED_TRACE(c.answer);
        tundratest::Log().clear();
        EXPECT_EQ(JoinThroughScript(c.answer), c.joins);
        const Log heard = NetLog();
        EXPECT_EQ(std::count(heard.begin(), heard.end(), c.heard), 1);
        EXPECT_EQ(std::count(heard.begin(), heard.end(), "net joined"), c.joins ? 1 : 0);
        EXPECT_EQ(Net().IsConnected(), c.joins);
    }
}

TEST_F(NetworkEventsTest, AClientTellsTheHostItsPlayerIdAfterALevelChange) {
    ASSERT_TRUE(BrowseTheWireHost());
    ASSERT_TRUE(JoinThroughScript(5));
    m_game->RestartLevel();
    ASSERT_TRUE(FramesUntil([&] { return !m_game->IsLevelChangePending(); }));
    std::optional<WireMessage> report;
    do {
        report = m_host.Connection().ReadMessage();
    } while (report && report->type != Type(TunPacket::SnapshotRequest));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->payload, U32Payload(5));
}

TEST_F(NetworkEventsTest, AClientWhoseHostLeftDropsItsCopiesBeforeTheHookAndBrowsesAgain) {
    ASSERT_TRUE(BrowseTheWireHost());
    ASSERT_TRUE(JoinThroughScript(5));
    ASSERT_TRUE(FramesUntil([&] { return Net().GetSessionPlayersNumber() == 2; }));
    std::vector<Core::RefPtr<tundratest::TestObject>> copies;
    for (const char* name : {"a", "b", "c"}) {
        copies.emplace_back(&Spawn(name));
    }
    Step(1);
    for (const Core::RefPtr<tundratest::TestObject>& copy : copies) {
        ASSERT_TRUE(Net().AddReplicatedObject(copy.Get()));
    }
    std::size_t replicatedAtHook = 99;
    std::size_t inLayersAtHook = 99;
    tundratest::OnRecord() = [&](const std::string& entry) {
        if (entry == "net ended") {
            replicatedAtHook = Net().GetReplicatedObjects().size();
            // Erased: the layer finds them no more and lets go at its next update.
            inLayersAtHook = 0;
            for (const char* name : {"a", "b", "c"}) {
                std::vector<Tundra::GameObject*> found;
                LayerAt(0).GetGameObjectsByName(name, found);
                inLayersAtHook += found.size();
            }
        }
    };
    tundratest::Log().clear();
    m_host.Connection().Close();
    ASSERT_TRUE(FramesUntil([&] { return !Entries("net ended").empty(); }));
    tundratest::OnRecord() = nullptr;
    const Log heard = NetLog();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].rfind("net player leaving ", 0), 0u);
    EXPECT_EQ(heard[1], "net ended");
    EXPECT_EQ(replicatedAtHook, 0u);
    EXPECT_EQ(inLayersAtHook, 0u);
    EXPECT_FALSE(Net().IsNetworkGame());
    Step(1);
    for (const Core::RefPtr<tundratest::TestObject>& copy : copies) {
        EXPECT_EQ(copy->GetLayer(), nullptr);
    }

    // Browsing again: a new session of the network name is listed.
    Announce(40010, "EL");
    EXPECT_TRUE(FramesUntil([&] { return m_game->GetOnlineSessions().size() == 1; }));
}

TEST_F(NetworkEventsTest, AHostStartedThroughTheGameTellsItsHooks) {
    EXPECT_FALSE(m_game->HostNetworkGame("Room", "Host", "", 4)) << "networking first";
    ASSERT_TRUE(m_game->NetworkStart("EL"));
    tundratest::Log().clear();
    ASSERT_TRUE(m_game->HostNetworkGame("Room", "Host", "", 4));
    const Tundra::TunPlayer* host = Net().GetLocalPlayer();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(NetLog(), (Log{"net hosted", "net player added " + std::to_string(host->GetID())}));
    EXPECT_TRUE(Net().IsNetworkGame() && Net().IsHost());
    EXPECT_EQ(Net().GetNetworkName(), "EL");
}

// The front end is not destroyed under its own update.
TEST_F(NetworkEventsTest, AHookShuttingTheGameDownDuringTheDrainEndsItAfterTheUpdate) {
    ASSERT_TRUE(m_game->NetworkStart("EL"));
    ASSERT_TRUE(m_game->HostNetworkGame("Room", "Host", "", 4));
    WireClient ann = ConnectWireClient(HostPort(Net()));
    tundratest::OnRecord() = [&](const std::string& entry) {
        if (entry.rfind("net join request", 0) == 0) {
            m_game->Shutdown();
        }
    };
    ASSERT_TRUE(ann.RequestJoin("", "Ann"));
    EXPECT_TRUE(FramesUntil([&] { return m_game->GetNetworkEngine() == nullptr; }));
    tundratest::OnRecord() = nullptr;
    EXPECT_TRUE(ann.stream.WaitClosed());
    m_game = nullptr;
}

}  // namespace network_events_test
