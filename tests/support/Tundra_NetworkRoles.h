#pragma once

#include "core/Core_TrackedMemory.h"
#include "network/Network_TunNetTestHooks.h"
#include "tundra/Tundra_Game.h"

#include <cstdint>

// Gives the running game's front end a role without a session, for code that
// behaves differently on a host or a client (the role queries read the same
// fields a session would set).
namespace testsupport {

enum class NetworkRole {
    Outside,
    // Started as host, the session not yet open: still outside a network game.
    HostNotOpen,
    Host,
    Client,
};

inline void SetNetworkRole(NetworkRole role, std::uint32_t localPlayerId = 1) {
    Tundra::Game* game = Tundra::Game::GetInstance();
    if (game == nullptr || game->GetNetworkEngine() == nullptr) {
        return;
    }
    const bool host = role == NetworkRole::Host || role == NetworkRole::HostNotOpen;
    Tundra::TunPlayer* player = nullptr;
    if (role != NetworkRole::Outside) {
        player = TUN_NEW(Tundra::TunPlayer, "local", true, host, Network::Tun_Address());
        player->SetID(localPlayerId);
    }
    Tundra::TunNetTestAccess::SetRoles(*game->GetNetworkEngine(), host, role == NetworkRole::Host,
                                       role == NetworkRole::Client, player);
}

}  // namespace testsupport
