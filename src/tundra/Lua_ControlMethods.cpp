#include "tundra/Lua_ControlMethods.h"

#include "gui/GUI_Control.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_ScriptSize.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GuiValues.h"

#include <algorithm>
#include <string_view>

namespace Lua {
namespace {

using GUI::Control;

int SetPositionX(Control& control, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        control.SetPosition({GetFloat(state, 1), control.GetPosition().y});
    }
    return 0;
}

int SetPositionY(Control& control, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        control.SetPosition({control.GetPosition().x, GetFloat(state, 1)});
    }
    return 0;
}

int GetPositionX(Control& control, lua_State* state) {
    PushFloat(state, control.GetPosition().x);
    return 1;
}

int GetPositionY(Control& control, lua_State* state) {
    PushFloat(state, control.GetPosition().y);
    return 1;
}

int SetControlSize(Control& control, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        control.SetSize(GUI::GetScriptSize(state, 1));
    }
    return 0;
}

int GetControlSize(Control& control, lua_State* state) {
    GUI::PushScriptSize(state, control.GetWidth(), control.GetHeight());
    return 1;
}

// Removal waits for the HUD's next frame; without a HUD nothing is removed.
int Destroy(Control& control, lua_State*) {
    if (GUI::HUD* hud = GUI::HUD::GetInstance()) {
        hud->QueueDestroy(&control);
    }
    return 0;
}

template <const GUI::NRectangle& (Control::*Get)() const>
int PushRectangleCopy(Control& control, lua_State* state) {
    PushRectangle(state, (control.*Get)());
    return 1;
}

int SetUserData(Control& control, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        control.SetUserData(GetAnyObject(state, 1));
    }
    return 0;
}

int GetUserData(Control& control, lua_State* state) { return PushFound(state, control.GetUserData()); }

int AddControl(Control& control, lua_State* state) {
    if (Control* child = GetObject<Control>(state, 1)) {
        control.AddControl(child);
    }
    return 0;
}

int GetControl(Control& control, lua_State* state) {
    return PushByIndexOrName(
        state, [&](std::uint32_t index) { return control.GetControl(index); },
        [&](std::string_view name) { return control.GetControl(name); });
}

int GetParent(Control& control, lua_State* state) { return PushFound(state, control.GetParent()); }

}  // namespace

const MethodTable& ControlMethods() {
    static const MethodTable table{
        Control::kScriptName,
        {
            Bind<Control, &SetPositionFromArguments<Control>>("SetPosition"),
            Bind<Control, &SetPositionX>("SetPositionX"),
            Bind<Control, &SetPositionY>("SetPositionY"),
            BindGetter<Control, &Control::GetPosition>("GetPosition"),
            Bind<Control, &GetPositionX>("GetPositionX"),
            Bind<Control, &GetPositionY>("GetPositionY"),
            BindSetter<Control, &Control::SetWidth>("SetWidth"),
            BindGetter<Control, &Control::GetWidth>("GetWidth"),
            BindSetter<Control, &Control::SetHeight>("SetHeight"),
            BindGetter<Control, &Control::GetHeight>("GetHeight"),
            Bind<Control, &SetControlSize>("SetControlSize"),
            Bind<Control, &GetControlSize>("GetControlSize"),
            BindSetter<Control, &Control::SetSkin>("SetSkin"),
            BindGetter<Control, &Control::GetSkin>("GetSkin"),
            BindSetter<Control, &Control::SetText>("SetText"),
            BindGetter<Control, &Control::GetText>("GetText"),
            BindSetter<Control, &Control::SetVisible>("SetVisible"),
            BindGetter<Control, &Control::IsVisible>("GetVisible"),
            BindSetter<Control, &Control::SetFont>("SetFont"),
            BindGetter<Control, &Control::GetFontName>("GetFont"),
            BindSetter<Control, &Control::SetModulationColor>("SetModulationColor"),
            BindGetter<Control, &Control::GetModulationColor>("GetModulationColor"),
            BindSetter<Control, &Control::SetTextModulationColor>("SetTextModulationColor"),
            BindGetter<Control, &Control::GetTextModulationColor>("GetTextModulationColor"),
            BindSetter<Control, &Control::SetOpacity>("SetOpacity"),
            BindGetter<Control, &Control::GetEffectiveOpacity>("GetOpacity"),
            BindSetter<Control, &Control::SetEnabled>("SetEnabled"),
            BindGetter<Control, &Control::IsEnabled>("GetEnabled"),
            BindSetter<Control, &Control::SetName>("SetName"),
            BindGetter<Control, &Control::GetName>("GetName"),
            BindSetter<Control, &Control::SetTabStop>("SetTabStop"),
            BindGetter<Control, &Control::GetTabStop>("GetTabStop"),
            BindSetter<Control, &Control::SetTabIndex>("SetTabIndex"),
            BindGetter<Control, &Control::GetTabIndex>("GetTabIndex"),
            Bind<Control, &Destroy>("Destroy"),
            Bind<Control, &PushRectangleCopy<&Control::GetRectangle>>("GetRectangle"),
            Bind<Control, &PushRectangleCopy<&Control::GetClientRectangle>>("GetClientRectangle"),
            BindGetter<Control, &Control::IsFocused>("GetFocused"),
            Bind<Control, &SetUserData>("SetUserData"),
            Bind<Control, &GetUserData>("GetUserData"),
            Bind<Control, &AddControl>("AddControl"),
            Bind<Control, &GetControl>("GetControl"),
            Bind<Control, &GetParent>("GetParent"),
            BindGetter<Control, &Control::GetControlsCount>("GetControlsCount"),
            BindOperation<Control, &Control::UpdatePosition>("UpdatePosition"),
        }};
    return table;
}

namespace {
const TableRegistration s_controlMethodsRegistration{&ControlMethods};
}  // namespace

std::vector<const char*> SharedControlNames(std::initializer_list<std::string_view> leftOut) {
    const std::vector<Method>& methods = ControlMethods().methods;
    std::vector<const char*> names;
    // The first entry is "SetPosition", the last "UpdatePosition".
    for (std::size_t i = 1; i + 1 < methods.size(); ++i) {
        if (std::find(leftOut.begin(), leftOut.end(), methods[i].name) == leftOut.end()) {
            names.push_back(methods[i].name);
        }
    }
    return names;
}

}  // namespace Lua
