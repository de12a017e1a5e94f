#pragma once

#include "tundra/Lua_MethodTable.h"

#include <cstddef>
#include <new>

struct lua_State;

// Values of value tables beyond plain shapes: a copy of a record that owns
// memory (its table destroys it), and the address of an engine part that
// outlives every script (the network front end). Either way the dispatcher
// knows the receiver by its table.
namespace Lua {

// A userdata of size bytes, its metatable not yet set.
void* NewBareValue(lua_State* state, std::size_t size);
// Gives the userdata on top of the stack the metatable registered under scriptName.
void AttachTable(lua_State* state, const char* scriptName);

template <class V>
void DestroyCopy(void* value) {
    static_cast<V*>(value)->~V();
}

// The table's destroyValue must be DestroyCopy<V>. The metatable is attached
// only once the copy stands, so a failed copy is never destroyed.
template <class V>
void PushCopy(lua_State* state, const V& value, const char* scriptName) {
    new (NewBareValue(state, sizeof(V))) V(value);
    AttachTable(state, scriptName);
}

void PushPointee(lua_State* state, const void* part, const char* scriptName);

template <class T, int (*F)(T&, lua_State*)>
int CallOnPointee(void* receiver, lua_State* state) {
    return F(*static_cast<T*>(*static_cast<void**>(receiver)), state);
}

template <class T, int (*F)(T&, lua_State*)>
constexpr Method BindPointee(const char* name) {
    return {name, &CallOnPointee<T, F>, nullptr};
}

}  // namespace Lua
