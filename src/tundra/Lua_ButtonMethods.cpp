#include "gui/GUI_Button.h"
#include "gui/GUI_RadioButton.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_ControlMethods.h"

// The push button and the radio button bind the setters their skin image
// follows on their own class; the rest are the control's entries.
namespace Lua {
namespace {

using GUI::Button;
using GUI::RadioButton;

// What the skinned widgets bind themselves, left out of the control's run.
std::vector<const char*> SkinnedControlRun() {
    return SharedControlNames({"SetModulationColor", "SetOpacity", "SetVisible", "SetEnabled"});
}

// The radio button's "SetPosition" always reads a position value, even
// when more arguments follow.
int SetPositionFromPoint(RadioButton& radioButton, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        radioButton.SetPosition(GetPoint2D(state, 1));
    }
    return 0;
}

const MethodTable& ButtonMethods() {
    static const MethodTable table = ComposeTable(
        Button::kScriptName,
        JoinNames({
            {"SetModulationColor", "SetPosition", "SetOpacity", "SetVisible", "SetEnabled", "UpdatePosition"},
            SkinnedControlRun(),
        }),
        {
            BindSetter<Button, &Button::SetModulationColor>("SetModulationColor"),
            Bind<Button, &SetPositionFromArguments<Button>>("SetPosition"),
            BindSetter<Button, &Button::SetOpacity>("SetOpacity"),
            BindSetter<Button, &Button::SetVisible>("SetVisible"),
            BindSetter<Button, &Button::SetEnabled>("SetEnabled"),
        },
        ControlMethods());
    return table;
}

const MethodTable& RadioButtonMethods() {
    static const MethodTable table = ComposeTable(
        RadioButton::kScriptName,
        JoinNames({
            {"UpdatePosition", "SetModulationColor", "SetPosition", "SetOpacity", "SetVisible", "SetEnabled",
             "SetChecked", "GetChecked"},
            SkinnedControlRun(),
        }),
        {
            BindSetter<RadioButton, &RadioButton::SetModulationColor>("SetModulationColor"),
            Bind<RadioButton, &SetPositionFromPoint>("SetPosition"),
            BindSetter<RadioButton, &RadioButton::SetOpacity>("SetOpacity"),
            BindSetter<RadioButton, &RadioButton::SetVisible>("SetVisible"),
            BindSetter<RadioButton, &RadioButton::SetEnabled>("SetEnabled"),
            BindSetter<RadioButton, &RadioButton::SetChecked>("SetChecked"),
            BindGetter<RadioButton, &RadioButton::GetChecked>("GetChecked"),
        },
        ControlMethods());
    return table;
}

const TableRegistration s_buttonRegistration{&ButtonMethods};
const TableRegistration s_radioButtonRegistration{&RadioButtonMethods};

}  // namespace
}  // namespace Lua
