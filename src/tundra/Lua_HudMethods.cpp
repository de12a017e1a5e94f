#include "gui/GUI_Control.h"
#include "gui/GUI_HUD.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GuiValues.h"

#include <string_view>

// The "HUD" table: the cursor switch, forms by index or name, the loading flag.
namespace Lua {
namespace {

using GUI::HUD;

// Entries of the table take the handle and act on the HUD it names.
template <int (*F)(HUD&, lua_State*)>
int OnLiveHud(HudHandle& handle, lua_State* state) {
    return F(LiveHud(state, handle), state);
}

template <int (*F)(HUD&, lua_State*)>
constexpr Method BindHud(const char* name) {
    return BindValue<HudHandle, &OnLiveHud<F>>(name);
}

int ShowCursor(HUD& hud, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        hud.SetCursorVisible(GetBool(state, 1));
    }
    return 0;
}

int IsCursorVisible(HUD& hud, lua_State* state) {
    PushBool(state, hud.IsCursorVisible());
    return 1;
}

int AddForm(HUD& hud, lua_State* state) {
    if (GUI::Control* form = GetObject<GUI::Control>(state, 1)) {
        hud.AddForm(form);
    }
    return 0;
}

int GetForm(HUD& hud, lua_State* state) {
    return PushByIndexOrName(
        state, [&](std::uint32_t index) { return hud.GetForm(index); },
        [&](std::string_view name) { return hud.GetForm(name); });
}

int IsLoading(HUD& hud, lua_State* state) {
    PushBool(state, hud.IsLoading());
    return 1;
}

const MethodTable& HudMethods() {
    static const MethodTable table{kHudName,
                                   {
                                       BindHud<&ShowCursor>("ShowCursor"),
                                       BindHud<&IsCursorVisible>("IsCursorVisible"),
                                       BindHud<&AddForm>("AddForm"),
                                       BindHud<&GetForm>("GetForm"),
                                       BindHud<&IsLoading>("IsLoading"),
                                   },
                                   true};
    return table;
}

const TableRegistration s_registration{&HudMethods};

}  // namespace
}  // namespace Lua
