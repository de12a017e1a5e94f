#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "network/Network_TunNet.h"
#include "tundra/Lua_GameObjectBindings.h"
#include "tundra/Tundra_Layer.h"

#include <lua.hpp>

namespace Lua::GameObjectScript {

int AddManagedObject(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) < 2) {
        return 0;
    }
    Core::Object* object = GetAnyObject(state, 1);
    const char* name = GetString(state, 2);
    if (name != nullptr) {
        self.AddManagedObject(object, name);
    }
    return 0;
}

int Mount(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        self.Mount(GetObject<Tundra::GameObject>(state, 1));
    }
    return 0;
}

int GetMount(Tundra::GameObject& self, lua_State* state) {
    PushObject(state, self.GetMount());
    return 1;
}

int UnMount(Tundra::GameObject& self, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        self.UnMount(GetObject<Tundra::GameObject>(state, 1));
    }
    return 0;
}

int GetMountsCount(Tundra::GameObject& self, lua_State* state) {
    PushInt(state, self.GetMountsCount());
    return 1;
}

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

int GetLayer(Tundra::GameObject& self, lua_State* state) {
    PushObject(state, self.GetLayer());
    return 1;
}

int SetName(Tundra::GameObject& self, lua_State* state) {
    if (const char* name = GetString(state, 1)) {
        self.SetName(name);
    }
    return 0;
}

int GetName(Tundra::GameObject& self, lua_State* state) {
    PushString(state, self.GetName().c_str());
    return 1;
}

int GetNetworkKeyboard(Tundra::GameObject& self, lua_State* state) {
    PushObject(state, self.GetNetworkKeyboard());
    return 1;
}

int GetNetworkMouse(Tundra::GameObject& self, lua_State* state) {
    PushObject(state, self.GetNetworkMouse());
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

// ("player id"): without one, the local player.
int ChangeNetworkOwner(Tundra::GameObject& self, lua_State* state) {
    bool changed = false;
    if (lua_type(state, 1) == LUA_TNUMBER) {
        const Tundra::TunPlayer player(GetUnsigned(state, 1));
        changed = self.ChangeNetworkOwner(&player);
    } else {
        changed = self.ChangeNetworkOwner(nullptr);
    }
    PushBool(state, changed);
    return 1;
}

int SetScript(Tundra::GameObject& self, lua_State* state) {
    if (const char* name = GetString(state, 1)) {
        self.SetScript(name);
    }
    return 0;
}

// (skip constructor = false).
int RunScript(Tundra::GameObject& self, lua_State* state) {
    self.RunScript(GetBool(state, 1));
    return 0;
}

}  // namespace Lua::GameObjectScript
