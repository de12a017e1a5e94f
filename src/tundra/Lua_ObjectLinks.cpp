#include "tundra/Lua_ObjectLinks.h"

#include "core/Core_Object.h"

#include <lua.hpp>

namespace Lua {
namespace {

// Its address is the registry key of the table of pushed objects; other
// states (and other keys) cannot collide with it.
const char kLinksKey = 0;
lua_State* g_mainState = nullptr;

// Pushes the table of pushed objects when the state's registry holds it.
bool PushLinks(lua_State* state) {
    lua_pushlightuserdata(state, const_cast<char*>(&kLinksKey));
    lua_rawget(state, LUA_REGISTRYINDEX);
    if (lua_istable(state, -1)) {
        return true;
    }
    lua_pop(state, 1);
    return false;
}

void PushNewUserdata(lua_State* state, const Core::Object& object, const char* scriptName) {
    auto* slot = static_cast<const Core::Object**>(lua_newuserdata(state, sizeof(const Core::Object*)));
    *slot = &object;
    lua_getfield(state, LUA_REGISTRYINDEX, scriptName);
    lua_setmetatable(state, -2);
}

void PushLinked(lua_State* state, const Core::Object& object, const char* scriptName) {
    if (!lua_checkstack(state, 4) || !PushLinks(state)) {
        PushNewUserdata(state, object, scriptName);
        return;
    }
    lua_pushlightuserdata(state, const_cast<Core::Object*>(&object));
    lua_rawget(state, -2);
    if (lua_type(state, -1) == LUA_TUSERDATA) {
        lua_remove(state, -2);
        return;
    }
    lua_pop(state, 1);
    PushNewUserdata(state, object, scriptName);
    lua_pushlightuserdata(state, const_cast<Core::Object*>(&object));
    lua_pushvalue(state, -2);
    lua_rawset(state, -4);
    lua_remove(state, -2);
}

// Only reads and clears: nothing here allocates, so nothing can raise an
// error out of a destructor.
void Forget(const Core::Object& object) {
    lua_State* state = g_mainState;
    if (state == nullptr || !lua_checkstack(state, 3) || !PushLinks(state)) {
        return;
    }
    lua_pushlightuserdata(state, const_cast<Core::Object*>(&object));
    lua_rawget(state, -2);
    if (lua_type(state, -1) == LUA_TUSERDATA) {
        *static_cast<const Core::Object**>(lua_touserdata(state, -1)) = nullptr;
        lua_pop(state, 1);
        lua_pushlightuserdata(state, const_cast<Core::Object*>(&object));
        lua_pushnil(state);
        lua_rawset(state, -3);
    } else {
        lua_pop(state, 1);
    }
    lua_pop(state, 1);
}

const Core::Object::ScriptLink kLink{&PushLinked, &Forget};

}  // namespace

void LinkObjects(lua_State* mainState) {
    lua_pushlightuserdata(mainState, const_cast<char*>(&kLinksKey));
    lua_newtable(mainState);
    lua_newtable(mainState);
    lua_pushliteral(mainState, "v");
    lua_setfield(mainState, -2, "__mode");
    lua_setmetatable(mainState, -2);
    lua_rawset(mainState, LUA_REGISTRYINDEX);
    g_mainState = mainState;
    Core::Object::SetScriptLink(&kLink);
}

void UnlinkObjects() {
    Core::Object::SetScriptLink(nullptr);
    g_mainState = nullptr;
}

}  // namespace Lua
