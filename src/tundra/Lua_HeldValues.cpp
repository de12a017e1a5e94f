#include "tundra/Lua_HeldValues.h"

#include <lua.hpp>

namespace Lua {

void* NewBareValue(lua_State* state, std::size_t size) { return lua_newuserdata(state, size); }

void AttachTable(lua_State* state, const char* scriptName) {
    lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
    lua_setmetatable(state, -2);
}

void PushPointee(lua_State* state, const void* part, const char* scriptName) {
    *static_cast<const void**>(NewBareValue(state, sizeof(const void*))) = part;
    AttachTable(state, scriptName);
}

}  // namespace Lua
