#include "tundra/Lua_Values.h"

#include "core/Core_Object.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <lua.hpp>
#include <string>

namespace Lua {
namespace {

float FieldAsFloat(lua_State* state, int table, const char* field) {
    lua_getfield(state, table, field);
    const float value = GetFloat(state, -1);
    lua_pop(state, 1);
    return value;
}

int PushMadeTable(lua_State* state, const char* constructor, std::initializer_list<std::pair<const char*, float>> fields) {
    lua_getglobal(state, constructor);
    lua_call(state, 0, 1);
    const int table = lua_gettop(state);
    if (lua_istable(state, table)) {
        for (const auto& [field, value] : fields) {
            lua_pushnumber(state, value);
            lua_setfield(state, table, field);
        }
    }
    return table;
}

bool HasObjectMetatable(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TUSERDATA || !lua_getmetatable(state, index)) {
        return false;
    }
    lua_getfield(state, -1, kObjectMarker);
    const bool marked = lua_toboolean(state, -1) != 0;
    lua_pop(state, 2);
    return marked;
}

}  // namespace

int ArgumentCount(lua_State* state) { return lua_gettop(state); }

float GetFloat(lua_State* state, int index) {
    return lua_type(state, index) == LUA_TNUMBER ? static_cast<float>(lua_tonumber(state, index)) : 0.0f;
}

std::int32_t GetInt(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TNUMBER) {
        return 0;
    }
    const double value = lua_tonumber(state, index);
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLowest = std::numeric_limits<std::int32_t>::lowest();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest) {
        return std::numeric_limits<std::int32_t>::lowest();
    }
    if (value >= kHighest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

bool GetBool(lua_State* state, int index) { return lua_toboolean(state, index) != 0; }

const char* GetString(lua_State* state, int index) {
    return lua_type(state, index) == LUA_TSTRING ? lua_tostring(state, index) : nullptr;
}

Vector2D GetVector2D(lua_State* state, int index) {
    if (!lua_istable(state, index)) {
        return {};
    }
    const int table = index > 0 || index <= LUA_REGISTRYINDEX ? index : lua_gettop(state) + index + 1;
    return {FieldAsFloat(state, table, "X"), FieldAsFloat(state, table, "Y")};
}

Point2D GetPoint2D(lua_State* state, int index) { return Point2D(GetVector2D(state, index)); }

Color GetColor(lua_State* state, int index) {
    const int table = std::abs(index);
    if (!lua_istable(state, table)) {
        return {0.0f, 0.0f, 0.0f, 1.0f};
    }
    return {FieldAsFloat(state, table, "R"), FieldAsFloat(state, table, "G"), FieldAsFloat(state, table, "B"),
            FieldAsFloat(state, table, "A")};
}

int PushVector2D(lua_State* state, float x, float y) {
    return PushMadeTable(state, "CreateVector", {{"X", x}, {"Y", y}});
}

int PushPoint2D(lua_State* state, float x, float y) {
    return PushMadeTable(state, "CreatePoint", {{"X", x}, {"Y", y}});
}

int PushColor(lua_State* state, float r, float g, float b, float a) {
    return PushMadeTable(state, "CreateColor", {{"R", r}, {"G", g}, {"B", b}, {"A", a}});
}

void PushFloat(lua_State* state, float value) { lua_pushnumber(state, value); }

void PushInt(lua_State* state, std::int32_t value) { lua_pushnumber(state, value); }

void PushBool(lua_State* state, bool value) { lua_pushboolean(state, value ? 1 : 0); }

void PushString(lua_State* state, const char* text) { lua_pushstring(state, text != nullptr ? text : ""); }

void PushObject(lua_State* state, const Core::Object* object) {
    if (object == nullptr) {
        lua_pushnil(state);
        return;
    }
    object->PushToLua(state);
}

Core::Object* GetAnyObject(lua_State* state, int index) {
    if (lua_isnoneornil(state, index)) {
        return nullptr;
    }
    if (!HasObjectMetatable(state, index)) {
        RaiseError(state, ("argument " + std::to_string(index) + " is not an engine object").c_str());
    }
    auto* const* slot = static_cast<Core::Object* const*>(lua_touserdata(state, index));
    if (*slot == nullptr) {
        RaiseError(state, ("argument " + std::to_string(index) + " is a destroyed object").c_str());
    }
    return *slot;
}

void RaiseError(lua_State* state, const char* message) {
    luaL_error(state, "%s", message);
    // luaL_error does not return; this keeps the compiler convinced.
    std::abort();
}

void RaiseWrongClass(lua_State* state, int index, const Core::Object& given) {
    RaiseError(state, ("argument " + std::to_string(index) + " is a " + given.GetType() +
                       ", not of the class this method takes")
                          .c_str());
}

void* NewValue(lua_State* state, std::size_t size, const char* scriptName) {
    void* block = lua_newuserdata(state, size);
    lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
    lua_setmetatable(state, -2);
    return block;
}

void* ToValue(lua_State* state, int index, const char* scriptName) {
    if (lua_type(state, index) != LUA_TUSERDATA || !lua_getmetatable(state, index)) {
        return nullptr;
    }
    lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
    const bool same = lua_rawequal(state, -1, -2) != 0;
    lua_pop(state, 2);
    return same ? lua_touserdata(state, index) : nullptr;
}

}  // namespace Lua
