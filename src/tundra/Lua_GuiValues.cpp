#include "tundra/Lua_GuiValues.h"

#include "gui/GUI_HUD.h"
#include "tundra/Lua_Values.h"

#include <cmath>
#include <lua.hpp>

namespace Lua {

void PushRectangle(lua_State* state, const GUI::NRectangle& rectangle) {
    PushValue(state, rectangle, kRectangleName);
}

GUI::NRectangle* GetRectangle(lua_State* state, int index) {
    return GetValue<GUI::NRectangle>(state, index, kRectangleName);
}

void PushHud(lua_State* state, const GUI::HUD& hud) { PushValue(state, HudHandle{&hud}, kHudName); }

GUI::HUD& LiveHud(lua_State* state, const HudHandle& handle) {
    GUI::HUD* current = GUI::HUD::GetInstance();
    // A new HUD at a freed one's address is the current one: acting on it is safe.
    if (current == nullptr || current != handle.hud) {
        RaiseError(state, "the HUD was destroyed");
    }
    return *current;
}

IndexOrName GetIndexOrName(lua_State* state, int index) {
    IndexOrName key;
    if (lua_type(state, index) == LUA_TNUMBER) {
        const std::int32_t number = GetInt(state, index);
        if (!std::isnan(lua_tonumber(state, index)) && number >= 0) {
            key.index = static_cast<std::uint32_t>(number);
        }
    } else {
        key.name = GetString(state, index);
    }
    return key;
}

int PushFound(lua_State* state, const Core::Object* object) {
    if (object == nullptr) {
        return 0;
    }
    PushObject(state, object);
    return 1;
}

}  // namespace Lua
