#pragma once

struct lua_State;

// One userdata per engine object in the interpreter, so that a script sees
// the same value each time an object is pushed (identity compares work),
// and a destroyed object's userdata is cleared: a later call on it is a
// script error, never a call into freed memory. The userdata are kept in a
// weak-valued registry table keyed by the object's address.
namespace Lua {

// Links pushes and destructions of engine objects to the main state.
void LinkObjects(lua_State* mainState);
// Back to plain pushes, before the main state closes.
void UnlinkObjects();

}  // namespace Lua
