#include "support/MovingClock.h"
#include "support/Network_RecordingSession.h"

#include <gtest/gtest.h>

#include <string>

// A host and a client session exchanging messages both ways, directly and
// through the I/O thread, while their handlers close and open sockets and the
// host announces itself; then both close. Run under ThreadSanitizer too.
namespace {

using EventKind = Network::Tun_Event_Kind;
using testsupport::RecordingSession;

constexpr int kCycles = 50;
constexpr int kMessagesEach = 4;
constexpr std::int32_t kServer = 2;
constexpr std::int32_t kConnection = 3;
constexpr std::int32_t kHostDatagrams = 4;
constexpr std::int32_t kClientDatagrams = 5;
// Opened and closed by the handlers, turn about.
constexpr std::int32_t kToggled = 9;
constexpr std::uint32_t kRequest = 20;
constexpr std::uint32_t kReply = 21;
constexpr std::uint32_t kBothWays = Network::kServiceByIoThread | Network::kServiceQueuedSend;

void ToggleSocket(Network::Tun_Session& session) {
    if (!session.CloseSocket(kToggled, false)) {
        session.OpenSocket(kToggled, testsupport::kDatagramSocket, testsupport::Loopback(), 0, 0);
    }
}

bool Send(Network::Tun_Session& session, std::int32_t id, std::uint32_t type, const Network::Tun_Address& to) {
    const std::string payload = "message on " + std::to_string(id);
    return session.SendMessage(id, type, payload.data(), static_cast<std::uint32_t>(payload.size()), to);
}

void RunCycle(int cycle) {
    RecordingSession host;
    RecordingSession client;
    ASSERT_TRUE(host.Open());
    ASSERT_TRUE(client.Open());
    ASSERT_TRUE(client->OpenUdpSocket(0));
    const char announcement[] = "cycle";
    ASSERT_TRUE(host->StartBroadcast(client.LocalPort(1), 3, 2, 0, announcement, sizeof announcement, 0));
    ASSERT_TRUE(host->StartServer(testsupport::Loopback(), 4));
    ASSERT_NE(host->OpenSocket(kHostDatagrams, testsupport::kDatagramSocket, testsupport::Loopback(), kBothWays,
                               os::kSocketOptionNonBlocking),
              nullptr);
    ASSERT_NE(client->OpenSocket(kClientDatagrams, testsupport::kDatagramSocket, testsupport::Loopback(),
                                 Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
              nullptr);
    ASSERT_NE(client->OpenSocket(kConnection, testsupport::kStreamSocket, Network::Tun_Address(),
                                 Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
              nullptr);
    const Network::Tun_Address server = testsupport::Loopback(host.LocalPort(kServer));
    const Network::Tun_Address hostDatagrams = testsupport::Loopback(host.LocalPort(kHostDatagrams));
    const Network::Tun_Address clientDatagrams = testsupport::Loopback(client.LocalPort(kClientDatagrams));
    ASSERT_TRUE(client->Connect(kConnection, server));
    ASSERT_TRUE(client.PumpUntilCount(EventKind::ConnectCompleted, 1));

    // The host answers every request where it came from; both toggle a socket per message.
    host.SetReaction([&](Network::Tun_Session& session, const Network::Tun_Event& event) {
        if (event.kind == EventKind::MessageReceived && event.messageType == kRequest) {
            Send(session, event.socketId, kReply, event.socketId == kServer ? event.address : clientDatagrams);
            ToggleSocket(session);
        }
    });
    client.SetReaction([&](Network::Tun_Session& session, const Network::Tun_Event& event) {
        if (event.kind == EventKind::MessageReceived && event.messageType == kReply) {
            ToggleSocket(session);
        }
    });
    for (int round = 0; round < 2; ++round) {
        for (int message = 0; message < kMessagesEach; ++message) {
            ASSERT_TRUE(Send(*client, kConnection, kRequest, server));
            ASSERT_TRUE(Send(*client, kClientDatagrams, kRequest, hostDatagrams));
        }
        // The second round goes through the I/O threads' queues.
        ASSERT_TRUE(client->SetServiceFlags(kConnection, kBothWays));
        ASSERT_TRUE(host->SetServiceFlags(kServer, kBothWays));
    }
    const auto replies = [&] {
        std::size_t count = 0;
        for (const auto& event : client.Events()) {
            count += event.kind == EventKind::MessageReceived && event.messageType == kReply ? 1 : 0;
        }
        return count;
    };
    ASSERT_TRUE(client.PumpUntil([&] {
        host.Pump();
        return replies() >= 4u * kMessagesEach;
    })) << "cycle " << cycle;
    EXPECT_TRUE(client.PumpUntil([&] { return client.Count(EventKind::MessageReceived, 1) > 0; }));

    EXPECT_TRUE(client->Close());
    EXPECT_TRUE(host->Close());
    EXPECT_EQ(client->GetThreadCount(), 0u);
    EXPECT_EQ(host->GetThreadCount(), 0u);
}

TEST(ThreadCycles, HostAndClientExchangeThenCloseWithoutThreadsLeft) {
    testsupport::MovingClock clock;
    for (int cycle = 0; cycle < kCycles && !HasFailure(); ++cycle) {
        RunCycle(cycle);
    }
}

}  // namespace
