#include "tundra/Lua_CopyValues.h"

#include "tundra/Lua_Values.h"

#include <algorithm>
#include <lua.hpp>

namespace Lua {
namespace {

// Pushes the copy of from's value at index onto to; false when skipped.
bool CopyValue(lua_State* from, int index, lua_State* to) {
    switch (lua_type(from, index)) {
    case LUA_TNIL:
        lua_pushnil(to);
        return true;
    case LUA_TBOOLEAN:
        lua_pushboolean(to, lua_toboolean(from, index));
        return true;
    case LUA_TLIGHTUSERDATA:
        lua_pushlightuserdata(to, lua_touserdata(from, index));
        return true;
    case LUA_TNUMBER:
        lua_pushnumber(to, lua_tonumber(from, index));
        return true;
    case LUA_TSTRING: {
        size_t length = 0;
        const char* text = lua_tolstring(from, index, &length);
        lua_pushlstring(to, text, length);
        return true;
    }
    case LUA_TTABLE: {
        const ValueClass* valueClass = FindValueClass(GetClassName(from, index));
        if (valueClass == nullptr) {
            return false;
        }
        double values[4] = {};
        ReadValueFields(from, index, *valueClass, values);
        PushValueTable(to, *valueClass, values);
        return true;
    }
    case LUA_TUSERDATA: {
        Core::Object* const* slot = ToObjectSlot(from, index);
        if (slot == nullptr || *slot == nullptr) {
            return false;
        }
        PushObject(to, *slot);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

int CopyValues(lua_State* from, lua_State* to, int offset, int count) {
    const int top = lua_gettop(from);
    int first = 1;
    int last = std::max(count, 0);
    if (offset > 0) {
        first = offset + 2;
        last = top > 1 ? top : 0;
    } else if (count < top) {
        first = top - std::max(count, 0) + 1;
        last = top;
    }
    last = std::min(last, top);
    int pushed = 0;
    for (int index = first; index <= last; ++index) {
        if (!lua_checkstack(to, 4)) {
            break;
        }
        pushed += CopyValue(from, index, to) ? 1 : 0;
    }
    return pushed;
}

}  // namespace Lua
