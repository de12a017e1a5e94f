#include "Network_SessionFixture.h"

#include "network/Network_Message.h"
#include "network/Network_SessionTestHooks.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace sessiontest {
namespace {

using Network::Tun_EventList;
using testsupport::Bytes;
using testsupport::FramedMessage;
using testsupport::WirePeer;

using SocketTest = SessionTest;

std::string PayloadOf(const Network::Tun_Event& event) {
    return std::string(reinterpret_cast<const char*>(event.payload), event.payloadLength);
}

using sessiontest::PayloadOf;

TEST_F(SocketTest, ASecondOpenOfAnIdFailsAndTheFirstSocketStillReceives) {
    ASSERT_NE(m_session->OpenSocket(4, 2, Loopback(0), Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
              nullptr);
    EXPECT_EQ(m_session->OpenSocket(4, 2, Loopback(0), Network::kServiceByIoThread, 0), nullptr);
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::SocketOpened), 1u);

    WirePeer peer = WirePeer::OpenDatagram();
    ASSERT_TRUE(peer.SendDatagram(PortOf(4), FramedMessage(7, "still here")));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::MessageReceived, 1));
    EXPECT_EQ(PayloadOf(m_session.Events().back()), "still here");
}

TEST_F(SocketTest, AConnectedStreamSendsOnlyToItsPeer) {
    WirePeer far = OpenClient();
    Network::Tun_Address peer;
    ASSERT_TRUE(m_session->GetRemoteAddress(3, peer));

    EXPECT_FALSE(m_session->SendMessage(3, 1, "no", 2, Loopback(ClosedPort())));
    std::uint32_t sent = 0;
    EXPECT_TRUE(m_session->SendMessage(3, 2, "yes", 3, peer, &sent));
    EXPECT_EQ(sent, 11u);

    const auto message = far.ReadMessage();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->type, 2u);
}

TEST_F(SocketTest, AListenerSendsThroughTheConnectionOfTheDestination) {
    OpenListener();
    WirePeer first = WirePeer::ConnectStream(PortOf(2));
    WirePeer second = WirePeer::ConnectStream(PortOf(2));
    ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, 2));

    EXPECT_TRUE(m_session->SendMessage(2, 5, "to second", 9, Loopback(second.GetLocalPort())));
    EXPECT_FALSE(m_session->SendMessage(2, 5, "nobody", 6, Loopback(ClosedPort())));

    const auto message = second.ReadMessage();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(std::string(message->payload.begin(), message->payload.end()), "to second");
    EXPECT_FALSE(first.ReadMessage(std::chrono::milliseconds(20)).has_value());
}

TEST_F(SocketTest, AMessageCutOffInAReadIsCompletedAndTheNextOneWaits) {
    WirePeer far = OpenClient();
    const Bytes first = FramedMessage(1, "first");
    const Bytes second = FramedMessage(2, "second, cut after its header and two bytes");
    const Bytes third = FramedMessage(3, "third");
    Bytes start = first;
    start.insert(start.end(), second.begin(), second.begin() + 10);
    Bytes rest(second.begin() + 10, second.end());
    rest.insert(rest.end(), third.begin(), third.end());
    ASSERT_TRUE(far.Write(start));
    // The rest arrives while the call waits for the missing bytes.
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        far.Write(rest);
    });

    Tun_EventList events;
    EXPECT_TRUE(m_session->ReceiveMessages(3, events));
    late.join();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(PayloadOf(events[0]), "first");
    EXPECT_EQ(PayloadOf(events[1]), "second, cut after its header and two bytes");
    Network::FreeEventList(events);

    EXPECT_TRUE(m_session->ReceiveMessages(3, events));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].messageType, 3u);
    Network::FreeEventList(events);
}

TEST_F(SocketTest, ReceiveFailsForAClosedPeerAndAtItsLimitForASilentOne) {
    WirePeer far = OpenClient();
    Tun_EventList events;
    EXPECT_FALSE(m_session->ReceiveMessages(3, events, 30));
    far.Close();
    EXPECT_FALSE(m_session->ReceiveMessages(3, events));
    EXPECT_TRUE(events.empty());
}

TEST_F(SocketTest, ReceiveOnADatagramSocketTakesEveryPendingDatagram) {
    ASSERT_NE(m_session->OpenSocket(5, 2, Loopback(0), 0, os::kSocketOptionNonBlocking), nullptr);
    WirePeer peer = WirePeer::OpenDatagram();
    for (std::uint32_t type = 1; type <= 3; ++type) {
        ASSERT_TRUE(peer.SendDatagram(PortOf(5), FramedMessage(type, std::string(type, 'x'))));
    }
    Tun_EventList events;
    EXPECT_TRUE(m_session->ReceiveMessages(5, events));
    ASSERT_EQ(events.size(), 3u);
    for (std::uint32_t type = 1; type <= 3; ++type) {
        EXPECT_EQ(events[type - 1].messageType, type);
        EXPECT_EQ(events[type - 1].address.GetPort(), peer.GetLocalPort());
    }
    Network::FreeEventList(events);
    EXPECT_FALSE(m_session->ReceiveMessages(5, events));
}

TEST_F(SocketTest, ALargeMessageToASlowReaderArrivesWholeAndFirst) {
    WirePeer far = OpenClient();
    Network::Tun_Address peer;
    ASSERT_TRUE(m_session->GetRemoteAddress(3, peer));
    // Fillers until the socket takes no more and output waits.
    const std::string filler(64 * 1024, 'f');
    for (int sends = 0; sends < 1000 && Network::SessionTestAccess::GetWaitingOutput(*m_session, 3) == 0; ++sends) {
        ASSERT_TRUE(m_session->SendMessage(3, 9, filler.data(), static_cast<std::uint32_t>(filler.size()), peer));
    }
    ASSERT_GT(Network::SessionTestAccess::GetWaitingOutput(*m_session, 3), 0u);
    // Large, yet leaving room for the fillers and the messages behind it
    // within the output limit.
    const std::string large(Network::kMaxPayloadLength - 2 * filler.size(), 'L');
    ASSERT_TRUE(m_session->SendMessage(3, 1, large.data(), static_cast<std::uint32_t>(large.size()), peer));
    for (std::uint32_t type = 2; type <= 4; ++type) {
        ASSERT_TRUE(m_session->SendMessage(3, type, "after", 5, peer));
    }

    auto message = far.ReadMessage();
    while (message.has_value() && message->type == 9) {
        message = far.ReadMessage();
    }
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->type, 1u);
    EXPECT_EQ(message->payload.size(), large.size());
    EXPECT_EQ(message->payload.back(), 'L');
    for (std::uint32_t type = 2; type <= 4; ++type) {
        const auto next = far.ReadMessage();
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(next->type, type);
    }
}

TEST_F(SocketTest, APeerThatStopsReadingIsDisconnected) {
    WirePeer far = OpenClient();
    Network::Tun_Address peer;
    ASSERT_TRUE(m_session->GetRemoteAddress(3, peer));
    const std::string chunk(64 * 1024, 'c');
    bool refused = false;
    for (int sends = 0; sends < 2000 && !refused; ++sends) {
        refused = !m_session->SendMessage(3, 1, chunk.data(), static_cast<std::uint32_t>(chunk.size()), peer);
    }
    EXPECT_TRUE(refused);
    EXPECT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::SocketClosed, 1));
}

TEST_F(SocketTest, TheLocalAddressOfAPortZeroSocketHasItsRealPort) {
    ASSERT_NE(m_session->OpenSocket(4, 2, Loopback(0), 0, 0), nullptr);
    EXPECT_NE(PortOf(4), 0);
}

}  // namespace
}  // namespace sessiontest
