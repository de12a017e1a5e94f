#include "network/Network_HostileCases.h"
#include "support/MovingClock.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <algorithm>

// Hostile bytes on streams the I/O thread serves, at the host (an accepted
// connection) and at the client (its own connection): each connection gives
// exactly its whole messages and then closes, whatever it was sent, and the
// session goes on serving the next ones.
namespace {

using hostile::Bytes;
using hostile::Case;
using Kind = Network::Tun_Event_Kind;
using testsupport::RecordingSession;
using testsupport::WirePeer;

constexpr std::uint32_t kStreamSeed = 0x5EED27;
// Each case is a connection of its own, and closed connections linger for a
// minute: a few hundred runs beside the type cases.
constexpr std::size_t kStreamCiRuns = 150;
// Below the session's limit of accepted connections.
constexpr std::size_t kStreamBatch = 48;
constexpr std::int32_t kServer = 2;
constexpr std::int32_t kFirstClientId = 100;

// Chunk after chunk of every connection in turn, so that a receiver reads
// the cuts apart; then the peer closes, unless a bad length must make the
// receiver close first (which may refuse the chunks after it).
void WriteAll(std::vector<WirePeer>& peers, const std::vector<Case>& batch) {
    std::vector<bool> bad;
    for (const Case& current : batch) {
        bad.push_back(hostile::ExpectFromStream(current.bytes).badLength);
    }
    std::vector<std::size_t> written(batch.size(), 0);
    for (std::size_t step = 0;; ++step) {
        bool more = false;
        for (std::size_t index = 0; index < batch.size(); ++index) {
            const Case& current = batch[index];
            const std::size_t end = step < current.cuts.size() ? current.cuts[step] : current.bytes.size();
            if (written[index] < end) {
                const bool taken = peers[index].Write({current.bytes.data() + written[index], end - written[index]});
                EXPECT_TRUE(taken || bad[index]) << current.what;
                written[index] = taken ? end : current.bytes.size();
            }
            more = more || written[index] < current.bytes.size();
        }
        if (!more) {
            break;
        }
    }
    for (std::size_t index = 0; index < batch.size(); ++index) {
        if (!bad[index]) {
            peers[index].Close();
        }
    }
}

std::vector<Bytes> MessagesFromPort(const RecordingSession& session, std::uint16_t port) {
    std::vector<Bytes> messages;
    for (const testsupport::RecordedEvent& event : session.Events()) {
        if (event.kind == Kind::MessageReceived && event.address.GetPort() == port) {
            messages.push_back(event.message);
        }
    }
    return messages;
}

class HostileStream : public testing::Test {
protected:
    testsupport::MovingClock m_clock;
};

TEST_F(HostileStream, AcceptedConnectionsGiveTheirWholeMessagesThenClose) {
    RecordingSession host;
    ASSERT_TRUE(host.Open());
    ASSERT_TRUE(host->StartServer(testsupport::Loopback(), 64));
    const std::uint16_t port = host.LocalPort(kServer);
    hostile::ForEachBatch(kStreamSeed, kStreamCiRuns, kStreamBatch, [&](const std::vector<Case>& batch) {
        if (HasFailure()) {
            return;
        }
        host.Events().clear();
        std::vector<WirePeer> peers;
        std::vector<std::uint16_t> ports;
        for (std::size_t index = 0; index < batch.size(); ++index) {
            peers.push_back(WirePeer::ConnectStream(port));
            ASSERT_TRUE(peers.back().IsOpen());
            ports.push_back(peers.back().GetLocalPort());
        }
        ASSERT_TRUE(host.PumpUntilCount(Kind::ConnectionAccepted, batch.size()));
        // Admitted, they may send messages of any valid length.
        for (const std::uint16_t peerPort : ports) {
            ASSERT_TRUE(host->AdmitPeer(testsupport::Loopback(peerPort)));
        }
        WriteAll(peers, batch);
        ASSERT_TRUE(host.PumpUntilCount(Kind::AcceptedConnectionClosed, batch.size())) << batch.front().what;
        EXPECT_EQ(host.Count(Kind::ConnectionAccepted), batch.size());
        for (std::size_t index = 0; index < batch.size(); ++index) {
            EXPECT_EQ(MessagesFromPort(host, ports[index]), hostile::ExpectFromStream(batch[index].bytes).messages)
                << batch[index].what;
        }
    });
}

TEST_F(HostileStream, ClientConnectionsGiveTheirWholeMessagesThenClose) {
    RecordingSession client;
    ASSERT_TRUE(client.Open());
    testsupport::WireListener listener;
    ASSERT_TRUE(listener.IsOpen());
    hostile::ForEachBatch(kStreamSeed + 1, kStreamCiRuns, kStreamBatch, [&](const std::vector<Case>& batch) {
        if (HasFailure()) {
            return;
        }
        client.Events().clear();
        std::vector<WirePeer> peers;
        for (std::size_t index = 0; index < batch.size(); ++index) {
            const auto id = kFirstClientId + static_cast<std::int32_t>(index);
            ASSERT_NE(client->OpenSocket(id, testsupport::kStreamSocket, Network::Tun_Address(),
                                         Network::kServiceByIoThread, os::kSocketOptionNonBlocking),
                      nullptr);
            ASSERT_TRUE(client->Connect(id, testsupport::Loopback(listener.GetPort())));
            // One connect at a time: the accepted end is this socket's peer.
            peers.push_back(listener.Accept());
            ASSERT_TRUE(peers.back().IsOpen());
        }
        ASSERT_TRUE(client.PumpUntilCount(Kind::ConnectCompleted, batch.size()));
        WriteAll(peers, batch);
        ASSERT_TRUE(client.PumpUntilCount(Kind::SocketClosed, batch.size())) << batch.front().what;
        for (std::size_t index = 0; index < batch.size(); ++index) {
            const auto id = kFirstClientId + static_cast<std::int32_t>(index);
            EXPECT_EQ(client.Messages(id), hostile::ExpectFromStream(batch[index].bytes).messages)
                << batch[index].what;
        }
    });
}

}  // namespace
