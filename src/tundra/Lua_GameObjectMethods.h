#pragma once

#include "tundra/Lua_MethodTable.h"

#include <vector>

namespace Lua {

// The "GameObject" table; the tables of the derived framework classes are
// composed from it.
const MethodTable& GameObjectMethods();
// The game object's methods and the ones every derived framework table adds
// to them: "SaveNetworkData", "LoadNetworkData" and "Clone".
const MethodTable& FrameworkObjectMethods();
// The run of the game object's names that every derived framework table
// repeats in its order: "Mount" to "GetTileMapStaticEntries_UsingHotSpot",
// without "ChangeNetworkOwner" and the four "GetCollided*Data".
const std::vector<const char*>& DerivedObjectNames();

}  // namespace Lua
