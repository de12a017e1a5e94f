#pragma once

#include "tundra/Lua_MethodTable.h"

namespace Lua {

// The "GameObject" table; the tables of the derived framework classes are
// composed from it.
const MethodTable& GameObjectMethods();

}  // namespace Lua
