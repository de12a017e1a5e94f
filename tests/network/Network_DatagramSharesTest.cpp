// A datagram flood is dropped at its own sender: what waits of it in the
// event queue is one share, from one port or many ports of one machine,
// joined or not, and anyone else's next datagram is queued behind that.
#include "Network_SessionFixture.h"

#include "network/Network_DatagramShares.h"
#include "network/Network_EventDispatcher.h"
#include "network/Network_Message.h"
#include "network/Network_SessionTestHooks.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sessiontest {
namespace {

using Network::DatagramShares;
using Network::Tun_Address;
using testsupport::FramedMessage;
using testsupport::WirePeer;
using std::chrono::milliseconds;

constexpr std::size_t kShare = DatagramShares::kShareMessages;

TEST(DatagramSharesTest, EachSenderHasAShareAndAnEmptyOneTakesAnyLength) {
    DatagramShares shares;
    const auto peer = DatagramShares::ConnectionPeer(Tun_Address("127.0.0.1", 4000));
    const auto otherPort = DatagramShares::ConnectionPeer(Tun_Address("127.0.0.1", 4001));
    for (std::size_t taken = 0; taken < kShare; ++taken) {
        ASSERT_TRUE(shares.Take(peer, 100));
    }
    EXPECT_FALSE(shares.Take(peer, 100));
    EXPECT_TRUE(shares.Take(otherPort, 100));
    shares.Give(peer, 100);
    EXPECT_TRUE(shares.Take(peer, 100));

    // Bytes bound a share too, but never the first datagram.
    const auto longSender = DatagramShares::ConnectionPeer(Tun_Address("127.0.0.2", 4000));
    EXPECT_TRUE(shares.Take(longSender, DatagramShares::kShareBytes + 1));
    EXPECT_FALSE(shares.Take(longSender, 1));
    shares.Give(longSender, DatagramShares::kShareBytes + 1);
    EXPECT_TRUE(shares.Take(longSender, 1));
}

TEST(DatagramSharesTest, StrangersShareByMachineAndAllTogetherAFewShares) {
    DatagramShares shares;
    EXPECT_EQ(DatagramShares::Stranger(Tun_Address("127.0.0.1", 5000)),
              DatagramShares::Stranger(Tun_Address("127.0.0.1", 6000)));
    std::string address;
    for (std::size_t machine = 1; machine <= DatagramShares::kStrangerShares; ++machine) {
        address = "127.0.1." + std::to_string(machine);
        const auto stranger = DatagramShares::Stranger(Tun_Address(address.c_str(), 5000));
        for (std::size_t taken = 0; taken < kShare; ++taken) {
            ASSERT_TRUE(shares.Take(stranger, 10));
        }
    }
    const auto lastStranger = DatagramShares::Stranger(Tun_Address(address.c_str(), 5000));
    const auto newStranger = DatagramShares::Stranger(Tun_Address("127.0.2.1", 5000));
    EXPECT_FALSE(shares.Take(newStranger, 10));
    EXPECT_TRUE(shares.Take(DatagramShares::ConnectionPeer(Tun_Address("127.0.2.1", 5000)), 10));
    shares.Give(lastStranger, 10);
    EXPECT_TRUE(shares.Take(newStranger, 10));
}

// Who floods, and who must still be heard.
enum class Flooder { StrangerOnOnePort, StrangerOnManyPorts, MemberFromItsOwnEndpoint };
enum class Honest { AcceptedMember, ConnectedHost };
struct FloodCase {
    const char* name;
    Flooder flooder;
    Honest honest;
};

class DatagramFloodTest : public SessionTest, public ::testing::WithParamInterface<FloodCase> {
protected:
    static constexpr std::int32_t kServer = 2;
    static constexpr std::int32_t kDatagrams = 4;
    static constexpr std::size_t kFloodLength = 2000;

    // A stream joined to the session's server and a datagram socket on the
    // stream's own port, as a player's.
    WirePeer JoinMember(WirePeer& stream) {
        WirePeer datagrams = testsupport::DatagramTwin([&](std::uint16_t port) {
            stream = WirePeer::ConnectStream(PortOf(kServer), port);
            return stream.IsOpen();
        });
        const std::size_t accepted = m_session.Count(Tun_Event_Kind::ConnectionAccepted);
        EXPECT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, accepted + 1));
        return datagrams;
    }
    // Waits until the I/O thread has queued what it takes of the flood.
    void WaitForASteadyQueue() {
        std::uint32_t last = Queued();
        for (int unchanged = 0, round = 0; unchanged < 10 && round < 300; ++round) {
            std::this_thread::sleep_for(milliseconds(10));
            const std::uint32_t now = Queued();
            unchanged = now == last ? unchanged + 1 : 0;
            last = now;
        }
    }
    std::size_t CountOfType(std::uint32_t type) {
        std::size_t count = 0;
        for (const std::vector<std::uint8_t>& message : m_session.Messages(kDatagrams)) {
            count += message.size() >= 4 && message[0] == type ? 1 : 0;
        }
        return count;
    }
};

TEST_P(DatagramFloodTest, WhatWaitsOfTheFloodIsAShareAndTheOthersGetThrough) {
    const FloodCase& flood = GetParam();
    WirePeer honestStream;
    WirePeer honest;
    std::optional<testsupport::WireListener> host;
    if (flood.honest == Honest::AcceptedMember) {
        OpenWithDatagramSocket([&](std::uint16_t port) {
            return m_session->OpenSocket(kServer, 1, testsupport::Loopback(port), Network::kServiceByIoThread,
                                         os::kSocketOptionNonBlocking) != nullptr &&
                   m_session->Listen(kServer, 70);
        });
        honest = JoinMember(honestStream);
    } else {
        honest = ConnectToHost(host, honestStream);
    }
    WirePeer flooderStream;
    std::vector<WirePeer> flooders;
    if (flood.flooder == Flooder::MemberFromItsOwnEndpoint) {
        flooders.push_back(JoinMember(flooderStream));
    } else {
        const std::size_t ports = flood.flooder == Flooder::StrangerOnManyPorts ? 16 : 1;
        for (std::size_t port = 0; port < ports; ++port) {
            flooders.push_back(WirePeer::OpenDatagram());
        }
    }

    const testsupport::Bytes flooded = FramedMessage(1, std::string(200, 'f'));
    for (std::size_t sent = 0; sent < kFloodLength; ++sent) {
        flooders[sent % flooders.size()].SendDatagram(PortOf(kDatagrams), flooded);
        // Slow enough for the I/O thread to read nearly all of it.
        if (sent % 16 == 15) {
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    }
    WaitForASteadyQueue();
    // Nobody handled anything meanwhile, as when the game's frames stall.
    const std::uint32_t queued = Queued();
    ASSERT_TRUE(honest.SendDatagram(PortOf(kDatagrams), FramedMessage(2, "heard")));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return Queued() > queued; }, milliseconds(2000)));

    EXPECT_TRUE(m_session.PumpUntil([&] { return CountOfType(2) == 1; }));
    EXPECT_LE(CountOfType(1), std::min(kShare, DatagramShares::kShareBytes / flooded.size()));
    EXPECT_GT(CountOfType(1), 0u);
}

// What is counted against a sender is given back when the queue refuses its
// datagram: a sender never loses its share to a queue that was full.
TEST_F(SessionTest, ADatagramTheFullQueueRefusesLeavesItsSendersShare) {
    std::optional<testsupport::WireListener> host;
    WirePeer hostStream;
    ConnectToHost(host, hostStream, Network::kServiceByIoThread);
    // The host's stream fills the queue to the last byte.
    const std::string longest(Network::kMaxPayloadLength, 'L');
    const std::size_t filling = Network::EventDispatcher::kQueuedMessageLimit / Network::kMaxMessageLength;
    const std::uint32_t before = Queued();
    for (std::size_t count = 0; count < filling; ++count) {
        ASSERT_TRUE(hostStream.WriteMessage(7, longest));
    }
    ASSERT_TRUE(testsupport::WaitUntil([&] { return Queued() - before == filling; }, milliseconds(5000)));

    WirePeer stranger = WirePeer::OpenDatagram();
    const std::uint64_t passes = Network::SessionTestAccess::GetIoPassCount(*m_session);
    ASSERT_TRUE(stranger.SendDatagram(PortOf(4), FramedMessage(1, std::string(DatagramShares::kShareBytes - 100, 'r'))));
    // The I/O thread waited for it: the pass that read it has ended once the
    // next one began.
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return Network::SessionTestAccess::GetIoPassCount(*m_session) > passes; }, milliseconds(2000)));
    EXPECT_EQ(Queued() - before, filling);

    ASSERT_TRUE(m_session.PumpUntil([&] { return m_session.Count(Tun_Event_Kind::MessageReceived, 3) == filling; }));
    ASSERT_TRUE(stranger.SendDatagram(PortOf(4), FramedMessage(2, std::string(1000, 'h'))));
    EXPECT_TRUE(m_session.PumpUntil([&] { return m_session.Count(Tun_Event_Kind::MessageReceived, 4) == 1; }));
}

INSTANTIATE_TEST_SUITE_P(
    Senders, DatagramFloodTest,
    ::testing::Values(FloodCase{"StrangerOnOnePort", Flooder::StrangerOnOnePort, Honest::AcceptedMember},
                      FloodCase{"StrangerOnManyPorts", Flooder::StrangerOnManyPorts, Honest::AcceptedMember},
                      FloodCase{"Member", Flooder::MemberFromItsOwnEndpoint, Honest::AcceptedMember},
                      FloodCase{"StrangerAtAClient", Flooder::StrangerOnManyPorts, Honest::ConnectedHost}),
    [](const ::testing::TestParamInfo<FloodCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sessiontest
