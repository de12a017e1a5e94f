#include "tundra/Lua_Accessors.h"

#include <lua.hpp>

namespace Lua {

bool IsTable(lua_State* state, int index) { return lua_istable(state, index); }

void PushUnsigned(lua_State* state, std::uint32_t value) { lua_pushnumber(state, value); }

void PushHandle(lua_State* state, const void* part) {
    if (part == nullptr) {
        lua_pushnil(state);
    } else {
        lua_pushlightuserdata(state, const_cast<void*>(part));
    }
}

void NewList(lua_State* state, int size) { lua_createtable(state, size, 0); }

void AppendToList(lua_State* state, int position) { lua_rawseti(state, -2, position); }

int PushStrings(lua_State* state, const std::vector<Core::String>& strings) {
    NewList(state, static_cast<int>(strings.size()));
    for (std::size_t i = 0; i < strings.size(); ++i) {
        lua_pushlstring(state, strings[i].data(), strings[i].size());
        AppendToList(state, static_cast<int>(i + 1));
    }
    return 1;
}

}  // namespace Lua
