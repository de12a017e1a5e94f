#include "gui/GUI_ScriptSize.h"

#include "tundra/Lua_Values.h"

#include <lua.hpp>
#include <string>

namespace GUI {
namespace {

// Not one of the host's value classes: sizes keep no place in saved script
// data and are not copied between scripts.
constexpr Lua::ValueClass kSize{"Size", "CreateSize", 2, {"Width", "Height"}};

}  // namespace

Vector2D GetScriptSize(lua_State* state, int index) {
    if (!lua_istable(state, index)) {
        return {};
    }
    double values[2] = {};
    Lua::ReadValueFields(state, index, kSize, values);
    return {static_cast<float>(values[0]), static_cast<float>(values[1])};
}

int PushScriptSize(lua_State* state, float width, float height) {
    luaL_checkstack(state, 3, "no room for a size");
    lua_getglobal(state, kSize.constructor);
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
    const float values[] = {width, height};
    // Raw: filling the fields in runs no script code.
    for (int i = 0; i < kSize.fieldCount; ++i) {
        lua_pushstring(state, kSize.fields[i]);
        lua_pushnumber(state, values[i]);
        lua_rawset(state, table);
    }
    return table;
}

}  // namespace GUI
