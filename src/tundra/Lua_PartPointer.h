#pragma once

#include "tundra/Lua_MethodTable.h"

struct lua_State;

// An engine part that is no engine object and outlives every script (the
// network front end) goes to scripts by address: a value userdata holding
// the pointer, whose table's methods reach the part. The dispatcher knows
// the receiver by that table.
namespace Lua {

void PushPartPointer(lua_State* state, const void* part, const char* scriptName);

template <class T, int (*F)(T&, lua_State*)>
int CallOnPart(void* receiver, lua_State* state) {
    return F(*static_cast<T*>(*static_cast<void**>(receiver)), state);
}

template <class T, int (*F)(T&, lua_State*)>
constexpr Method BindPart(const char* name) {
    return {name, &CallOnPart<T, F>, nullptr};
}

}  // namespace Lua
