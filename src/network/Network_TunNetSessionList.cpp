#include "network/Network_Session.h"
#include "network/Network_TunNet.h"

namespace Tundra {

namespace {

// Every spoofed endpoint would add a record: the list grows no further, and
// a newcomer takes the place of one heard before.
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

void TunNet::UpdateSessionList(const TunBroadcast& record, const Network::Tun_Address& heardFrom) {
    TunBroadcast heard = record;
    heard.SetAge(0.0f);
    heard.SetHeardOnOwnAddress(heardFrom.GetIPv4() == record.GetAddress().GetIPv4());
    for (TunBroadcast& found : m_foundSessions) {
        if (found.GetAddress().SameEndpoint(heard.GetAddress())) {
            // Only the session itself speaks for a session heard on its own address.
            if (heard.IsHeardOnOwnAddress() || !found.IsHeardOnOwnAddress()) {
                found = heard;
            }
            return;
        }
    }
    if (m_foundSessions.size() < kMaxFoundSessions) {
        m_foundSessions.push_back(heard);
        return;
    }
    // Full: the least recently heard announcement that named another address
    // than its sender's makes room; one from a session's own address may
    // also take the place of the least recently heard such session.
    const auto leastRecent = [this](bool heardOnOwnAddress) {
        auto oldest = m_foundSessions.end();
        for (auto found = m_foundSessions.begin(); found != m_foundSessions.end(); ++found) {
            if (found->IsHeardOnOwnAddress() == heardOnOwnAddress &&
                (oldest == m_foundSessions.end() || found->GetAge() > oldest->GetAge())) {
                oldest = found;
            }
        }
        return oldest;
    };
    auto room = leastRecent(false);
    if (room == m_foundSessions.end() && heard.IsHeardOnOwnAddress()) {
        room = leastRecent(true);
    }
    if (room != m_foundSessions.end()) {
        m_foundSessions.erase(room);
        m_foundSessions.push_back(heard);
    }
}

}  // namespace Tundra
