#include "network/Network_Broadcast.h"
#include "network/Network_LocalHost.h"
#include "network/Network_LocalHostTestHooks.h"
#include "os/OS_NetworkInterfaces.h"
#include "os/OS_SocketAddress.h"
#include "support/MovingClock.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

using Kind = Network::Tun_Event_Kind;
using testsupport::RecordingSession;

constexpr std::int32_t kBroadcastSocket = 0;
constexpr std::int32_t kDiscoverySocket = 1;
constexpr std::int32_t kServerSocket = 2;

TEST(BroadcastScope, SetsTheLocalAddressTrailingBytes) {
    constexpr std::uint32_t local = 0xC0A80114;  // 192.168.1.20
    const struct {
        std::int32_t scope;
        std::uint32_t expected;
    } rows[] = {
        {1, 0xC0A801FF}, {2, 0xC0A8FFFF}, {3, 0xC0FFFFFF}, {0, 0xFFFFFFFF}, {4, 0xFFFFFFFF}, {-1, 0xFFFFFFFF},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Network::BroadcastAddress(local, row.scope), row.expected) << "scope " << row.scope;
    }
}

TEST(BroadcastLocalHost, TheHookForcesTheAddressAndItsText) {
    Network::ForceLocalHost(0xC0A80114);
    const Network::LocalHost forced = Network::ResolveLocalHost();
    Network::ClearForcedLocalHost();
    EXPECT_EQ(forced.address, 0xC0A80114u);
    EXPECT_EQ(forced.text, "192.168.1.20");
}

TEST(BroadcastLocalHost, PrefersAnInterfaceThatLanPeersReach) {
    Network::ClearForcedLocalHost();
    const Network::LocalHost host = Network::ResolveLocalHost();
    EXPECT_STREQ(host.text.c_str(), os::FormatIPv4(host.address).c_str());
    for (const os::NetworkInterface& candidate : os::ListIPv4Interfaces()) {
        if (candidate.up && !candidate.loopback && candidate.hasBroadcast) {
            EXPECT_EQ(host.address, candidate.ipv4) << candidate.name;
            return;
        }
    }
    // Without such an interface: the host name's address, else loopback;
    // either way never 0.0.0.0.
    EXPECT_NE(host.address, 0u);
}

class Broadcast : public testing::Test {
protected:
    testsupport::MovingClock m_clock;
    RecordingSession m_host;
    // Other tests may announce on a shared port: every payload here is this process's own.
    const std::string m_marker = "announce " + std::to_string(::getpid()) + " ";

    std::string Payload(const std::string& text, std::size_t length) const {
        std::string payload = m_marker + text;
        payload.resize(length, '.');
        return payload;
    }
    bool Start(std::uint16_t port, const std::string& payload, std::uint32_t interval, std::int32_t scope = 3) {
        return m_host->StartBroadcast(port, scope, interval, 0, payload.data(),
                                      static_cast<std::uint32_t>(payload.size()), 0);
    }
    // Announcements of this process the listener got so far.
    std::vector<testsupport::Bytes> Heard(const RecordingSession& listener) const {
        std::vector<testsupport::Bytes> heard;
        for (const auto& message : listener.Messages(kDiscoverySocket)) {
            const std::string text(message.begin() + 8, message.end());
            if (message.size() >= 8 + m_marker.size() && text.compare(0, m_marker.size(), m_marker) == 0) {
                heard.push_back(message);
            }
        }
        return heard;
    }
};

// Announcements come again and again, one an interval at most: a listener
// cannot have heard more than fit in the time the test saw go by.
TEST_F(Broadcast, ReachesEveryDiscoveryListenerOfThePortEveryInterval) {
    constexpr std::uint32_t kInterval = 250;
    RecordingSession first;
    RecordingSession second;
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open());
    ASSERT_TRUE(first->OpenUdpSocket(0));
    const std::uint16_t port = first.LocalPort(kDiscoverySocket);
    ASSERT_TRUE(second->OpenUdpSocket(port));
    const std::string payload = Payload("every listener", 40);
    const double startedAt = testsupport::SteadyMilliseconds();
    ASSERT_TRUE(Start(port, payload, kInterval));
    Network::Tun_Address destination;
    ASSERT_TRUE(m_host->GetRemoteAddress(kBroadcastSocket, destination));
    EXPECT_EQ(destination.GetIPv4(), 0x7FFFFFFFu);
    EXPECT_EQ(destination.GetPort(), port);

    for (RecordingSession* listener : {&first, &second}) {
        EXPECT_TRUE(listener->PumpUntil([&] { return Heard(*listener).size() >= 3; }, std::chrono::seconds(5)));
    }
    const double elapsed = testsupport::SteadyMilliseconds() - startedAt;
    const testsupport::Bytes announcement = testsupport::FramedMessage(0, payload);
    for (RecordingSession* listener : {&first, &second}) {
        const auto heard = Heard(*listener);
        EXPECT_LE(heard.size(), static_cast<std::size_t>(elapsed / kInterval) + 1) << "in " << elapsed << " ms";
        for (const auto& message : heard) {
            EXPECT_EQ(message, announcement);
        }
    }
    for (const auto& event : first.Events()) {
        if (event.kind == Kind::MessageReceived) {
            EXPECT_EQ(event.address.GetIPv4(), os::kLoopbackIPv4);
            EXPECT_EQ(event.address.GetPort(), m_host.LocalPort(kBroadcastSocket));
        }
    }
}

TEST_F(Broadcast, SendsTheFirstAnnouncementAtOnce) {
    RecordingSession listener;
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(listener.Open());
    ASSERT_TRUE(listener->OpenUdpSocket(0));
    // An interval far longer than the wait: only the first can arrive.
    ASSERT_TRUE(Start(listener.LocalPort(kDiscoverySocket), Payload("first", 20), 600000));
    EXPECT_TRUE(listener.PumpUntil([&] { return !Heard(listener).empty(); }));
}

TEST_F(Broadcast, NextAnnouncementsCarryTheReplacedPayload) {
    RecordingSession listener;
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(listener.Open());
    ASSERT_TRUE(listener->OpenUdpSocket(0));
    const std::string payloads[] = {Payload("forty", 40), Payload("thirty", 30), Payload("forty again", 40)};
    ASSERT_TRUE(Start(listener.LocalPort(kDiscoverySocket), payloads[0], 10));
    for (std::size_t index = 0; index < 3; ++index) {
        const testsupport::Bytes expected = testsupport::FramedMessage(0, payloads[index]);
        if (index > 0) {
            ASSERT_TRUE(m_host->SetBroadcastPayload(payloads[index].data(),
                                                    static_cast<std::uint32_t>(payloads[index].size())));
        }
        listener.Events().clear();
        // Announcements sent before the change may still be on their way;
        // once the new one arrives, only it follows.
        ASSERT_TRUE(listener.PumpUntil([&] {
            const auto heard = Heard(listener);
            return heard.size() >= 3 && heard[heard.size() - 3] == expected;
        })) << index;
        const auto heard = Heard(listener);
        const auto first = std::find(heard.begin(), heard.end(), expected);
        EXPECT_EQ(expected.size(), payloads[index].size() + 8);
        for (auto later = first; later != heard.end(); ++later) {
            EXPECT_EQ(*later, expected) << index;
        }
    }
}

TEST_F(Broadcast, RefusesWhatItCannotDo) {
    ASSERT_TRUE(m_host.Open());
    const char payload[] = "announcement";
    EXPECT_FALSE(m_host->SetBroadcastPayload(payload, sizeof payload));
    EXPECT_FALSE(m_host->StartBroadcast(9, 3, 0, 0, payload, sizeof payload, 0)) << "no interval";
    EXPECT_FALSE(m_host->StartBroadcast(9, 3, 250, 0, nullptr, 4, 0)) << "no payload";
    EXPECT_FALSE(m_host->StartBroadcast(9, 3, 250, 0, payload, Network::kMaxPayloadLength + 1, 0)) << "too long";
    EXPECT_EQ(m_host.Count(Kind::SocketOpened), 0u);

    ASSERT_TRUE(m_host->StartBroadcast(9, 3, 250, 0, payload, sizeof payload, 0));
    EXPECT_FALSE(m_host->StartBroadcast(9, 3, 250, 0, payload, sizeof payload, 0));
    EXPECT_TRUE(m_host->CloseSocket(kBroadcastSocket, true));
    EXPECT_FALSE(m_host->StartBroadcast(9, 3, 250, 0, payload, sizeof payload, 0)) << "until the session closes";
    EXPECT_FALSE(m_host->SetBroadcastPayload(payload, Network::kMaxPayloadLength + 1));
    EXPECT_TRUE(m_host->SetBroadcastPayload(payload, 3));
}

TEST_F(Broadcast, CloseEndsTheBroadcastThreadBeforeItReturns) {
    ASSERT_TRUE(m_host.Open());
    const char payload[] = "announcement";
    ASSERT_TRUE(m_host->StartBroadcast(9, 3, 1, 0, payload, sizeof payload, 0));
    bool startedDuringClose = true;
    m_host.SetReaction([&](Network::Tun_Session& session, const Network::Tun_Event& event) {
        if (event.kind == Kind::SocketClosed) {
            startedDuringClose = session.StartBroadcast(9, 3, 1, 0, payload, sizeof payload, 0);
        }
    });
    EXPECT_TRUE(m_host->Close());
    EXPECT_EQ(m_host->GetThreadCount(), 0u);
    EXPECT_FALSE(startedDuringClose);
    EXPECT_EQ(m_host.Count(Kind::SessionClosed), 1u);
}

TEST_F(Broadcast, ServerListensOnceUntilStopped) {
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(m_host->StartServer(testsupport::Loopback(), 4));
    const std::uint16_t port = m_host.LocalPort(kServerSocket);
    EXPECT_FALSE(m_host->StartServer(testsupport::Loopback(), 4));
    EXPECT_EQ(m_host.LocalPort(kServerSocket), port);
    testsupport::WirePeer peer = testsupport::WirePeer::ConnectStream(port);
    ASSERT_TRUE(peer.IsOpen());
    EXPECT_TRUE(m_host.PumpUntilCount(Kind::ConnectionAccepted, 1, kServerSocket));

    EXPECT_TRUE(m_host->StopServer(true));
    EXPECT_FALSE(m_host->StopServer(true));
    EXPECT_TRUE(m_host->StartServer(testsupport::Loopback(), 4));
    testsupport::WirePeer again = testsupport::WirePeer::ConnectStream(m_host.LocalPort(kServerSocket));
    ASSERT_TRUE(again.IsOpen());
    EXPECT_TRUE(m_host.PumpUntilCount(Kind::ConnectionAccepted, 2, kServerSocket));
}

TEST_F(Broadcast, DiscoverySocketClosesOnRequest) {
    ASSERT_TRUE(m_host.Open());
    ASSERT_TRUE(m_host->OpenUdpSocket(0));
    EXPECT_FALSE(m_host->OpenUdpSocket(0));
    EXPECT_TRUE(m_host->CloseDiscoverySocket(true));
    EXPECT_FALSE(m_host->CloseDiscoverySocket(true));
    EXPECT_TRUE(m_host.PumpUntilCount(Kind::SocketClosed, 1, kDiscoverySocket));
    EXPECT_TRUE(m_host->OpenUdpSocket(0));
}

}  // namespace
