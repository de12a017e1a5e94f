#include "Tundra_ScriptChunk.h"

#include "tundra/Lua_Host.h"

#include <lua.hpp>

namespace tundratest {

bool RunChunk(const std::string& code, int resultCount,
              const std::function<void(lua_State* state, int first)>& check) {
    lua_State* state = Lua::Host::GetMainState();
    if (state == nullptr || luaL_loadbuffer(state, code.data(), code.size(), "=chunk") != 0) {
        return false;
    }
    return Lua::Host::Call(state, 0, resultCount, check);
}

double NumberAt(lua_State* state, int index) {
    if (lua_isboolean(state, index)) {
        return lua_toboolean(state, index);
    }
    return lua_isnumber(state, index) ? lua_tonumber(state, index) : 0.0;
}

std::string TextAt(lua_State* state, int index) {
    return lua_type(state, index) == LUA_TSTRING ? lua_tostring(state, index) : "";
}

}  // namespace tundratest
