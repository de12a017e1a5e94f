#include "tundra/Lua_Accessors.h"

#include <lua.hpp>

namespace Lua {
namespace {

bool Present(lua_State* state, int index) { return index <= lua_gettop(state); }

}  // namespace

bool ReadArgument(lua_State* state, int index, bool& value) {
    if (!Present(state, index)) {
        return false;
    }
    value = GetBool(state, index);
    return true;
}

bool ReadArgument(lua_State* state, int index, float& value) {
    if (!Present(state, index)) {
        return false;
    }
    value = GetFloat(state, index);
    return true;
}

bool ReadArgument(lua_State* state, int index, std::int32_t& value) {
    if (!Present(state, index)) {
        return false;
    }
    value = GetInt(state, index);
    return true;
}

bool ReadArgument(lua_State* state, int index, std::uint32_t& value) {
    std::int32_t read = 0;
    if (!ReadArgument(state, index, read) || read < 0) {
        return false;
    }
    value = static_cast<std::uint32_t>(read);
    return true;
}

bool ReadArgument(lua_State* state, int index, Core::String& value) {
    const char* text = GetString(state, index);
    if (text == nullptr) {
        return false;
    }
    value = text;
    return true;
}

bool ReadArgument(lua_State* state, int index, Color& value) {
    if (!lua_istable(state, index)) {
        return false;
    }
    value = GetColor(state, index);
    return true;
}

bool ReadArgument(lua_State* state, int index, Vector2D& value) {
    if (!lua_istable(state, index)) {
        return false;
    }
    value = GetVector2D(state, index);
    return true;
}

void PushResult(lua_State* state, std::uint32_t value) { lua_pushnumber(state, value); }

}  // namespace Lua
