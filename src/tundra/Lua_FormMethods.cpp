#include "gui/GUI_Form.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_ControlMethods.h"

namespace Lua {
namespace {

using GUI::Form;

// The form's own entries come first; of the control's it repeats all but
// the two it binds itself and has no "UpdatePosition".
const MethodTable& FormMethods() {
    static const MethodTable table = ComposeTable(
        Form::kScriptName,
        JoinNames({
            {"Close", "SetPosition", "SetOpacity", "SetVisible", "SetModal", "GetModal", "SetShowOnlyControls",
             "GetShowOnlyControls", "SetPicture", "GetPicture", "SetInactiveModulationColor",
             "GetInactiveModulationColor", "SetCloseButtonVisible", "GetCloseButtonVisible", "SetCaptionHeight",
             "GetCaptionHeight", "SetBottomBorderHeight", "GetBottomBorderHeight", "SetLeftBorderWidth",
             "GetLeftBorderWidth", "SetRightBorderWidth", "GetRightBorderWidth"},
            SharedControlNames({"SetVisible", "SetOpacity"}),
        }),
        {
            BindOperation<Form, &Form::Close>("Close"),
            Bind<Form, &SetPositionFromArguments<Form>>("SetPosition"),
            BindSetter<Form, &Form::SetOpacity>("SetOpacity"),
            BindSetter<Form, &Form::SetVisible>("SetVisible"),
            BindSetter<Form, &Form::SetModal>("SetModal"),
            BindGetter<Form, &Form::GetModal>("GetModal"),
            BindSetter<Form, &Form::SetShowOnlyControls>("SetShowOnlyControls"),
            BindGetter<Form, &Form::GetShowOnlyControls>("GetShowOnlyControls"),
            BindSetter<Form, &Form::SetPicture>("SetPicture"),
            BindGetter<Form, &Form::GetPicture>("GetPicture"),
            BindSetter<Form, &Form::SetInactiveModulationColor>("SetInactiveModulationColor"),
            BindGetter<Form, &Form::GetInactiveModulationColor>("GetInactiveModulationColor"),
            BindSetter<Form, &Form::SetCloseButtonVisible>("SetCloseButtonVisible"),
            BindGetter<Form, &Form::GetCloseButtonVisible>("GetCloseButtonVisible"),
            BindSetter<Form, &Form::SetCaptionHeight>("SetCaptionHeight"),
            BindGetter<Form, &Form::GetCaptionHeight>("GetCaptionHeight"),
            BindSetter<Form, &Form::SetBottomBorderHeight>("SetBottomBorderHeight"),
            BindGetter<Form, &Form::GetBottomBorderHeight>("GetBottomBorderHeight"),
            BindSetter<Form, &Form::SetLeftBorderWidth>("SetLeftBorderWidth"),
            BindGetter<Form, &Form::GetLeftBorderWidth>("GetLeftBorderWidth"),
            BindSetter<Form, &Form::SetRightBorderWidth>("SetRightBorderWidth"),
            BindGetter<Form, &Form::GetRightBorderWidth>("GetRightBorderWidth"),
        },
        ControlMethods());
    return table;
}

const TableRegistration s_formMethodsRegistration{&FormMethods};

}  // namespace
}  // namespace Lua
