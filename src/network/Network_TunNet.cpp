#include "network/Network_TunNet.h"

#include "network/Network_Session.h"

#include "tundra/Tundra_GameObject.h"

namespace Tundra {

std::uint16_t TunNet::s_discoveryPortOverride = 0;
std::uint32_t TunNet::s_joinWaitLimitMilliseconds = 5000;

TunNet::TunNet() {}
TunNet::~TunNet() {}
void TunNet::PushToLua(lua_State*) const {}
void TunNet::Update(float) {}
TunNet* TunNet::GetCurrent() { return nullptr; }
bool TunNet::Start(bool, NetMessageCallback, const Core::String&, const Core::String&, std::uint32_t, std::uint32_t,
                   std::uint32_t, std::uint16_t, std::uint16_t) {
    return false;
}
bool TunNet::HostSession(const Core::String&, std::uint32_t, std::uint32_t, float) { return false; }
bool TunNet::JoinSession(const Core::String&, const Network::Tun_Address&, const Core::String&) { return false; }
bool TunNet::Shutdown() { return false; }
void TunNet::UpdatePlayerDevices() {}
bool TunNet::IsNetworkGame() const {
    if (m_localPlayer == nullptr) {
        return false;
    }
    return m_isHost ? m_hosting : m_connected;
}
bool TunNet::SendToGroup(std::uint32_t, const void*, std::uint32_t, TunGroup*, bool) { return false; }
bool TunNet::SendToPlayer(std::uint32_t, const void*, std::uint32_t, TunPlayer*, bool) { return false; }
bool TunNet::OpenDiscoverySocket() { return false; }
bool TunNet::AnnounceSession() { return false; }
void TunNet::SendPings() {}
void TunNet::AnswerPing() {}
void TunNet::RecordPingAnswer(std::uint32_t, double) {}
void TunNet::AgeSessionList(float) {}
void TunNet::UpdateSessionList(const TunBroadcast&) {}
bool TunNet::Notify(NetMessage&) { return false; }
void TunNet::EndSession() {}
void TunNet::ProcessSessionEvents() {}
void TunNet::SendHostState() {}
void TunNet::SendClientInput() {}

}  // namespace Tundra
