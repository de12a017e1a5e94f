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

const MethodTable& HudMethods() {
    static const MethodTable table{kHudName,
                                   {
                                       BindHud<&Setter<HUD, &HUD::SetCursorVisible>>("ShowCursor"),
                                       BindHud<&Getter<HUD, &HUD::IsCursorVisible>>("IsCursorVisible"),
                                       BindHud<&AddForm>("AddForm"),
                                       BindHud<&GetForm>("GetForm"),
                                       BindHud<&Getter<HUD, &HUD::IsLoading>>("IsLoading"),
                                   },
                                   true};
    return table;
}

const TableRegistration s_hudMethodsRegistration{&HudMethods};

}  // namespace
}  // namespace Lua
