#include "tundra/Lua_ViewportArgument.h"

#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_Viewport.h"

#include <lua.hpp>

namespace Lua {

Tundra::Viewport* GetViewportArgument(lua_State* state, int index) {
    if (lua_type(state, index) != LUA_TNUMBER) {
        return GetObject<Tundra::Viewport>(state, index);
    }
    const Tundra::Game* game = Tundra::Game::GetInstance();
    const Tundra::Level* level = game != nullptr ? game->GetCurrentLevel() : nullptr;
    const std::int32_t number = GetInt(state, index);
    if (level == nullptr || number < 0) {
        return nullptr;
    }
    return level->GetViewport(static_cast<std::uint32_t>(number));
}

}  // namespace Lua
