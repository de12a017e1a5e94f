#pragma once

struct lua_State;
namespace Tundra {
class Viewport;
}

namespace Lua {

// A viewport given as an object, or as the index of one of the current
// level's viewports; null for any other number, for nil or without a level.
Tundra::Viewport* GetViewportArgument(lua_State* state, int index);

}  // namespace Lua
