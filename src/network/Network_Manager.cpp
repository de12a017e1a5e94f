#include "network/Network_Manager.h"

#include "network/Network_Session.h"

#include <algorithm>

TUN_DEFINE_UNCLONABLE_CLASS(Network::Tun_Network_Manager)

namespace Network {

Tun_Network_Manager::~Tun_Network_Manager() { CloseAllSessions(); }

bool Tun_Network_Manager::Initialize() {
    // Linux sockets need no library start; only the once-only answer stays.
    if (m_started) {
        return false;
    }
    m_started = true;
    return true;
}

Tun_Session* Tun_Network_Manager::CreateSession(const Core::String& name, const Core::String& text,
                                                std::uint8_t openFlag, Tun_PacketHandler handler, std::int32_t priority,
                                                std::uint8_t threaded, std::int32_t workerLimit,
                                                std::uint32_t idleSleepMilliseconds,
                                                std::uint32_t selectTimeoutMilliseconds) {
    auto session = std::make_unique<Tun_Session>();
    if (!session->Open(name, text, openFlag, handler, priority, threaded, workerLimit, idleSleepMilliseconds,
                       selectTimeoutMilliseconds)) {
        return nullptr;
    }
    m_sessions.push_back(std::move(session));
    return m_sessions.back().get();
}

bool Tun_Network_Manager::DestroySession(Tun_Session* session) {
    const auto listed = [session](const std::unique_ptr<Tun_Session>& entry) { return entry.get() == session; };
    if (session == nullptr || std::none_of(m_sessions.begin(), m_sessions.end(), listed) || !session->Close()) {
        return false;
    }
    // The closing events may have reached code that changed the list.
    const auto found = std::find_if(m_sessions.begin(), m_sessions.end(), listed);
    if (found != m_sessions.end()) {
        m_sessions.erase(found);
    }
    return true;
}

void Tun_Network_Manager::CloseAllSessions() {
    // A session's closing events may reach code that destroys other
    // sessions: take each out of the list before closing it.
    while (!m_sessions.empty()) {
        std::unique_ptr<Tun_Session> session = std::move(m_sessions.front());
        m_sessions.erase(m_sessions.begin());
        session->Close();
    }
}

}  // namespace Network
