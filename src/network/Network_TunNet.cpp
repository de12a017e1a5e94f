#include "network/Network_TunNet.h"

#include "network/Network_TunNetTestHooks.h"

#include <cstdint>

namespace Tundra {
namespace {
TunNetTestState g_state;
}

TunNetTestState& GetTunNetTestState() { return g_state; }

bool TunNet::Start(std::uint32_t mode, const Core::String&, const Core::String&) {
    g_state.startModes.push_back(mode);
    m_running = g_state.canStart;
    return m_running;
}

bool TunNet::HostSession(const Core::String&, std::uint32_t) { return m_running && g_state.canHost; }

void TunNet::UpdatePlayerDevices() { ++g_state.deviceUpdates; }

void TunNet::Update(float) { ++g_state.updates; }

bool TunNet::Shutdown() {
    const bool wasRunning = m_running;
    m_running = false;
    return wasRunning;
}

bool TunNet::IsNetworkGame() const { return g_state.networkGame; }

bool TunNet::IsHost() const { return g_state.host; }

TunPlayer* TunNet::GetLocalPlayer() const { return g_state.networkGame ? &g_state.localPlayer : nullptr; }

void TunNet::ClearNetworkObjects() { ++g_state.clears; }

bool TunNet::SendToGroup(std::uint32_t type, const void* data, std::uint32_t size, const void* group, bool reliable) {
    if (!g_state.networkGame) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    g_state.sent.push_back({type, std::vector<std::uint8_t>(bytes, bytes + size), group == nullptr, reliable});
    return true;
}

bool TunNet::AddNetworkObject(GameObject*, std::uint32_t, TunPlayer*) { return false; }

bool TunNet::RemoveNetworkObject(GameObject*) { return false; }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::NetObjectID)
TUN_DEFINE_CLASS(Tundra::TunComponentManager)
