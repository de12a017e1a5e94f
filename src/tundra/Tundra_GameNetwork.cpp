#include "network/Network_TunNet.h"
#include "tundra/Tundra_Game.h"

namespace Tundra {
namespace {
constexpr std::uint32_t kClientMode = 0;
constexpr std::uint32_t kHostMode = 1;
}  // namespace

bool Game::NetworkStart(const Core::String& networkName) {
    if (m_network == nullptr) {
        return false;
    }
    m_network->Shutdown();
    if (!m_network->Start(kClientMode, "", "")) {
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
    return m_network->Start(kHostMode, name, second) && m_network->HostSession(text, playerCount);
}

}  // namespace Tundra
