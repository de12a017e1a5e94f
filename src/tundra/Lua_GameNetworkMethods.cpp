#include "tundra/Lua_GameNetworkMethods.h"

#include "network/Network_TunNet.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Game.h"

namespace Lua {
int NetworkStart(Tundra::Game& game, lua_State* state) {
    const char* name = GetString(state, 1);
    if (name == nullptr) {
        return 0;
    }
    PushBool(state, game.NetworkStart(name));
    return 1;
}

int NetworkShutdown(Tundra::Game& game, lua_State* state) {
    Tundra::TunNet* network = game.GetNetworkEngine();
    PushBool(state, network != nullptr && network->Shutdown());
    return 1;
}

int HostNetworkGame(Tundra::Game& game, lua_State* state) {
    const char* name = GetString(state, 1);
    const char* text = GetString(state, 2);
    const char* second = GetString(state, 3);
    if (name == nullptr || text == nullptr || second == nullptr || ArgumentCount(state) < 4) {
        return 0;
    }
    const std::int32_t count = GetInt(state, 4);
    PushBool(state, count >= 0 && game.HostNetworkGame(name, text, second, static_cast<std::uint32_t>(count)));
    return 1;
}

int JoinNetworkGame(Tundra::Game&, lua_State* state) {
    // No session record reaches scripts until the front end hears
    // announcements ("GetOnlineSession" has none to give), so there is
    // nothing a script can name to join.
    if (ArgumentCount(state) < 3) {
        return 0;
    }
    PushBool(state, false);
    return 1;
}

int IsNetworkGame(Tundra::Game& game, lua_State* state) {
    const Tundra::TunNet* network = game.GetNetworkEngine();
    PushBool(state, network != nullptr && network->IsNetworkGame());
    return 1;
}

int IsServer(Tundra::Game& game, lua_State* state) {
    const Tundra::TunNet* network = game.GetNetworkEngine();
    PushBool(state, network != nullptr && network->IsHost());
    return 1;
}

// The front end keeps no announcements until the networking subsystem
// comes, so the game lists no session.
int GetOnlineSessionsCount(Tundra::Game&, lua_State* state) {
    PushInt(state, 0);
    return 1;
}

int GetOnlineSession(Tundra::Game&, lua_State*) { return 0; }

}  // namespace Lua
