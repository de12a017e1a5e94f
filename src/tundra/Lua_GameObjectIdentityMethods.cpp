#include "network/Network_TunNet.h"
#include "tundra/Lua_GameObjectBindings.h"

#include <lua.hpp>
#include <optional>

namespace Lua::GameObjectScript {

int IsMounted(Tundra::GameObject& self, lua_State* state) {
    PushBool(state, self.GetMount() != nullptr);
    return 1;
}

int GetMountSupport(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushObject(state, self.GetMountAt(GetInt(state, 1)));
    return 1;
}

int GetNetworkOwner(Tundra::GameObject& self, lua_State* state) {
    std::uint32_t playerId = 0;
    if (!self.GetNetworkOwner(playerId)) {
        return 0;
    }
    PushUnsigned(state, playerId);
    return 1;
}

// ([player id]): without one, the local player.
int ChangeNetworkOwner(Tundra::GameObject& self, lua_State* state) {
    const std::optional<std::uint32_t> playerId =
        lua_type(state, 1) == LUA_TNUMBER ? ReadArgument<std::uint32_t>(state, 1) : std::nullopt;
    Tundra::TunPlayer player;
    player.SetID(playerId.value_or(0));
    PushBool(state, self.ChangeNetworkOwner(playerId ? &player : nullptr));
    return 1;
}

// (skip constructor = false).
int RunScript(Tundra::GameObject& self, lua_State* state) {
    self.RunScript(GetBool(state, 1));
    return 0;
}

}  // namespace Lua::GameObjectScript
