#include "network/Network_HostileCases.h"
#include "support/MovingClock.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// Hostile datagrams at a socket the I/O thread serves, and hostile bytes read
// with ReceiveMessages on the caller's thread: exactly the whole messages
// come out, a bad datagram is dropped, a bad stream ends its connection, and
// the socket goes on receiving.
namespace {

using hostile::Bytes;
using hostile::Case;
using Kind = Network::Tun_Event_Kind;
using testsupport::RecordingSession;
using testsupport::WirePeer;

constexpr std::uint32_t kDatagramSeed = 0xD6A27;
constexpr std::size_t kDatagramCiRuns = 600;
// Each stream case is a connection of its own, and closed connections linger
// for a minute: fewer of them.
constexpr std::size_t kCiStreamRuns = 150;
// Few enough datagrams to sit in a socket's receive buffer at once.
constexpr std::size_t kDatagramBatch = 40;
constexpr std::uint32_t kSentinelType = 0x5E47;
constexpr std::int32_t kServicedDatagrams = 4;
constexpr std::int32_t kReadDatagrams = 6;
constexpr std::int32_t kReadStream = 3;
constexpr std::uint32_t kWaitLimit = 2000;

// What a batch of datagrams must give, closed by a sentinel that tells the
// receiver the batch is over.
std::vector<Bytes> SendBatch(WirePeer& sender, std::uint16_t port, const std::vector<Case>& batch,
                             const Bytes& sentinel) {
    std::vector<Bytes> expected;
    for (const Case& current : batch) {
        EXPECT_TRUE(sender.SendDatagram(port, current.bytes)) << current.what;
        Bytes message;
        if (hostile::ExpectFromDatagram(current.bytes, &message)) {
            expected.push_back(std::move(message));
        }
    }
    EXPECT_TRUE(sender.SendDatagram(port, sentinel));
    expected.push_back(sentinel);
    return expected;
}

Bytes MessageOf(const Network::Tun_Event& event) { return Bytes(event.rawMessage, event.rawMessage + event.rawLength); }

std::vector<Bytes> Messages(const Network::Tun_EventList& events) {
    std::vector<Bytes> messages;
    for (const Network::Tun_Event& event : events) {
        messages.push_back(MessageOf(event));
    }
    return messages;
}

class HostileInput : public testing::Test {
protected:
    testsupport::MovingClock m_clock;
    RecordingSession m_session;
    std::size_t m_batches = 0;

    Bytes NextSentinel() { return testsupport::FramedMessage(kSentinelType, std::to_string(m_batches++)); }
};

TEST_F(HostileInput, ServicedDatagramsGiveWholeMessagesOrNothing) {
    ASSERT_TRUE(m_session.Open());
    ASSERT_NE(m_session->OpenSocket(kServicedDatagrams, testsupport::kDatagramSocket, testsupport::Loopback(),
                                    Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
              nullptr);
    const std::uint16_t port = m_session.LocalPort(kServicedDatagrams);
    WirePeer sender = WirePeer::OpenDatagram();
    ASSERT_TRUE(sender.IsOpen());
    hostile::ForEachBatch(kDatagramSeed, kDatagramCiRuns, kDatagramBatch, [&](const std::vector<Case>& batch) {
        if (HasFailure()) {
            return;
        }
        m_session.Events().clear();
        const Bytes sentinel = NextSentinel();
        const std::vector<Bytes> expected = SendBatch(sender, port, batch, sentinel);
        ASSERT_TRUE(m_session.PumpUntil([&] {
            const auto messages = m_session.Messages(kServicedDatagrams);
            return std::find(messages.begin(), messages.end(), sentinel) != messages.end();
        })) << batch.front().what;
        EXPECT_EQ(m_session.Messages(kServicedDatagrams), expected) << batch.front().what;
        EXPECT_EQ(m_session.Count(Kind::SocketClosed), 0u);
    });
}

TEST_F(HostileInput, ReceiveMessagesOnDatagramsGivesWholeMessagesOrNothing) {
    ASSERT_TRUE(m_session.Open());
    ASSERT_NE(m_session->OpenSocket(kReadDatagrams, testsupport::kDatagramSocket, testsupport::Loopback(), 0, 0),
              nullptr);
    const std::uint16_t port = m_session.LocalPort(kReadDatagrams);
    WirePeer sender = WirePeer::OpenDatagram();
    ASSERT_TRUE(sender.IsOpen());
    hostile::ForEachBatch(kDatagramSeed + 1, kDatagramCiRuns, kDatagramBatch, [&](const std::vector<Case>& batch) {
        if (HasFailure()) {
            return;
        }
        const Bytes sentinel = NextSentinel();
        const std::vector<Bytes> expected = SendBatch(sender, port, batch, sentinel);
        Network::Tun_EventList events;
        for (int call = 0; call < 20 && (events.empty() || MessageOf(events.back()) != sentinel); ++call) {
            m_session->ReceiveMessages(kReadDatagrams, events, kWaitLimit);
        }
        EXPECT_EQ(Messages(events), expected) << batch.front().what;
        Network::FreeEventList(events);
    });
}

// One connection per case, read on this thread until ReceiveMessages says it
// is over; a bad length must end it without waiting for the peer.
TEST_F(HostileInput, ReceiveMessagesOnAStreamGivesWholeMessagesThenEnds) {
    ASSERT_TRUE(m_session.Open());
    testsupport::WireListener listener;
    ASSERT_TRUE(listener.IsOpen());
    hostile::ForEachBatch(kDatagramSeed + 2, kCiStreamRuns, kDatagramBatch, [&](const std::vector<Case>& batch) {
        for (const Case& current : batch) {
            if (HasFailure()) {
                return;
            }
            ASSERT_NE(m_session->OpenSocket(kReadStream, testsupport::kStreamSocket, Network::Tun_Address(), 0, 0),
                      nullptr);
            ASSERT_TRUE(m_session->Connect(kReadStream, testsupport::Loopback(listener.GetPort()), kWaitLimit));
            WirePeer peer = listener.Accept();
            ASSERT_TRUE(peer.IsOpen());
            std::size_t written = 0;
            for (const std::size_t cut : current.cuts) {
                ASSERT_TRUE(peer.Write({current.bytes.data() + written, cut - written}));
                written = cut;
            }
            ASSERT_TRUE(peer.Write({current.bytes.data() + written, current.bytes.size() - written}));
            const hostile::StreamOutcome outcome = hostile::ExpectFromStream(current.bytes);
            if (!outcome.badLength) {
                peer.Close();
            }
            Network::Tun_EventList events;
            for (int call = 0; call < 20 && m_session->ReceiveMessages(kReadStream, events, kWaitLimit); ++call) {
            }
            EXPECT_EQ(Messages(events), outcome.messages) << current.what;
            Network::FreeEventList(events);
            m_session->CloseSocket(kReadStream, true);
            m_session.PumpUntilCount(Kind::SocketClosed, 1, kReadStream);
            m_session.Events().clear();
        }
    });
}

}  // namespace
