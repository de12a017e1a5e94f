#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

#include <algorithm>

namespace Tundra {

namespace {

// Every spoofed endpoint would add a record: the list grows no further.
constexpr std::size_t kMaxFoundSessions = 64;
// One machine lists no more sessions than this, however many it announces,
// so that it never crowds out the others.
constexpr std::ptrdiff_t kMaxSessionsPerSender = 4;

using FoundSessions = std::vector<TunBroadcast>;

// The least recently heard record that passes the test, or end.
template <class Test>
FoundSessions::iterator LeastRecentlyHeard(FoundSessions& sessions, Test test) {
    auto oldest = sessions.end();
    for (auto found = sessions.begin(); found != sessions.end(); ++found) {
        if (test(*found) && (oldest == sessions.end() || found->GetAge() > oldest->GetAge())) {
            oldest = found;
        }
    }
    return oldest;
}

}  // namespace

bool TunNet::OpenDiscoverySocket() {
    return m_session != nullptr && m_session->OpenUdpSocket(m_discoveryPort);
}

void TunNet::AgeSessionList(float dt) {
    std::erase_if(m_foundSessions, [&](TunBroadcast& record) {
        record.SetAge(record.GetAge() + dt);
        return record.GetAge() >= m_sessionListTimeOut;
    });
}

void TunNet::UpdateSessionList(const TunBroadcast& record, const Network::Tun_Address& heardFrom) {
    TunBroadcast heard = record;
    heard.SetAge(0.0f);
    heard.SetSenderIPv4(heardFrom.GetIPv4());
    const auto sameEndpoint = [&heard](const TunBroadcast& found) {
        return found.GetAddress().SameEndpoint(heard.GetAddress());
    };
    const auto fromSender = [sender = heard.GetSenderIPv4()](const TunBroadcast& found) {
        return found.GetSenderIPv4() == sender;
    };
    if (const auto found = std::find_if(m_foundSessions.begin(), m_foundSessions.end(), sameEndpoint);
        found != m_foundSessions.end()) {
        // Only the machine that listed a session, or the session's own
        // address, speaks for it.
        if (!heard.IsHeardOnOwnAddress() && !fromSender(*found)) {
            return;
        }
        *found = heard;
    } else if (std::count_if(m_foundSessions.begin(), m_foundSessions.end(), fromSender) >= kMaxSessionsPerSender) {
        *LeastRecentlyHeard(m_foundSessions, fromSender) = heard;
        return;
    } else if (m_foundSessions.size() < kMaxFoundSessions) {
        m_foundSessions.push_back(heard);
    } else {
        // Full: a session still heard from its own address stays listed; only
        // a claim that its named host never made gives way.
        const auto room = LeastRecentlyHeard(m_foundSessions,
                                             [](const TunBroadcast& found) { return !found.IsHeardOnOwnAddress(); });
        if (room == m_foundSessions.end()) {
            return;
        }
        *room = heard;
    }
    // A session that took its record over from another machine may bring
    // its own machine over its share: that machine's oldest other one goes.
    if (std::count_if(m_foundSessions.begin(), m_foundSessions.end(), fromSender) > kMaxSessionsPerSender) {
        m_foundSessions.erase(LeastRecentlyHeard(m_foundSessions, [&](const TunBroadcast& found) {
            return fromSender(found) && !sameEndpoint(found);
        }));
    }
}

}  // namespace Tundra
