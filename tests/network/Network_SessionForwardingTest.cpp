// The host's forwards: a peer's messages go on to the other peers; one that
// sends faster than a member reads is slowed down, never dropped, and a
// member that stops taking bytes is closed.
#include "Network_SessionFixture.h"

#include "network/Network_SessionTestHooks.h"

#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace sessiontest {
namespace {

using testsupport::WirePeer;
using std::chrono::milliseconds;

class SessionForwardingTest : public SessionTest {
protected:
    // Socket 2 listening, its connections taking little from the host at
    // once, so that what a member does not read waits as output; each message
    // is answered by m_react. Then a member that reads nothing and a peer.
    void ConnectStoppedMemberAndPeer() {
        Network::Tun_Socket* listener = m_session->OpenSocket(2, 1, Loopback(0), Network::kServiceByIoThread,
                                                              os::kSocketOptionNonBlocking);
        ASSERT_NE(listener, nullptr);
        const int sendBuffer = 8192;
        ASSERT_EQ(::setsockopt(listener->handle, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer), 0);
        ASSERT_TRUE(m_session->Listen(2, 8));
        m_session.SetReaction([this](Network::Tun_Session& session, const Network::Tun_Event& event) {
            if (event.kind == Tun_Event_Kind::ConnectionAccepted) {
                m_peers.push_back(event.address);
            } else if (event.kind == Tun_Event_Kind::MessageReceived) {
                m_react(session, event);
            }
        });
        m_stopped = WirePeer::ConnectSmallWindow(PortOf(2));
        m_peer = WirePeer::ConnectStream(PortOf(2));
        ASSERT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::ConnectionAccepted, 2));
    }
    // Sends from inside the handling of a message, to every peer but its sender.
    void SendToOthers(Network::Tun_Session& session, const Network::Tun_Event& event, std::uint32_t type,
                      const std::string& payload) {
        for (const Network::Tun_Address& peer : m_peers) {
            if (!peer.SameEndpoint(event.address)) {
                m_sendsRefused += session.SendMessage(2, type, payload.data(), payload.size(), peer) ? 0 : 1;
            }
        }
    }
    // The host's own answer to every message: more than a member's share.
    void AnswerEachMessageOwnAndLarge() {
        m_react = [this](Network::Tun_Session& session, const Network::Tun_Event& event) {
            SendToOthers(session, event, 2, std::string(64 * 1024, 'a'));
        };
    }

    std::vector<Network::Tun_Address> m_peers;
    std::function<void(Network::Tun_Session&, const Network::Tun_Event&)> m_react;
    std::size_t m_sendsRefused = 0;
    WirePeer m_stopped;
    WirePeer m_peer;
};

// Twice what a member may have waiting, sent while the member reads nothing:
// it gets every message once it reads again, and stays.
TEST_F(SessionForwardingTest, AFloodWaitsForAStoppedMemberAndNoneIsLost) {
    m_react = [this](Network::Tun_Session& session, const Network::Tun_Event& event) {
        const Network::Tun_Session::ForwardScope forwarding(session, event.address);
        SendToOthers(session, event, event.messageType,
                     std::string(reinterpret_cast<const char*>(event.payload), event.payloadLength));
    };
    ConnectStoppedMemberAndPeer();
    const std::string text(1024, 'f');
    const std::size_t floods = 2 * Network::kMaxWaitingOutput / text.size();
    std::thread flooding([&] {
        const testsupport::Bytes message = testsupport::FramedMessage(1, text);
        for (std::size_t sent = 0; sent < floods && m_peer.Write(message, milliseconds(20000)); ++sent) {
        }
    });
    // The member reads nothing for a second while the flood goes on.
    m_session.PumpUntil([&] { return m_session.Messages(2).size() == floods; }, milliseconds(1000));
    std::atomic<std::size_t> heard{0};
    std::atomic<bool> reading{true};
    std::thread reader([&] {
        while (heard < floods && m_stopped.ReadMessage(milliseconds(5000)).has_value()) {
            ++heard;
        }
        reading = false;
    });
    m_session.PumpUntil([&] { return !reading; }, milliseconds(30000));
    reader.join();
    flooding.join();

    EXPECT_EQ(heard, floods);
    EXPECT_EQ(m_session.Messages(2).size(), floods);
    EXPECT_EQ(m_sendsRefused, 0u);
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::AcceptedConnectionClosed), 0u);
}

// What the host sends of its own while it handles a peer's message waits at
// a stopped member without slowing the peer down.
TEST_F(SessionForwardingTest, TheHostsOwnSendsNeverHoldThePeerBack) {
    AnswerEachMessageOwnAndLarge();
    ConnectStoppedMemberAndPeer();
    for (std::size_t sent = 1; sent <= 8; ++sent) {
        ASSERT_TRUE(m_peer.WriteMessage(1, "ask"));
        ASSERT_TRUE(m_session.PumpUntil([&] { return m_session.Messages(2).size() == sent; }));
    }
    EXPECT_EQ(m_sendsRefused, 0u);
    EXPECT_EQ(m_session.Count(Tun_Event_Kind::AcceptedConnectionClosed), 0u);
}

// A member that takes nothing while output waits for it is closed, and the
// host hears of it as of any peer that left.
TEST_F(SessionForwardingTest, AMemberWhoseOutputStallsIsClosed) {
    Network::SessionTestAccess::SetStalledOutputLimit(*m_session, milliseconds(300));
    AnswerEachMessageOwnAndLarge();
    ConnectStoppedMemberAndPeer();
    ASSERT_TRUE(m_peer.WriteMessage(1, "ask"));
    EXPECT_TRUE(m_session.PumpUntilCount(Tun_Event_Kind::AcceptedConnectionClosed, 1, 2, milliseconds(5000)));
    EXPECT_TRUE(m_stopped.WaitClosed(milliseconds(5000)));
    EXPECT_FALSE(m_peer.WaitClosed(milliseconds(0)));
}

}  // namespace
}  // namespace sessiontest
