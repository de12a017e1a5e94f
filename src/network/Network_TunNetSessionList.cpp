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

void TunNet::UpdateSessionList(const TunBroadcast& record, const Network::Tun_Address& heardFrom) {
    TunBroadcast heard = record;
    heard.SetAge(0.0f);
    heard.SetHeardOnOwnAddress(heardFrom.GetIPv4() == record.GetAddress().GetIPv4());
    for (TunBroadcast& found : m_foundSessions) {
        if (found.GetAddress().SameEndpoint(heard.GetAddress())) {
            found = heard;
            return;
        }
    }
    if (m_foundSessions.size() < kMaxFoundSessions) {
        m_foundSessions.push_back(heard);
        return;
    }
    // Full: the least recently heard claimant of another address makes room;
    // among sessions heard on their own address only for another such one.
    TunBroadcast* room = nullptr;
    for (const bool own : {false, true}) {
        if (own && !heard.IsHeardOnOwnAddress()) {
            break;
        }
        for (TunBroadcast& found : m_foundSessions) {
            if (found.IsHeardOnOwnAddress() == own && (room == nullptr || found.GetAge() > room->GetAge())) {
                room = &found;
            }
        }
        if (room != nullptr) {
            break;
        }
    }
    if (room != nullptr) {
        m_foundSessions.erase(m_foundSessions.begin() + (room - m_foundSessions.data()));
        m_foundSessions.push_back(heard);
    }
}

}  // namespace Tundra
