#pragma once

#include "tundra/Lua_Values.h"

struct lua_State;
namespace Tundra {
class Viewport;
}

namespace Lua {

// A viewport given as an object, or as the index of one of the current
// level's viewports; null for any other number, for nil or without a level.
Tundra::Viewport* GetViewportArgument(lua_State* state, int index);

// "IsInViewport"(viewport or index) of a class with IsInViewport(const Viewport*).
template <class T>
int IsInViewport(T& self, lua_State* state) {
    if (ArgumentCount(state) < 1) {
        return 0;
    }
    PushBool(state, self.IsInViewport(GetViewportArgument(state, 1)));
    return 1;
}

}  // namespace Lua
