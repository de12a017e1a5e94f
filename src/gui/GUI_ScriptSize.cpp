#include "gui/GUI_ScriptSize.h"

#include "tundra/Lua_Values.h"

#include <lua.hpp>
#include <string>

namespace GUI {
namespace {

constexpr const char* kConstructor = "CreateSize";

float NumberField(lua_State* state, int table, const char* field) {
    lua_getfield(state, table, field);
    const float value = Lua::GetFloat(state, -1);
    lua_pop(state, 1);
    return value;
}

// Raw: filling in the fields runs no script code.
void SetNumberField(lua_State* state, int table, const char* field, float value) {
    lua_pushstring(state, field);
    lua_pushnumber(state, value);
    lua_rawset(state, table);
}

}  // namespace

Vector2D GetScriptSize(lua_State* state, int index) {
    if (!lua_istable(state, index)) {
        return {};
    }
    const int table = index > 0 || index <= LUA_REGISTRYINDEX ? index : lua_gettop(state) + index + 1;
    return {NumberField(state, table, "Width"), NumberField(state, table, "Height")};
}

int PushScriptSize(lua_State* state, float width, float height) {
    luaL_checkstack(state, 3, "no room for a size");
    lua_getglobal(state, kConstructor);
    if (!lua_isfunction(state, -1)) {
        Lua::RaiseError(state, "CreateSize is not a function");
    }
    if (lua_pcall(state, 0, 1, 0) != 0) {
        const char* message = lua_tostring(state, -1);
        Lua::RaiseError(state, (std::string("CreateSize failed: ") + (message != nullptr ? message : "?")).c_str());
    }
    if (!lua_istable(state, -1)) {
        Lua::RaiseError(state, "CreateSize returned no table");
    }
    const int table = lua_gettop(state);
    SetNumberField(state, table, "Width", width);
    SetNumberField(state, table, "Height", height);
    return table;
}

}  // namespace GUI
