#include "Network_SessionFixture.h"

#include "network/Network_EventDispatcher.h"
#include "network/Network_Manager.h"
#include "network/Network_SessionTestHooks.h"

#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace sessiontest {
namespace {

using testsupport::FramedMessage;
using testsupport::WirePeer;

constexpr std::uint32_t kServed = Network::kServiceByIoThread;
constexpr std::uint32_t kNonBlocking = os::kSocketOptionNonBlocking;

std::vector<std::pair<Tun_Event_Kind, std::thread::id>> g_opened;

bool NoteOpened(Network::Tun_Event* event) {
    g_opened.emplace_back(event->kind, std::this_thread::get_id());
    return true;
}

TEST(NetworkManagerTest, StartsOnceAndDestroysOnlyOpenListedSessions) {
    testsupport::MovingClock clock;
    Network::Tun_Network_Manager manager;
    EXPECT_TRUE(manager.Initialize());
    EXPECT_FALSE(manager.Initialize());

    g_opened.clear();
    Network::Tun_Session* session = manager.CreateSession("host", "text", 3, &NoteOpened, 0, 0, 0, 0, 1);
    ASSERT_NE(session, nullptr);
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].first, Tun_Event_Kind::SessionOpened);
    EXPECT_EQ(g_opened[0].second, std::this_thread::get_id());
    EXPECT_EQ(session->GetOpenFlag(), 3);
    EXPECT_EQ(session->GetText(), "text");
    EXPECT_FALSE(session->GetLocalIpText().empty());

    Network::Tun_Session unlisted;
    EXPECT_FALSE(manager.DestroySession(&unlisted));
    EXPECT_FALSE(manager.DestroySession(nullptr));
    EXPECT_TRUE(session->Close());
    EXPECT_EQ(session->GetThreadCount(), 0u);
    EXPECT_FALSE(manager.DestroySession(session));
    manager.CloseAllSessions();
}

TEST_F(SessionTest, AnAcceptedConnectionReportsTheConnectorsEndpoint) {
    OpenListener();
    WirePeer connector = WirePeer::ConnectStream(PortOf(2));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, 1));
    const testsupport::RecordedEvent accepted = m_session.Events().back();
    EXPECT_EQ(accepted.socketId, 2);
    EXPECT_FALSE(accepted.failed);
    EXPECT_EQ(accepted.address.GetPort(), connector.GetLocalPort());

    ASSERT_TRUE(connector.WriteMessage(9, "hello"));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::MessageReceived, 1));
    EXPECT_EQ(PayloadOf(m_session.Events().back()), "hello");
}

TEST_F(SessionTest, AnAsynchronousConnectReportsItsOutcome) {
    testsupport::WireListener listener;
    struct Case {
        std::int32_t id;
        std::uint16_t port;
        bool failed;
    };
    for (const Case& test : {Case{3, ClosedPort(), true}, Case{5, listener.GetPort(), false}}) {
        m_session.Events().clear();
        ASSERT_NE(m_session->OpenSocket(test.id, 1, Loopback(0), 0, kNonBlocking), nullptr);
        ASSERT_TRUE(m_session->Connect(test.id, Loopback(test.port)));
        ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectCompleted, 1));
        const testsupport::RecordedEvent completed = m_session.Events().back();
        EXPECT_EQ(completed.failed, test.failed);
        EXPECT_EQ(completed.address.GetPort(), test.port);
    }
    Network::Tun_Address remote;
    ASSERT_TRUE(m_session->GetRemoteAddress(5, remote));
    EXPECT_EQ(remote.GetPort(), listener.GetPort());
}

TEST_F(SessionTest, ASecondConnectWhileOneIsQueuedFails) {
    // A listener whose backlog is full drops further connects: the first
    // stays under way.
    constexpr std::int32_t kFullListener = 8;
    ASSERT_NE(m_session->OpenSocket(kFullListener, 1, Loopback(0), 0, 0), nullptr);
    ASSERT_TRUE(m_session->Listen(kFullListener, 0));
    WirePeer waiting = WirePeer::ConnectStream(PortOf(kFullListener));
    ASSERT_TRUE(waiting.IsOpen());

    ASSERT_NE(m_session->OpenSocket(3, 1, Loopback(0), 0, kNonBlocking), nullptr);
    EXPECT_TRUE(m_session->Connect(3, Loopback(PortOf(kFullListener))));
    EXPECT_FALSE(m_session->Connect(3, Loopback(PortOf(kFullListener))));
    // Closing the socket ends its connect as failed.
    EXPECT_TRUE(m_session->CloseSocket(3, true));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::SocketClosed, 1));
    ASSERT_EQ(m_session.Count(Tun_Event_Kind::ConnectCompleted), 1u);
    for (const testsupport::RecordedEvent& event : m_session.Events()) {
        if (event.kind == Tun_Event_Kind::ConnectCompleted) {
            EXPECT_TRUE(event.failed);
        }
    }
}

TEST_F(SessionTest, QueuedMessagesGoOutInOrderEachReported) {
    WirePeer far = OpenClient(Network::kServiceQueuedSend);
    Network::Tun_Address peer;
    ASSERT_TRUE(m_session->GetRemoteAddress(3, peer));
    EXPECT_TRUE(m_session->SendMessage(3, 1, "one", 3, peer));
    EXPECT_TRUE(m_session->SendMessage(3, 2, "two", 3, peer));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::QueuedSendCompleted, 2));
    for (const testsupport::RecordedEvent& event : m_session.Events()) {
        EXPECT_FALSE(event.failed);
    }
    for (std::uint32_t type = 1; type <= 2; ++type) {
        const auto message = far.ReadMessage();
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->type, type);
    }
}

TEST_F(SessionTest, AQueuedSendToAListenerWithoutThatConnectionFails) {
    OpenListener(kServed | Network::kServiceQueuedSend);
    EXPECT_TRUE(m_session->SendMessage(2, 1, "lost", 4, Loopback(ClosedPort())));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::QueuedSendCompleted, 1));
    EXPECT_TRUE(m_session.Events().back().failed);
}

// The reader stays in its call until the far end writes, which it does only
// after the I/O thread has had a whole pass with the close asked for: a close
// that did not wait for the reader would be delivered before that write.
TEST_F(SessionTest, ACloseWaitsForTheCallerThatUsesTheSocket) {
    // Longer than the test takes to end the reader's wait itself.
    constexpr std::uint32_t kReadWait = 60000;
    WirePeer far = OpenClient();
    std::atomic<bool> readerReturned{false};
    bool received = false;
    // Expectations only until the join: the reader has to be woken.
    std::thread reader([&] {
        Network::Tun_EventList events;
        received = m_session->ReceiveMessages(3, events, kReadWait);
        readerReturned = true;
        Network::FreeEventList(events);
    });
    EXPECT_TRUE(testsupport::WaitUntil([&] { return Network::SessionTestAccess::GetOtherUsers(*m_session, 3) > 0; },
                                       std::chrono::milliseconds(kReadWait)));
    std::optional<bool> closedAfterTheReader;
    m_session.SetReaction([&](Network::Tun_Session&, const Network::Tun_Event& event) {
        if (event.kind == Tun_Event_Kind::SocketClosed) {
            closedAfterTheReader = readerReturned.load();
        }
    });
    EXPECT_TRUE(m_session->CloseSocket(3, false));
    // The next pass begins after the request and, once the one after it has
    // begun, has posted what it did; a close still waiting is retried, so
    // passes go on.
    const std::uint64_t servingPass = Network::SessionTestAccess::GetIoPassCount(*m_session) + 1;
    // Without those passes the check below would prove nothing.
    EXPECT_TRUE(m_session.PumpUntil(
        [&] {
            return closedAfterTheReader.has_value() ||
                   Network::SessionTestAccess::GetIoPassCount(*m_session) > servingPass;
        },
        std::chrono::milliseconds(kReadWait)));
    m_session.Pump();
    EXPECT_FALSE(closedAfterTheReader.has_value());
    EXPECT_TRUE(far.WriteMessage(9, "wake"));
    reader.join();
    EXPECT_TRUE(received);
    EXPECT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::SocketClosed, 1, m_session.kAnySocket,
                                         std::chrono::milliseconds(kReadWait)));
    EXPECT_TRUE(closedAfterTheReader.value_or(false));
}

TEST_F(SessionTest, EmptyAndShortDatagramsAreDroppedAndTheSocketsServeOn) {
    const std::int32_t ids[] = {1, 4, 5};
    for (std::int32_t id : ids) {
        ASSERT_NE(m_session->OpenSocket(id, 2, Loopback(0), kServed, id == 1 ? 0x51u : kNonBlocking), nullptr);
    }
    WirePeer peer = WirePeer::OpenDatagram();
    for (std::int32_t id : ids) {
        ASSERT_TRUE(peer.SendDatagram(PortOf(id), {}));
        ASSERT_TRUE(peer.SendDatagram(PortOf(id), testsupport::Bytes{1, 2, 3}));
        ASSERT_TRUE(peer.SendDatagram(PortOf(id), FramedMessage(static_cast<std::uint32_t>(id), "valid")));
    }
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::MessageReceived, 3));
    m_session.PumpUntil([] { return false; }, std::chrono::milliseconds(50));
    for (std::int32_t id : ids) {
        EXPECT_EQ(m_session.Messages(id),
                  std::vector<testsupport::Bytes>{FramedMessage(static_cast<std::uint32_t>(id), "valid")});
    }
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::SocketClosed), 0u);
}

TEST_F(SessionTest, CloseDeliversQueuedEventsThenEveryClosedSocketThenItsEnd) {
    ASSERT_NE(m_session->OpenSocket(1, 2, Loopback(0), kServed, 0x51), nullptr);
    OpenListener();
    WirePeer connector = WirePeer::ConnectStream(PortOf(2));
    // The accepted event waits in the queue until Close delivers it.
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] {
            std::uint32_t remaining = 0;
            m_session->ProcessEvents(0, 0, nullptr, &remaining);
            return remaining > 0;
        },
        std::chrono::milliseconds(2000)));
    m_session.Events().clear();
    std::vector<std::thread::id> threads;
    bool reopened = false;
    m_session.SetReaction([&](Network::Tun_Session& session, const Network::Tun_Event&) {
        threads.push_back(std::this_thread::get_id());
        // A handler reopening a socket while the session closes would leak it.
        reopened = reopened || session.OpenSocket(6, 2, Loopback(0), kServed, 0) != nullptr;
    });
    ASSERT_TRUE(m_session->Close());
    EXPECT_EQ(m_session->GetThreadCount(), 0u);
    const std::vector<testsupport::RecordedEvent>& events = m_session.Events();
    struct Expected {
        Tun_Event_Kind kind;
        std::int32_t id;
    };
    const Expected expected[] = {{Tun_Event_Kind::ConnectionAccepted, 2},
                                 {Tun_Event_Kind::SocketClosed, 1},
                                 {Tun_Event_Kind::SocketClosed, 2},
                                 {Tun_Event_Kind::AcceptedConnectionClosed, 2},
                                 {Tun_Event_Kind::SessionClosed, -1}};
    ASSERT_EQ(events.size(), std::size(expected));
    for (std::size_t index = 0; index < events.size(); ++index) {
        EXPECT_EQ(events[index].kind, expected[index].kind) << index;
        EXPECT_EQ(events[index].socketId, expected[index].id) << index;
        EXPECT_EQ(threads[index], std::this_thread::get_id());
    }
    EXPECT_FALSE(reopened);
    EXPECT_FALSE(m_session->Close());
}

TEST_F(SessionTest, IdleSessionsMakeNextToNoPasses) {
    testsupport::RecordingSession client;
    ASSERT_TRUE(client.Open());
    OpenListener();
    ASSERT_NE(m_session->OpenSocket(4, 2, Loopback(0), kServed, kNonBlocking), nullptr);
    ASSERT_NE(client->OpenSocket(1, 2, Loopback(0), kServed, 0x51), nullptr);
    ASSERT_NE(client->OpenSocket(3, 1, Loopback(0), kServed, kNonBlocking), nullptr);
    ASSERT_NE(client->OpenSocket(5, 2, Loopback(0), kServed, kNonBlocking), nullptr);
    ASSERT_TRUE(client->Connect(3, Loopback(PortOf(2))));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, 1));
    ASSERT_TRUE(client.PumpUntilCount(Tun_Event_Kind::ConnectCompleted, 1));

    const std::uint64_t hostPasses = Network::SessionTestAccess::GetIoPassCount(*m_session);
    const std::uint64_t clientPasses = Network::SessionTestAccess::GetIoPassCount(*client);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    EXPECT_LE(Network::SessionTestAccess::GetIoPassCount(*m_session) - hostPasses, 3u);
    EXPECT_LE(Network::SessionTestAccess::GetIoPassCount(*client) - clientPasses, 3u);
    EXPECT_TRUE(client->Close());
    EXPECT_EQ(client->GetThreadCount(), 0u);
}

TEST_F(SessionTest, ConnectionsBeyondTheLimitWaitForAPlace) {
    OpenListener();
    std::vector<WirePeer> connectors;
    for (std::size_t count = 0; count <= Network::Tun_Session::kMaxAcceptedConnections; ++count) {
        connectors.push_back(WirePeer::ConnectStream(PortOf(2)));
    }
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, connectors.size() - 1));
    EXPECT_FALSE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, connectors.size(),
                                          m_session.kAnySocket, std::chrono::milliseconds(100)));
    connectors.front().Close();
    EXPECT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, connectors.size()));
    for (const testsupport::RecordedEvent& event : m_session.Events()) {
        EXPECT_FALSE(event.kind == Tun_Event_Kind::ConnectionAccepted && event.failed);
    }
}

// Every place held by a connection that never joins: a player connecting
// then waits in the backlog, gets in once the idle ones run out of time, and
// stays once admitted.
TEST_F(SessionTest, IdleConnectionsAreClosedAndAnAdmittedOneStays) {
    constexpr std::chrono::milliseconds kLimit{300};
    Network::SessionTestAccess::SetAdmissionLimit(*m_session, kLimit);
    ASSERT_TRUE(m_session->StartServer(Loopback(0), 128));
    m_session.SetReaction([](Network::Tun_Session& session, const Network::Tun_Event& event) {
        if (event.kind == Tun_Event_Kind::MessageReceived) {
            session.AdmitPeer(event.address);
        }
    });
    std::vector<WirePeer> idle;
    for (std::size_t count = 0; count < Network::Tun_Session::kMaxAcceptedConnections; ++count) {
        idle.push_back(WirePeer::ConnectStream(PortOf(2)));
    }
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, idle.size()));
    WirePeer player = WirePeer::ConnectStream(PortOf(2));
    ASSERT_TRUE(player.WriteMessage(1, "join"));
    ASSERT_TRUE(m_session.PumpUntil([&] { return m_session.Messages(2).size() == 1; }));
    for (WirePeer& peer : idle) {
        EXPECT_TRUE(peer.WaitClosed());
    }

    std::this_thread::sleep_for(kLimit * 2);
    ASSERT_TRUE(player.WriteMessage(2, "still here"));
    EXPECT_TRUE(m_session.PumpUntil([&] { return m_session.Messages(2).size() == 2; }));
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::AcceptedConnectionClosed), idle.size());
}

// Only the client's host has no share of its own: the cap alone holds it,
// and leaves the rest of the queue to the streams.
TEST_F(SessionTest, ADatagramFloodStopsAtTheQueueCapAndStreamsGoOn) {
    std::optional<testsupport::WireListener> host;
    WirePeer hostStream;
    WirePeer flooder = ConnectToHost(host, hostStream, kServed);
    const testsupport::Bytes datagram = FramedMessage(1, std::string(8000, 'f'));
    const std::size_t cap = Network::Tun_Session::kQueuedDatagramLimit / datagram.size();
    const std::size_t queueCapacity = Network::EventDispatcher::kQueuedMessageLimit / datagram.size();
    // A few at a time, until a round no longer gets in.
    constexpr std::size_t kRound = 8;
    const std::uint16_t port = PortOf(4);
    const std::uint32_t before = Queued();
    testsupport::SendInRounds(
        queueCapacity, kRound, [&](std::size_t) { return flooder.SendDatagram(port, datagram); },
        [&] { return Queued(); });
    const std::uint32_t flooded = Queued() - before;
    EXPECT_LE(flooded, cap);
    EXPECT_GE(flooded + kRound, cap);

    // Nothing handled yet, the host's stream still gets in.
    ASSERT_TRUE(hostStream.WriteMessage(2, "after the flood"));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return Queued() - before == flooded + 1; }, std::chrono::milliseconds(3000)));

    // Drained, the queue takes datagrams again.
    ASSERT_TRUE(m_session.PumpUntil([&] { return m_session.Count(Tun_Event_Kind::MessageReceived, 3) == 1; }));
    const std::size_t datagrams = m_session.Count(Tun_Event_Kind::MessageReceived, 4);
    flooder.SendDatagram(PortOf(4), datagram);
    EXPECT_TRUE(m_session.PumpUntil([&] { return m_session.Count(Tun_Event_Kind::MessageReceived, 4) > datagrams; }));
}

// A host's state tick comes as one burst of a datagram per object. While the
// I/O thread is busy elsewhere, the client's socket holds all of it.
TEST_F(SessionTest, AStateTickBurstWaitsInTheClientsSocket) {
    std::optional<testsupport::WireListener> host;
    WirePeer hostStream;
    WirePeer hostDatagrams = ConnectToHost(host, hostStream);

    // Linux grants a request up to its cap, doubled to leave room for its
    // bookkeeping, and reports the doubled size.
    std::size_t systemCap = 0;
    ASSERT_TRUE(static_cast<bool>(std::ifstream("/proc/sys/net/core/rmem_max") >> systemCap));
    const std::size_t requested = Network::Tun_Session::kQueuedDatagramLimit;
    int granted = 0;
    socklen_t length = sizeof granted;
    ASSERT_EQ(::getsockopt(Network::SessionTestAccess::GetHandle(*m_session, 4), SOL_SOCKET, SO_RCVBUF, &granted,
                           &length),
              0);
    EXPECT_EQ(static_cast<std::size_t>(granted), 2 * std::min(requested, systemCap));
    // Under a lower cap the burst does not fit, and one that did would fit
    // the system's default buffer too: it would show nothing of the request.
    if (systemCap < requested) {
        GTEST_SKIP() << "the grant was checked against the system's cap of " << systemCap
                     << " bytes; the burst needs a cap of at least " << requested;
    }

    const std::uint16_t port = PortOf(4);
    constexpr std::size_t kBurst = 600;
    const testsupport::Bytes state = FramedMessage(9, std::string(100, 's'));
    const std::uint32_t before = Queued();
    {
        const Network::SessionTestAccess::IoThreadHold hold(*m_session);
        for (std::size_t sent = 0; sent < kBurst; ++sent) {
            ASSERT_TRUE(hostDatagrams.SendDatagram(port, state));
        }
    }
    testsupport::WaitWhileTaking(before + kBurst, [&] { return Queued(); });
    EXPECT_EQ(Queued() - before, kBurst);
}

// More than the event queue takes, while nobody drains it: the streams are
// slowed down, not cut, and every message comes once there is room.
TEST_F(SessionTest, AFullQueueHoldsStreamsBackAndLosesNothing) {
    OpenListener();
    constexpr std::size_t kLongSenders = 9;
    std::vector<WirePeer> peers;
    for (std::size_t count = 0; count <= kLongSenders; ++count) {
        peers.push_back(WirePeer::ConnectStream(PortOf(2)));
    }
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, peers.size()));
    const std::string longest(Network::kMaxPayloadLength, 'L');
    for (std::size_t index = 0; index < kLongSenders; ++index) {
        ASSERT_TRUE(peers[index].WriteMessage(7, longest));
    }
    ASSERT_TRUE(peers.back().WriteMessage(8, "short"));
    // Time for the I/O thread to read it all.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    EXPECT_TRUE(m_session.PumpUntil([&] { return m_session.Messages(2).size() == peers.size(); }));
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::AcceptedConnectionClosed), 0u);
}

}  // namespace
}  // namespace sessiontest
