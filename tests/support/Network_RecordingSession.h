#pragma once

#include "network/Network_Event.h"
#include "network/Network_Session.h"
#include "os/OS_Socket.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// A session for tests: opened on 127.0.0.1 in dispatch mode 0, its packet
// handler recording a copy of every event it is given.
namespace testsupport {

// Socket types as OpenSocket takes them.
constexpr auto kStreamSocket = static_cast<std::int32_t>(os::SocketType::Stream);
constexpr auto kDatagramSocket = static_cast<std::int32_t>(os::SocketType::Datagram);

struct RecordedEvent {
    Network::Tun_Event_Kind kind = Network::Tun_Event_Kind::SessionOpened;
    std::int32_t socketId = -1;
    Network::Tun_Address address;
    std::uint32_t messageType = Network::kNoMessageType;
    // The whole message, header included; empty without one.
    std::vector<std::uint8_t> message;
    bool failed = false;
};

class RecordingSession {
public:
    // Called with every event before it is recorded, on the thread that
    // delivers it; it may use the session.
    using Reaction = std::function<void(Network::Tun_Session& session, const Network::Tun_Event& event)>;

    RecordingSession();
    // Closes the session when it is open.
    ~RecordingSession();
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // The local host is forced to 127.0.0.1: every test stays on loopback.
    bool Open(std::uint32_t selectTimeoutMilliseconds = 1);
    Network::Tun_Session& operator*() { return m_session; }
    Network::Tun_Session* operator->() { return &m_session; }
    void SetReaction(Reaction reaction) { m_reaction = std::move(reaction); }

    // Delivers what is queued now, on this thread; the number delivered.
    std::uint32_t Pump();
    // Delivers queued events on this thread until done holds for what was
    // recorded or the limit passes; done's last answer.
    bool PumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds limit = std::chrono::milliseconds(2000));
    // Pumps until `count` events of the kind (on the socket, when one is
    // named) were recorded.
    bool PumpUntilCount(Network::Tun_Event_Kind kind, std::size_t count, std::int32_t socketId = kAnySocket,
                        std::chrono::milliseconds limit = std::chrono::milliseconds(2000));

    static constexpr std::int32_t kAnySocket = -2;
    std::size_t Count(Network::Tun_Event_Kind kind, std::int32_t socketId = kAnySocket) const;
    // Recorded events in delivery order; the test may clear them.
    std::vector<RecordedEvent>& Events() { return m_events; }
    const std::vector<RecordedEvent>& Events() const { return m_events; }
    // The messages of message events on the socket, in order.
    std::vector<std::vector<std::uint8_t>> Messages(std::int32_t socketId) const;
    // The port a socket of this session is bound to; 0 when it has none.
    std::uint16_t LocalPort(std::int32_t socketId);

private:
    static bool Record(Network::Tun_Event* event);

    Network::Tun_Session m_session;
    Reaction m_reaction;
    std::vector<RecordedEvent> m_events;
};

// A bind address on 127.0.0.1 with the port.
Network::Tun_Address Loopback(std::uint16_t port = 0);

}  // namespace testsupport
