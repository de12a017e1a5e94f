#pragma once

#include "network/Network_Session.h"
#include "support/MovingClock.h"
#include "support/Network_WirePeer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sessiontest {

using Network::Tun_Event_Kind;

// What a packet handler was given.
struct SeenEvent {
    Tun_Event_Kind kind;
    std::int32_t id;
    bool failed;
    std::uint16_t port;
    std::uint32_t type;
    std::string payload;
    std::thread::id thread;
};

// Every event any session delivers to HandleEvent, in order.
class EventLog {
public:
    static bool HandleEvent(Network::Tun_Event* event);
    static void Clear();
    static std::vector<SeenEvent> Take();
    static std::size_t Count(Tun_Event_Kind kind);
    // Runs on the handling thread after each event is logged (null: nothing).
    static void SetReaction(std::function<void(const Network::Tun_Event&)> reaction);

private:
    static std::mutex s_mutex;
    static std::vector<SeenEvent> s_events;
    static std::function<void(const Network::Tun_Event&)> s_reaction;
};

Network::Tun_Address Loopback(std::uint16_t port);
// A port nothing listens on.
std::uint16_t ClosedPort();

// An open session (mode 0, select timeout 1 ms) on a moving clock, closed
// and checked for threads after the test.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Drains events on this thread until the log holds count events of the
    // kind (bounded); true when it does.
    bool PumpUntil(Tun_Event_Kind kind, std::size_t count = 1);
    // Drains what arrives within a short while.
    void PumpBriefly();
    std::uint16_t PortOf(std::int32_t id);
    // Socket id 2 listening on 127.0.0.1, port 0, served by the I/O thread.
    void OpenListener(std::uint32_t serviceFlags = Network::kServiceByIoThread);
    // Socket id 3, blocking, connected to the listener's accepted far end.
    testsupport::WirePeer OpenClient(std::uint32_t serviceFlags = 0);

    testsupport::MovingClock m_clock;
    Network::Tun_Session m_session;
};

}  // namespace sessiontest
