#pragma once

#include <string>

struct lua_State;

// Where a script error was raised, as "name.lua:LINE: ", so that every
// logged script error names its script and line.
namespace Lua {

// The position of the innermost script function running on the thread
// (the one a binding or the interpreter was serving when it raised); empty
// when no script function runs there.
std::string WhereRunning(lua_State* thread);

// The message handler of the host's protected calls. A text that names none
// of the innermost running positions (error(..., 0), "C stack overflow"
// raised while calling out of a binding) gets the position where it was
// raised in front; a value that is no text becomes a text saying so.
int PositionErrorMessage(lua_State* thread);

}  // namespace Lua
