#pragma once

struct lua_State;

// The script side of the method tables: each registered table becomes a
// metatable in the registry under its script name, whose "__index" gives,
// per method, a dispatcher closure. The dispatcher checks the receiver (an
// engine object of a class the method accepts, still alive; for value
// tables a userdata of that very table), takes it off the stack so that the
// arguments start at index 1, and calls the binding. An exception the
// binding throws becomes a script error.
namespace Lua {

void InstallMethodTables(lua_State* state);

}  // namespace Lua
