#include "support/Network_RecordingSession.h"

#include "network/Network_LocalHostTestHooks.h"
#include "os/OS_Sleep.h"
#include "os/OS_SocketAddress.h"

#include <map>
#include <mutex>

namespace testsupport {

namespace {

// The packet handler is a plain function: it finds its recorder by session.
std::mutex g_registryLock;
std::map<const Network::Tun_Session*, RecordingSession*> g_registry;

RecordingSession* FindRecorder(const Network::Tun_Session* session) {
    const std::lock_guard<std::mutex> lock(g_registryLock);
    const auto found = g_registry.find(session);
    return found != g_registry.end() ? found->second : nullptr;
}

}  // namespace

RecordingSession::RecordingSession() {
    const std::lock_guard<std::mutex> lock(g_registryLock);
    g_registry[&m_session] = this;
}

RecordingSession::~RecordingSession() {
    m_session.Close();
    const std::lock_guard<std::mutex> lock(g_registryLock);
    g_registry.erase(&m_session);
}

bool RecordingSession::Open(std::uint32_t selectTimeoutMilliseconds) {
    Network::ForceLocalHost(os::kLoopbackIPv4);
    return m_session.Open("test", "", 0, &RecordingSession::Record, 0, 0, 0, 0, selectTimeoutMilliseconds);
}

bool RecordingSession::Record(Network::Tun_Event* event) {
    RecordingSession* recorder = FindRecorder(event->session);
    if (recorder == nullptr) {
        return true;
    }
    if (recorder->m_reaction) {
        recorder->m_reaction(recorder->m_session, *event);
    }
    RecordedEvent copy;
    copy.kind = event->kind;
    copy.socketId = event->socketId;
    copy.address = event->address;
    copy.messageType = event->messageType;
    copy.message.assign(event->rawMessage, event->rawMessage + event->rawLength);
    copy.failed = event->failed != 0;
    recorder->m_events.push_back(std::move(copy));
    return true;
}

std::uint32_t RecordingSession::Pump() {
    std::uint32_t processed = 0;
    std::uint32_t remaining = 0;
    m_session.ProcessEvents(5, 0, &processed, &remaining);
    return processed;
}

bool RecordingSession::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        if (Pump() == 0) {
            os::Sleep(1);
        }
    }
    return true;
}

bool RecordingSession::PumpUntilCount(Network::Tun_Event_Kind kind, std::size_t count, std::int32_t socketId,
                                      std::chrono::milliseconds limit) {
    return PumpUntil([&] { return Count(kind, socketId) >= count; }, limit);
}

std::size_t RecordingSession::Count(Network::Tun_Event_Kind kind, std::int32_t socketId) const {
    std::size_t count = 0;
    for (const RecordedEvent& event : m_events) {
        count += event.kind == kind && (socketId == kAnySocket || event.socketId == socketId) ? 1 : 0;
    }
    return count;
}

std::vector<std::vector<std::uint8_t>> RecordingSession::Messages(std::int32_t socketId) const {
    std::vector<std::vector<std::uint8_t>> messages;
    for (const RecordedEvent& event : m_events) {
        if (event.kind == Network::Tun_Event_Kind::MessageReceived && event.socketId == socketId) {
            messages.push_back(event.message);
        }
    }
    return messages;
}

std::uint16_t RecordingSession::LocalPort(std::int32_t socketId) {
    Network::Tun_Address address;
    return m_session.GetLocalAddress(socketId, address) ? address.GetPort() : 0;
}

Network::Tun_Address Loopback(std::uint16_t port) { return Network::Tun_Address("127.0.0.1", port); }

}  // namespace testsupport
