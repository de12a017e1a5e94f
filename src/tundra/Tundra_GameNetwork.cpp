#include "network/Network_TunNet.h"
#include "tundra/Tundra_Game.h"

namespace Tundra {
namespace {
// The game's session settings: dispatch budget and wait (ms), send rate,
// discovery and game ports, and announcements every 250 ms.
constexpr std::uint32_t kDispatchBudget = 5;
constexpr std::uint32_t kDispatchWait = 3;
constexpr std::uint32_t kUpdatesPerSecond = 60;
constexpr std::uint16_t kDiscoveryPort = 3000;
constexpr std::uint16_t kGamePort = 0;
constexpr std::uint32_t kBroadcastScope = 1;
constexpr float kBroadcastInterval = 0.25f;
}  // namespace

bool Game::NetworkStart(const Core::String& networkName) {
    if (m_network == nullptr) {
        return false;
    }
    m_network->Shutdown();
    if (!m_network->Start(false, nullptr, "", "", kDispatchBudget, kDispatchWait, kUpdatesPerSecond,
                          kDiscoveryPort, kGamePort)) {
        return false;
    }
    m_network->SetNetworkName(networkName);
    return true;
}

bool Game::HostNetworkGame(const Core::String& name, const Core::String& text, const Core::String& second,
                           std::uint32_t playerCount) {
    if (m_network == nullptr || !m_network->Shutdown()) {
        return false;
    }
    return m_network->Start(true, nullptr, name, second, kDispatchBudget, kDispatchWait, kUpdatesPerSecond,
                            kDiscoveryPort, kGamePort) &&
           m_network->HostSession(text, playerCount, kBroadcastScope, kBroadcastInterval);
}

}  // namespace Tundra
