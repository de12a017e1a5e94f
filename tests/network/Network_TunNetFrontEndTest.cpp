#include "core/Core_Clock.h"
#include "core/Core_ErrorLogTestHooks.h"
#include "input/Input_KeyboardImp.h"
#include "network/Network_TunNetTestHooks.h"
#include "support/Network_FrontEndFixture.h"

#include <gtest/gtest.h>

namespace {

using Kind = Tundra::NetMessageKind;
using testsupport::RecordingListener;
using testsupport::WirePeer;
using std::chrono::milliseconds;

constexpr std::uint32_t kLevelName = 12;
constexpr std::uint32_t kPingRequest = 17;

class TunNetFrontEndTest : public testsupport::FrontEndTest {};
class TunNetFrontEndGameTest : public testsupport::FrontEndGameTest {};

TEST_F(TunNetFrontEndTest, RolesFollowTheLifecycle) {
    Tundra::TunNet& net = Net();
    EXPECT_FALSE(net.IsNetworkGame());
    EXPECT_FALSE(net.IsHost());
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);

    ASSERT_TRUE(net.Start(true, &RecordingListener::Listen, "Room", "", 5, 3, 60, 3000, 0));
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), &net);
    EXPECT_FALSE(net.IsNetworkGame());
    EXPECT_TRUE(net.IsHost());
    ASSERT_TRUE(net.HostSession("Host", 4, 1, 0.25f));
    EXPECT_TRUE(net.IsNetworkGame());
    EXPECT_EQ(RecordingListener::Kinds(), (std::vector<Kind>{Kind::SessionHosted, Kind::PlayerAdded}));
    const Tundra::TunPlayer* host = net.GetLocalPlayer();
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(host->IsLocal() && host->IsHost());
    EXPECT_NE(host->GetAddress().GetPort(), 0) << "the bound port, not the one asked for";
    EXPECT_EQ(RecordingListener::Heard()[0].hostAddress.GetPort(), host->GetAddress().GetPort());
    EXPECT_FALSE(net.HostSession("Again", 4, 1, 0.25f));

    EXPECT_TRUE(net.Shutdown());
    EXPECT_FALSE(net.IsNetworkGame());
    EXPECT_EQ(net.GetLocalPlayer(), nullptr);
    EXPECT_EQ(net.GetSessionPlayersNumber(), 0u);
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
    EXPECT_FALSE(net.Shutdown()) << "no session runs";
}

TEST_F(TunNetFrontEndTest, RoleQueriesReadTheFourFields) {
    const Core::RefPtr<Tundra::TunPlayer> player(TUN_NEW(Tundra::TunPlayer));
    struct Case {
        bool isHost, hosting, connected, withPlayer, networkGame;
    };
    const Case cases[] = {
        {false, false, false, false, false},  // fresh
        {true, false, false, true, false},    // started host, not hosting
        {true, true, false, true, true},      // hosting
        {false, false, false, true, false},   // client not connected
        {false, false, true, true, true},     // joined client
        {false, false, true, false, false},   // no local player
    };
    for (const Case& c : cases) {
        Tundra::TunPlayer* local = c.withPlayer ? player.Get() : nullptr;
        Tundra::TunNetTestAccess::SetRoles(Net(), c.isHost, c.hosting, c.connected, local);
        EXPECT_EQ(Net().IsNetworkGame(), c.networkGame) << c.isHost << c.hosting << c.connected << c.withPlayer;
        EXPECT_EQ(Net().IsHost(), c.isHost);
    }
    Tundra::TunNetTestAccess::SetRoles(Net(), false, false, false, nullptr);
}

TEST_F(TunNetFrontEndTest, ASecondStartFailsAndTheFirstSessionRunsOn) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    Network::Tun_Session* session = Tundra::TunNetTestAccess::GetSession(Net());
    Tundra::TunNet other;
    EXPECT_FALSE(other.Start(false, &RecordingListener::Listen, "", "", 5, 3, 60, 3000, 0));
    EXPECT_FALSE(Net().Start(true, &RecordingListener::Listen, "Room", "", 5, 3, 60, 3000, 0));
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), &Net());
    EXPECT_EQ(Tundra::TunNetTestAccess::GetSession(Net()), session);
    EXPECT_TRUE(Net().IsNetworkGame());
    EXPECT_FALSE(other.Shutdown());
}

TEST_F(TunNetFrontEndTest, SendsNeedAHostingHostOrAJoinedClient) {
    const std::uint8_t payload[4] = {1, 2, 3, 4};
    EXPECT_FALSE(Net().SendToGroup(kLevelName, payload, 4, nullptr, true)) << "no session";
    ASSERT_TRUE(Net().Start(true, &RecordingListener::Listen, "Room", "", 5, 3, 60, 3000, 0));
    EXPECT_FALSE(Net().SendToGroup(kLevelName, payload, 4, nullptr, false)) << "started, not hosting";
    EXPECT_FALSE(Net().SendToPlayer(kLevelName, payload, 4, nullptr, false));
    ASSERT_TRUE(Net().HostSession("Host", 4, 1, 0.25f));
    EXPECT_TRUE(Net().SendToGroup(kLevelName, payload, 4, nullptr, true)) << "nobody to send to";
    EXPECT_TRUE(Net().SendToGroup(kLevelName, payload, 4, nullptr, false));
    EXPECT_FALSE(Net().SendToPlayer(kLevelName, payload, 4, nullptr, false)) << "no player";
    ASSERT_TRUE(Net().Shutdown());

    ASSERT_TRUE(testsupport::StartClient(Net()));
    EXPECT_FALSE(Net().SendToGroup(kLevelName, payload, 4, nullptr, true)) << "browsing";
    EXPECT_FALSE(Net().SendToPlayer(kLevelName, payload, 4, nullptr, false));
}

TEST_F(TunNetFrontEndTest, TheHostAnnouncesItsSessionAndItsPlayers) {
    WirePeer discovery = testsupport::OpenDiscoveryListener(DiscoveryPort());
    ASSERT_TRUE(discovery.IsOpen());
    Net().SetNetworkName("EL");
    ASSERT_TRUE(testsupport::StartHost(Net(), "Room", "pw", 4));
    const std::uint16_t port = testsupport::HostPort(Net());
    const auto first = testsupport::ReceiveDatagramMessage(discovery);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->type, 0u);
    EXPECT_EQ(first->payload, testsupport::Announcement(port, 4, 1, true, "Room", "EL"));

    WirePeer peer = WirePeer::OpenDatagram();
    ASSERT_NE(testsupport::AddRemotePlayer(Net(), peer.GetLocalPort()), nullptr);
    const testsupport::Bytes twoPlayers = testsupport::Announcement(port, 4, 2, true, "Room", "EL");
    EXPECT_TRUE(testsupport::PumpUntil(Net(), [&] {
        const auto heard = testsupport::ReceiveDatagramMessage(discovery, milliseconds(1));
        return heard && heard->payload == twoPlayers;
    }));
}

TEST_F(TunNetFrontEndTest, AFoundSessionAgesOutAfterHalfASecond) {
    ASSERT_TRUE(testsupport::StartClient(Net()));
    EXPECT_EQ(Net().GetSessionListTimeOut(), 0.5f);
    WirePeer host = WirePeer::OpenDatagram();
    const testsupport::Bytes announcement = testsupport::Announcement(40000, 4, 1, false, "Room", "EL");
    ASSERT_TRUE(host.SendDatagram(DiscoveryPort(), testsupport::FramedMessage(0, announcement)));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [&] { return !Net().GetFoundSessions().empty(); }, milliseconds(2000),
                                       0.0f));
    Net().Update(0.25f);
    EXPECT_EQ(Net().GetFoundSessions().size(), 1u);
    Net().Update(0.25f);
    EXPECT_TRUE(Net().GetFoundSessions().empty());
}

TEST_F(TunNetFrontEndTest, OnePingIsOutstandingPerPlayerAndItsAnswerSetsThePingTime) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    WirePeer peer = WirePeer::OpenDatagram();
    Tundra::TunPlayer* player = testsupport::AddRemotePlayer(Net(), peer.GetLocalPort());
    ASSERT_NE(player, nullptr);
    const Core::RefPtr<Tundra::TunPlayer> held(player);

    // The ping goes out during this update, not before.
    const double pingSentNoEarlier = Core::GetMilliseconds();
    Net().Update(1.0f / 60.0f);
    const auto ping = testsupport::ReceiveDatagramMessage(peer);
    ASSERT_TRUE(ping.has_value());
    EXPECT_EQ(ping->type, kPingRequest);
    EXPECT_EQ(ping->payload, testsupport::U32Payload(Net().GetLocalPlayer()->GetID()));
    // Answered 20 ms after it arrived, the host running on meanwhile.
    const auto answerAt = std::chrono::steady_clock::now() + milliseconds(20);
    testsupport::PumpUntil(Net(), [&] { return std::chrono::steady_clock::now() >= answerAt; });
    ASSERT_TRUE(peer.SendDatagram(testsupport::HostPort(Net()),
                                  testsupport::FramedMessage(18, testsupport::U32Payload(player->GetID()))));
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [&] { return player->GetPingTime() > 0.0; }));
    const double answerHandledNoLater = Core::GetMilliseconds();
    EXPECT_GE(player->GetPingTime(), 20.0);
    EXPECT_LE(player->GetPingTime(), answerHandledNoLater - pingSentNoEarlier) << "from its own ping to its answer";
    const std::vector<testsupport::WireMessage> meanwhile = testsupport::ReceiveDatagramsUntilQuiet(peer);
    EXPECT_EQ(testsupport::CountOfType(meanwhile, kPingRequest), 0u) << "none while one was outstanding";
    EXPECT_EQ(testsupport::CountOfType(meanwhile, kLevelName), 0u) << "no level, no level name";

    // A second answer to the same ping says nothing; the next frame pings again.
    const double measured = player->GetPingTime();
    Net().RecordPingAnswer(player->GetID(), Core::GetMilliseconds() + 5000.0);
    EXPECT_EQ(player->GetPingTime(), measured);
    testsupport::PumpFrames(Net(), 1);
    EXPECT_EQ(testsupport::CountOfType(testsupport::ReceiveDatagramsUntilQuiet(peer), kPingRequest), 1u);
}

TEST_F(TunNetFrontEndTest, AnUnansweredPingGoesAgainAfterASecond) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    WirePeer peer = WirePeer::OpenDatagram();
    ASSERT_NE(testsupport::AddRemotePlayer(Net(), peer.GetLocalPort()), nullptr);
    testsupport::PumpFrames(Net(), 1);
    ASSERT_EQ(testsupport::CountOfType(testsupport::ReceiveDatagramsUntilQuiet(peer), kPingRequest), 1u);
    EXPECT_TRUE(testsupport::PumpUntil(Net(), [&] {
        const auto heard = testsupport::ReceiveDatagramMessage(peer, milliseconds(1));
        return heard && heard->type == kPingRequest;
    }));
}

TEST_F(TunNetFrontEndTest, AShutdownFromTheListenerWaitsForTheDrain) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    bool answered = false;
    std::size_t heardBefore = 0;
    RecordingListener::SetReaction([&](const testsupport::HeardMessage& heard) {
        if (heard.kind == Kind::PlayerAdded && !heard.playerIsLocal) {
            answered = Net().Shutdown();
            heardBefore = RecordingListener::Heard().size();
        }
    });
    testsupport::JoinedWireClient joined = testsupport::JoinWireClient(Net(), "Ann");
    EXPECT_GT(joined.result, 0);
    EXPECT_TRUE(answered);
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
    EXPECT_EQ(Tundra::TunNetTestAccess::GetSession(Net()), nullptr);
    EXPECT_FALSE(Net().IsNetworkGame());
    EXPECT_EQ(RecordingListener::Heard().size(), heardBefore) << "no event follows";
    EXPECT_TRUE(joined.client.stream.WaitClosed());
    EXPECT_TRUE(testsupport::StartHost(Net())) << "a new session can start";
}

TEST_F(TunNetFrontEndTest, AShutdownDuringTheJoinAnswerEndsTheJoin) {
    ASSERT_TRUE(testsupport::StartClient(Net()));
    testsupport::WireHost host;
    host.AnswerJoin({testsupport::FramedMessage(2, testsupport::U32Payload(7)),
                     testsupport::FramedMessage(3, testsupport::PlayerRecord(3, true, host.GetPort(), "Host"))});
    RecordingListener::SetReaction([&](const testsupport::HeardMessage& heard) {
        if (heard.kind == Kind::JoinAnswer) {
            EXPECT_TRUE(Net().Shutdown());
        }
    });
    EXPECT_FALSE(Net().JoinSession("Ann", host.Address(), ""));
    EXPECT_EQ(RecordingListener::Kinds(), (std::vector<Kind>{Kind::PlayerAdded, Kind::JoinAnswer}));
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
    EXPECT_EQ(Net().GetLocalPlayer(), nullptr);
    EXPECT_FALSE(Net().IsNetworkGame());
}

TEST_F(TunNetFrontEndTest, AJoinTakesTheAnswerThenThePlayersBehindIt) {
    ASSERT_TRUE(testsupport::StartClient(Net()));
    testsupport::WireHost host;
    host.AnswerJoin({testsupport::FramedMessage(2, testsupport::U32Payload(7)),
                     testsupport::FramedMessage(3, testsupport::PlayerRecord(3, true, 40000, "Host"))});
    ASSERT_TRUE(Net().JoinSession("Ann", host.Address(), "pw"));
    // The host's record may come with the answer or in a later read.
    ASSERT_TRUE(testsupport::PumpUntil(Net(), [] { return RecordingListener::Count(Kind::PlayerAdded) == 2; }));
    EXPECT_TRUE(Net().IsNetworkGame());
    EXPECT_FALSE(Net().IsHost());
    EXPECT_EQ(RecordingListener::Kinds(),
              (std::vector<Kind>{Kind::PlayerAdded, Kind::JoinAnswer, Kind::SessionJoined, Kind::PlayerAdded}));
    const auto request = host.JoinRequestRead();
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->type, 1u);
    const Tundra::TunPlayer* local = Net().GetLocalPlayer();
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(request->payload, testsupport::JoinRequest("pw", local->GetAddress().GetPort(), "Ann"))
        << "the record names the bound stream address";
    EXPECT_EQ(local->GetID(), 7u);
    const auto players = Net().GetSessionPlayers();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0]->GetID(), 3u);
    EXPECT_EQ(players[1]->GetID(), 7u);
    EXPECT_EQ(players[0]->GetAddress().GetPort(), host.GetPort()) << "the connection's peer, not the record";
    EXPECT_EQ(RecordingListener::Heard()[2].hostAddress.GetPort(), host.GetPort());
}

TEST_F(TunNetFrontEndTest, ARefusedOrUnansweredJoinLeavesNoPlayerAndKeepsBrowsing) {
    struct Case {
        const char* name;
        std::vector<testsupport::Bytes> replies;
    };
    Tundra::TunNetTestAccess::SetJoinWaitLimit(200);
    const Case cases[] = {
        {"refused", {testsupport::FramedMessage(2, testsupport::U32Payload(static_cast<std::uint32_t>(-2)))}},
        {"silent", {}},
    };
    ASSERT_TRUE(testsupport::StartClient(Net()));
    for (const Case& c : cases) {
        testsupport::WireHost host;
        host.AnswerJoin(c.replies);
        EXPECT_FALSE(Net().JoinSession("Ann", host.Address(), "px")) << c.name;
        EXPECT_EQ(Net().GetLocalPlayer(), nullptr) << c.name;
        EXPECT_EQ(Net().GetSessionPlayersNumber(), 0u) << c.name;
        EXPECT_FALSE(Net().IsNetworkGame()) << c.name;
        host.JoinRequestRead();
        EXPECT_TRUE(host.Connection().WaitClosed()) << c.name << ": the stream is closed";
    }
    WirePeer announcer = WirePeer::OpenDatagram();
    ASSERT_TRUE(announcer.SendDatagram(
        DiscoveryPort(), testsupport::FramedMessage(0, testsupport::Announcement(40000, 4, 1, false, "Room", "EL"))));
    EXPECT_TRUE(testsupport::PumpUntil(Net(), [&] { return !Net().GetFoundSessions().empty(); }));
}

TEST_F(TunNetFrontEndTest, AFailedJoinSaysWhyInOneLogLine) {
    struct Case {
        const char* name;
        std::uint16_t port;
        // Only the silent host is waited for to the end: any answer comes well within the default.
        std::uint32_t waitLimit;
        const char* why;
    };
    std::uint16_t closedPort = 0;
    {
        const testsupport::WireListener listener;
        closedPort = listener.GetPort();
    }
    testsupport::WireHost refusing;
    refusing.AnswerJoin({testsupport::FramedMessage(2, testsupport::U32Payload(static_cast<std::uint32_t>(-2)))});
    testsupport::WireHost silent;
    silent.AnswerJoin({});
    const Case cases[] = {
        {"nothing listens", closedPort, 5000, "no connection: Connection refused"},
        {"refused", refusing.GetPort(), 5000, "the host did not admit the player"},
        {"silent", silent.GetPort(), 200, "no answer from the host"},
    };
    ASSERT_TRUE(testsupport::StartClient(Net()));
    for (const Case& c : cases) {
        Tundra::TunNetTestAccess::SetJoinWaitLimit(c.waitLimit);
        Core::testhooks::StartCapturingErrors();
        EXPECT_FALSE(Net().JoinSession("Ann", testsupport::Loopback(c.port), "")) << c.name;
        const std::vector<std::string> lines = Core::testhooks::StopCapturingErrors();
        EXPECT_EQ(lines, std::vector<std::string>{"join of 127.0.0.1:" + std::to_string(c.port) + " failed: " + c.why})
            << c.name;
    }
}

TEST_F(TunNetFrontEndTest, TheMeasuredRateCountsTheTicksOfEachSecond) {
    struct Case {
        std::uint32_t rate;
        std::vector<float> dts;
        std::uint32_t least, most;
    };
    const Case cases[] = {
        {60, std::vector<float>(61, 1.0f / 60.0f), 59, 61},
        {10, {1.0f, 1.0f}, 1, 1},  // one tick per frame at most
        {60, {0.0f, 1.0f}, 1, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(testsupport::StartHost(Net(), "Room", "", 4, c.rate));
        for (const float dt : c.dts) {
            Net().Update(dt);
        }
        EXPECT_GE(Net().GetMeasuredUpdatesPerSecond(), c.least) << c.rate;
        EXPECT_LE(Net().GetMeasuredUpdatesPerSecond(), c.most) << c.rate;
        ASSERT_TRUE(Net().Shutdown());
    }
}

TEST_F(TunNetFrontEndGameTest, EachSendTickNamesTheLevelAndTheRemainderIsCappedAtDt) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    WirePeer peer = WirePeer::OpenDatagram();
    ASSERT_NE(testsupport::AddRemotePlayer(Net(), peer.GetLocalPort()), nullptr);
    const auto levelNames = [&] {
        return testsupport::CountOfType(testsupport::ReceiveDatagramsUntilQuiet(peer), kLevelName);
    };
    Net().Update(0.1f);
    const auto first = testsupport::ReceiveDatagramsUntilQuiet(peer);
    ASSERT_EQ(testsupport::CountOfType(first, kLevelName), 1u) << "one tick per frame";
    const auto name = std::find_if(first.begin(), first.end(), [](const auto& m) { return m.type == kLevelName; });
    EXPECT_EQ(name->payload, (testsupport::Bytes{'0', 0}));
    for (int i = 0; i < 9; ++i) {
        Net().Update(0.1f);
    }
    EXPECT_EQ(levelNames(), 9u);
    // At most dt (0.1 s, six intervals) was carried over.
    for (int i = 0; i < 20; ++i) {
        Net().Update(0.0f);
    }
    EXPECT_LE(levelNames(), 6u);
    Net().Update(0.0f);
    EXPECT_EQ(levelNames(), 0u);
}

TEST_F(TunNetFrontEndGameTest, ARateOfZeroSendsOncePerSecond) {
    ASSERT_TRUE(testsupport::StartHost(Net(), "Room", "", 4, 0));
    WirePeer peer = WirePeer::OpenDatagram();
    ASSERT_NE(testsupport::AddRemotePlayer(Net(), peer.GetLocalPort()), nullptr);
    Net().Update(0.5f);
    EXPECT_EQ(testsupport::CountOfType(testsupport::ReceiveDatagramsUntilQuiet(peer), kLevelName), 0u);
    Net().Update(0.5f);
    EXPECT_EQ(testsupport::CountOfType(testsupport::ReceiveDatagramsUntilQuiet(peer), kLevelName), 1u);
}

TEST_F(TunNetFrontEndGameTest, HostingNeedsAClientStartFirst) {
    EXPECT_FALSE(m_game->HostNetworkGame("Room", "Host", "", 4));
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
    EXPECT_FALSE(Net().IsNetworkGame());
    EXPECT_FALSE(Net().IsHost());
}

TEST_F(TunNetFrontEndGameTest, HostMirrorKeyboardsAreClearedEachFrame) {
    ASSERT_TRUE(testsupport::StartHost(Net()));
    WirePeer peer = WirePeer::OpenDatagram();
    Tundra::TunPlayer* player = testsupport::AddRemotePlayer(Net(), peer.GetLocalPort());
    ASSERT_NE(player, nullptr);
    ASSERT_NE(player->GetMirrorKeyboard(), nullptr);
    // Key 65 down: its first state byte set.
    testsupport::Bytes key{1, 0, 0, 0, 0, 0, 0, 0};
    testsupport::AppendU32(key, 65);
    player->GetMirrorKeyboard()->ReadSnapshot(key);
    ASSERT_TRUE(player->GetMirrorKeyboard()->AnyKey());
    Net().UpdatePlayerDevices();
    EXPECT_FALSE(player->GetMirrorKeyboard()->AnyKey());
}

}  // namespace
