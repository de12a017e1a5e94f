#pragma once

#include "network/Network_Session.h"
#include "support/MovingClock.h"
#include "support/Network_RecordingSession.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace sessiontest {

using Network::Tun_Event_Kind;
using testsupport::Loopback;

// The payload of a recorded message event.
std::string PayloadOf(const testsupport::RecordedEvent& event);

// An open session (mode 0, select timeout 1 ms) on a moving clock, closed
// and checked for threads after the test.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::uint16_t PortOf(std::int32_t id) { return m_session.LocalPort(id); }
    // A port held by a stream that does not listen: connects to it are
    // refused, and no socket bound to port 0 can get it (a connect from its
    // own port would connect to itself).
    std::uint16_t ClosedPort();
    // Socket id 2 listening on 127.0.0.1, port 0.
    void OpenListener(std::uint32_t serviceFlags = Network::kServiceByIoThread);
    // Socket id 3, blocking, connected to a listener's accepted far end.
    testsupport::WirePeer OpenClient(std::uint32_t serviceFlags = 0);
    // Opens a stream socket through openStream at a port free for datagrams
    // too, then socket 4, served datagrams, on the same port, as a player's
    // game sockets share one.
    void OpenWithDatagramSocket(const std::function<bool(std::uint16_t port)>& openStream);
    // As a client's game port: socket 3 connected to the host (its far end
    // in accepted), and socket 4 on socket 3's port. The host's datagrams
    // come from its listener's port, as the returned peer's.
    testsupport::WirePeer ConnectToHost(std::optional<testsupport::WireListener>& host, testsupport::WirePeer& accepted,
                                        std::uint32_t streamServiceFlags = 0);
    // Events queued and not yet handled; handles none.
    std::uint32_t Queued();

    testsupport::MovingClock m_clock;
    testsupport::RecordingSession m_session;
};

}  // namespace sessiontest
