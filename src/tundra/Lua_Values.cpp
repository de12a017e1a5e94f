#include "tundra/Lua_Values.h"

#include "core/Core_Object.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <lua.hpp>
#include <string>

namespace Lua {
namespace {

// Reading fields pushes values: a relative index is made absolute first.
int Absolute(lua_State* state, int index) {
    return index > 0 || index <= LUA_REGISTRYINDEX ? index : lua_gettop(state) + index + 1;
}

float FieldAsFloat(lua_State* state, int table, const char* field) {
    lua_getfield(state, table, field);
    const float value = GetFloat(state, -1);
    lua_pop(state, 1);
    return value;
}

constexpr ValueClass kValueClasses[] = {
    {"Point2D", "CreatePoint", 2, {"X", "Y"}},
    {"Vector2D", "CreateVector", 2, {"X", "Y"}},
    {"Color", "CreateColor", 4, {"R", "G", "B", "A"}},
};
const ValueClass& kPoint = kValueClasses[0];
const ValueClass& kVector = kValueClasses[1];
const ValueClass& kColor = kValueClasses[2];

bool HasObjectMetatable(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TUSERDATA || !lua_getmetatable(state, index)) {
        return false;
    }
    // Raw: a metatable a script made may itself have a metatable.
    lua_pushstring(state, kObjectMarker);
    lua_rawget(state, -2);
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
    const int table = Absolute(state, index);
    return {FieldAsFloat(state, table, "X"), FieldAsFloat(state, table, "Y")};
}

Point2D GetPoint2D(lua_State* state, int index) { return Point2D(GetVector2D(state, index)); }

Color GetColor(lua_State* state, int index) {
    const int table = Absolute(state, index);
    if (!lua_istable(state, table)) {
        return {0.0f, 0.0f, 0.0f, 1.0f};
    }
    return {FieldAsFloat(state, table, "R"), FieldAsFloat(state, table, "G"), FieldAsFloat(state, table, "B"),
            FieldAsFloat(state, table, "A")};
}

int PushVector2D(lua_State* state, float x, float y) {
    const double values[] = {x, y};
    return PushValueTable(state, kVector, values);
}

int PushPoint2D(lua_State* state, float x, float y) {
    const double values[] = {x, y};
    return PushValueTable(state, kPoint, values);
}

int PushColor(lua_State* state, float r, float g, float b, float a) {
    const double values[] = {r, g, b, a};
    return PushValueTable(state, kColor, values);
}

const ValueClass* FindValueClass(const char* className) {
    for (const ValueClass& valueClass : kValueClasses) {
        if (className != nullptr && std::strcmp(valueClass.className, className) == 0) {
            return &valueClass;
        }
    }
    return nullptr;
}

const char* GetClassName(lua_State* state, int index) {
    if (!lua_istable(state, index)) {
        return nullptr;
    }
    const int table = Absolute(state, index);
    lua_pushliteral(state, "className");
    lua_rawget(state, table);
    // The table still holds the string, so it outlives the pop.
    const char* name = GetString(state, -1);
    lua_pop(state, 1);
    return name;
}

void ReadValueFields(lua_State* state, int index, const ValueClass& valueClass, double* values) {
    const int table = Absolute(state, index);
    for (int i = 0; i < valueClass.fieldCount; ++i) {
        lua_pushstring(state, valueClass.fields[i]);
        lua_rawget(state, table);
        values[i] = lua_type(state, -1) == LUA_TNUMBER ? lua_tonumber(state, -1) : 0.0;
        lua_pop(state, 1);
    }
}

int PushValueTable(lua_State* state, const ValueClass& valueClass, const double* values) {
    luaL_checkstack(state, 3, "no room for a value table");
    lua_getglobal(state, valueClass.constructor);
    lua_call(state, 0, 1);
    const int table = lua_gettop(state);
    if (lua_istable(state, table)) {
        for (int i = 0; i < valueClass.fieldCount; ++i) {
            lua_pushnumber(state, values[i]);
            lua_setfield(state, table, valueClass.fields[i]);
        }
    }
    return table;
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

Core::Object** ToObjectSlot(lua_State* state, int index) {
    if (!HasObjectMetatable(state, index) || lua_objlen(state, index) != sizeof(Core::Object*)) {
        return nullptr;
    }
    return static_cast<Core::Object**>(lua_touserdata(state, index));
}

Core::Object* GetAnyObject(lua_State* state, int index) {
    if (lua_isnoneornil(state, index)) {
        return nullptr;
    }
    Core::Object* const* slot = ToObjectSlot(state, index);
    if (slot == nullptr) {
        RaiseError(state, ("argument " + std::to_string(index) + " is not an engine object").c_str());
    }
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
