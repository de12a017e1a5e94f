#include "tundra/Lua_PartPointer.h"

#include "tundra/Lua_Values.h"

namespace Lua {

void PushPartPointer(lua_State* state, const void* part, const char* scriptName) {
    PushValue(state, const_cast<void*>(part), scriptName);
}

}  // namespace Lua
