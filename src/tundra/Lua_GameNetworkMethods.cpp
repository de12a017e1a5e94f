#include "tundra/Lua_GameNetworkMethods.h"

#include "network/Network_TunNet.h"
#include "tundra/Lua_BroadcastValue.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Game.h"

#include <lua.hpp>

namespace Lua {
int GetNetworkEngine(Tundra::Game& game, lua_State* state) {
    if (const Tundra::TunNet* network = game.GetNetworkEngine()) {
        network->PushToLua(state);
    } else {
        lua_pushnil(state);
    }
    return 1;
}

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

int JoinNetworkGame(Tundra::Game& game, lua_State* state) {
    const char* name = GetString(state, 1);
    const BroadcastValue* session = GetBroadcast(state, 2);
    const char* password = GetString(state, 3);
    Tundra::TunNet* network = game.GetNetworkEngine();
    if (name == nullptr || session == nullptr || password == nullptr || network == nullptr) {
        return 0;
    }
    PushBool(state, network->JoinSession(name, session->ToRecord().GetAddress(), password));
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

int GetOnlineSessionsCount(Tundra::Game& game, lua_State* state) {
    PushInt(state, static_cast<std::int32_t>(game.GetOnlineSessions().size()));
    return 1;
}

// Counted from 0.
int GetOnlineSession(Tundra::Game& game, lua_State* state) {
    const std::vector<Tundra::TunBroadcast>& sessions = game.GetOnlineSessions();
    if (ArgumentCount(state) < 1 || lua_type(state, 1) != LUA_TNUMBER) {
        return 0;
    }
    const std::int32_t index = GetInt(state, 1);
    if (index < 0 || static_cast<std::size_t>(index) >= sessions.size()) {
        return 0;
    }
    sessions[static_cast<std::size_t>(index)].PushToLua(state);
    return 1;
}

}  // namespace Lua
