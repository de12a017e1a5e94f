#include "tundra/Lua_IdOrName.h"

#include "tundra/Lua_Values.h"

#include <lua.hpp>

namespace Lua {

IdOrName ReadIdOrName(lua_State* state, int index) {
    IdOrName key;
    if (lua_type(state, index) == LUA_TNUMBER) {
        const std::int32_t id = GetInt(state, index);
        if (id >= 0) {
            key.id = static_cast<std::uint32_t>(id);
        }
    } else {
        key.name = GetString(state, index);
    }
    return key;
}

}  // namespace Lua
