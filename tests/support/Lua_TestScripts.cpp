#include "Lua_TestScripts.h"

#include "os/OS_Path.h"
#include "tundra/Lua_Values.h"

#include <lua.hpp>

namespace testsupport {

ScriptDirectory::ScriptDirectory() { os::SetExecutablePathForTesting(m_directory.Path() + "/Emberline"); }

ScriptDirectory::~ScriptDirectory() { os::SetExecutablePathForTesting(""); }

void ScriptDirectory::Write(const std::string& name, const std::string& text) const {
    m_directory.WriteFile("Resources/Scripts/" + name, text);
}

std::string RunChunk(lua_State* state, std::string_view text) {
    const int top = lua_gettop(state);
    std::string error;
    if (luaL_loadbuffer(state, text.data(), text.size(), "=test") != 0 || lua_pcall(state, 0, 0, 0) != 0) {
        const char* message = lua_tostring(state, -1);
        error = message != nullptr ? message : "(no message)";
    }
    lua_settop(state, top);
    return error;
}

std::string TakeGlobalText(lua_State* state, const char* name) {
    lua_getglobal(state, name);
    const std::string text = lua_isstring(state, -1) ? lua_tostring(state, -1) : "";
    lua_pop(state, 1);
    lua_pushnil(state);
    lua_setglobal(state, name);
    return text;
}

void SetGlobalFunction(lua_State* state, const char* name, lua_CFunction function, void* object) {
    lua_pushstring(state, name);
    lua_pushlightuserdata(state, object);
    lua_pushcclosure(state, function, 1);
    lua_rawset(state, LUA_GLOBALSINDEX);
}

void SetGlobalObject(lua_State* state, const char* name, const Core::Object* object) {
    Lua::PushObject(state, object);
    lua_setglobal(state, name);
}

}  // namespace testsupport
