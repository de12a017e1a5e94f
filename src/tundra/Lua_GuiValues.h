#pragma once

#include "gui/GUI_NRectangle.h"

#include <cstdint>
#include <optional>
#include <string_view>

struct lua_State;
namespace Core {
class Object;
}
namespace GUI {
class HUD;
}

// The GUI toolkit's plain values on the script side. A rectangle travels as
// a value userdata holding a copy. The HUD, which is no engine object,
// travels as a value userdata naming the HUD it was pushed from: its
// methods run only while that HUD is still the current one.
namespace Lua {

inline constexpr const char* kRectangleName = "NRectangle";
inline constexpr const char* kHudName = "HUD";

struct HudHandle {
    const GUI::HUD* hud;
};

void PushRectangle(lua_State* state, const GUI::NRectangle& rectangle);
// The rectangle at index, or null when the value is no rectangle.
GUI::NRectangle* GetRectangle(lua_State* state, int index);

void PushHud(lua_State* state, const GUI::HUD& hud);
// The HUD the handle names; a script error once that HUD is gone.
GUI::HUD& LiveHud(lua_State* state, const HudHandle& handle);

// How "GetForm" and "GetControl" name what they look for: a number is an
// index (none when negative or NaN), a string a name; anything else neither.
struct IndexOrName {
    std::optional<std::uint32_t> index;
    const char* name = nullptr;
};
IndexOrName GetIndexOrName(lua_State* state, int index);

// Pushes the object and answers 1, or pushes nothing for null and answers 0.
int PushFound(lua_State* state, const Core::Object* object);

// Looks up what the first argument names, by index or by name, and pushes it.
template <class ByIndex, class ByName>
int PushByIndexOrName(lua_State* state, const ByIndex& byIndex, const ByName& byName) {
    const IndexOrName key = GetIndexOrName(state, 1);
    if (key.index) {
        return PushFound(state, byIndex(*key.index));
    }
    return key.name != nullptr ? PushFound(state, byName(std::string_view(key.name))) : 0;
}

}  // namespace Lua
