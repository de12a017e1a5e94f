#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

namespace Tundra {

namespace {

// Every spoofed endpoint would add a record: the list stops growing here
// until one ages out.
constexpr std::size_t kMaxFoundSessions = 64;

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

void TunNet::UpdateSessionList(const TunBroadcast& record) {
    for (TunBroadcast& found : m_foundSessions) {
        if (found.GetAddress().SameEndpoint(record.GetAddress())) {
            found = record;
            found.SetAge(0.0f);
            return;
        }
    }
    if (m_foundSessions.size() < kMaxFoundSessions) {
        m_foundSessions.push_back(record);
        m_foundSessions.back().SetAge(0.0f);
    }
}

}  // namespace Tundra
