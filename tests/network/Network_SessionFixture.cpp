#include "Network_SessionFixture.h"

#include <chrono>

namespace sessiontest {

std::mutex EventLog::s_mutex;
std::vector<SeenEvent> EventLog::s_events;
std::function<void(const Network::Tun_Event&)> EventLog::s_reaction;

bool EventLog::HandleEvent(Network::Tun_Event* event) {
    std::function<void(const Network::Tun_Event&)> reaction;
    {
        std::lock_guard lock(s_mutex);
        SeenEvent seen{event->kind,
                       event->socketId,
                       event->failed != 0,
                       event->address.GetPort(),
                       event->messageType,
                       std::string(reinterpret_cast<const char*>(event->payload), event->payloadLength),
                       std::this_thread::get_id()};
        s_events.push_back(seen);
        reaction = s_reaction;
    }
    if (reaction) {
        reaction(*event);
    }
    return true;
}

void EventLog::Clear() {
    std::lock_guard lock(s_mutex);
    s_events.clear();
    s_reaction = nullptr;
}

std::vector<SeenEvent> EventLog::Take() {
    std::lock_guard lock(s_mutex);
    return std::exchange(s_events, {});
}

std::size_t EventLog::Count(Tun_Event_Kind kind) {
    std::lock_guard lock(s_mutex);
    std::size_t count = 0;
    for (const SeenEvent& event : s_events) {
        count += event.kind == kind ? 1 : 0;
    }
    return count;
}

void EventLog::SetReaction(std::function<void(const Network::Tun_Event&)> reaction) {
    std::lock_guard lock(s_mutex);
    s_reaction = std::move(reaction);
}

Network::Tun_Address Loopback(std::uint16_t port) { return Network::Tun_Address("127.0.0.1", port); }

std::uint16_t ClosedPort() {
    testsupport::WireListener listener;
    return listener.GetPort();
}

void SessionTest::SetUp() {
    EventLog::Clear();
    ASSERT_TRUE(m_session.Open("test", "text", 0, &EventLog::HandleEvent, 0, 0, 0, 0, 1));
}

void SessionTest::TearDown() {
    m_session.Close();
    EXPECT_EQ(m_session.GetThreadCount(), 0u);
    EventLog::Clear();
}

bool SessionTest::PumpUntil(Tun_Event_Kind kind, std::size_t count) {
    return testsupport::WaitUntil(
        [&] {
            m_session.ProcessEvents(5, 0, nullptr, nullptr);
            return EventLog::Count(kind) >= count;
        },
        std::chrono::milliseconds(3000));
}

void SessionTest::PumpBriefly() {
    testsupport::WaitUntil(
        [&] {
            m_session.ProcessEvents(5, 0, nullptr, nullptr);
            return false;
        },
        std::chrono::milliseconds(50));
}

std::uint16_t SessionTest::PortOf(std::int32_t id) {
    Network::Tun_Address address;
    EXPECT_TRUE(m_session.GetLocalAddress(id, address));
    return address.GetPort();
}

void SessionTest::OpenListener(std::uint32_t serviceFlags) {
    ASSERT_NE(m_session.OpenSocket(2, 1, Loopback(0), serviceFlags, os::kSocketOptionNonBlocking), nullptr);
    ASSERT_TRUE(m_session.Listen(2, 70));
}

testsupport::WirePeer SessionTest::OpenClient(std::uint32_t serviceFlags) {
    testsupport::WireListener listener;
    EXPECT_NE(m_session.OpenSocket(3, 1, Loopback(0), serviceFlags, 0), nullptr);
    EXPECT_TRUE(m_session.Connect(3, Loopback(listener.GetPort())));
    return listener.Accept();
}

}  // namespace sessiontest
