#pragma once

struct lua_State;
namespace Core {
class Object;
}
namespace Tundra {
class GameObject;
}

// Bindings that every framework class table shares; each table binds them
// with Lua::Bind on the class named here, so they share one Binding.
namespace Lua {

// "ObjectFunction"(name, result count, ...): calls the global function of
// that name in the receiver's own script with the arguments from the third
// on, and returns its results.
int ObjectFunction(Core::Object& self, lua_State* state);
// "SaveNetworkData"(...) / "LoadNetworkData"(): the tagged values written to
// and read from the object's network stream while the network layer has set
// it; nothing without one.
int SaveNetworkData(Tundra::GameObject& self, lua_State* state);
int LoadNetworkData(Tundra::GameObject& self, lua_State* state);
// "Clone": the object's Clone; a copy with a script instance gets "self" and
// runs its script. Pushes the copy.
int CloneObject(Core::Object& self, lua_State* state);

}  // namespace Lua
