#include "tundra/Lua_Dispatch.h"

#include "core/Core_Object.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <exception>
#include <lua.hpp>
#include <string>

namespace Lua {
namespace {

[[noreturn]] void RaiseMethodError(lua_State* state, const Method& method, const std::string& what) {
    RaiseError(state, (std::string(method.name) + ": " + what).c_str());
}

void* ObjectReceiver(lua_State* state, const Method& method) {
    Core::Object** slot = ToObjectSlot(state, 1);
    if (slot == nullptr) {
        RaiseMethodError(state, method, "the receiver is not an engine object (call methods with ':')");
    }
    Core::Object* object = *slot;
    if (object == nullptr) {
        RaiseMethodError(state, method, "the object was destroyed");
    }
    if (method.accepts != nullptr && !method.accepts(*object)) {
        RaiseMethodError(state, method, std::string("not a method of a ") + object->GetType());
    }
    return object;
}

void* ValueReceiver(lua_State* state, const MethodTable& table, const Method& method) {
    void* value = ToValue(state, 1, table.scriptName);
    if (value == nullptr) {
        RaiseMethodError(state, method, std::string("the receiver is not a ") + table.scriptName +
                                            " (call methods with ':')");
    }
    return value;
}

int Dispatch(lua_State* state) {
    const auto& method = *static_cast<const Method*>(lua_touserdata(state, lua_upvalueindex(1)));
    const auto& table = *static_cast<const MethodTable*>(lua_touserdata(state, lua_upvalueindex(2)));
    void* receiver = table.holdsValues ? ValueReceiver(state, table, method) : ObjectReceiver(state, method);
    lua_remove(state, 1);
    std::string failure;
    // Lua's own errors are not std::exceptions: they pass through.
    try {
        return method.binding(receiver, state);
    } catch (const std::exception& exception) {
        failure = exception.what();
    }
    RaiseMethodError(state, method, failure);
}

void InstallTable(lua_State* state, const MethodTable& table) {
    if (luaL_newmetatable(state, table.scriptName) == 0) {
        // Two tables under one name: the first registered stays.
        lua_pop(state, 1);
        return;
    }
    lua_createtable(state, 0, static_cast<int>(table.methods.size()));
    for (const Method& method : table.methods) {
        lua_pushlightuserdata(state, const_cast<Method*>(&method));
        lua_pushlightuserdata(state, const_cast<MethodTable*>(&table));
        lua_pushcclosure(state, &Dispatch, 2);
        lua_setfield(state, -2, method.name);
    }
    lua_setfield(state, -2, "__index");
    if (!table.holdsValues) {
        lua_pushboolean(state, 1);
        lua_setfield(state, -2, kObjectMarker);
    }
    // Scripts see the name instead of the metatable, so none can change
    // the methods every script shares.
    lua_pushstring(state, table.scriptName);
    lua_setfield(state, -2, "__metatable");
    lua_pop(state, 1);
}

}  // namespace

void InstallMethodTables(lua_State* state) {
    for (const MethodTable* table : RegisteredTables()) {
        InstallTable(state, *table);
    }
}

}  // namespace Lua
