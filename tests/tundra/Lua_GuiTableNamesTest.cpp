#include "gui/GUI_Button.h"
#include "gui/GUI_Control.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_RadioButton.h"
#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The GUI tables list their methods in the order scripts know them. The
// form, button and radio button bind their own entries on their class and
// share every other binding with the control's table.
namespace {

using Names = std::vector<std::string>;

const Names kControlNames = {
    "SetPosition", "SetPositionX", "SetPositionY", "GetPosition", "GetPositionX", "GetPositionY", "SetWidth",
    "GetWidth", "SetHeight", "GetHeight", "SetControlSize", "GetControlSize", "SetSkin", "GetSkin", "SetText",
    "GetText", "SetVisible", "GetVisible", "SetFont", "GetFont", "SetModulationColor", "GetModulationColor",
    "SetTextModulationColor", "GetTextModulationColor", "SetOpacity", "GetOpacity", "SetEnabled", "GetEnabled",
    "SetName", "GetName", "SetTabStop", "GetTabStop", "SetTabIndex", "GetTabIndex", "Destroy", "GetRectangle",
    "GetClientRectangle", "GetFocused", "SetUserData", "GetUserData", "AddControl", "GetControl", "GetParent",
    "GetControlsCount", "UpdatePosition",
};

// The own entries, then the control's from "SetPositionX" to
// "GetControlsCount" without the ones left out.
Names Derived(Names own, const Names& leftOut) {
    for (auto name = kControlNames.begin() + 1; name + 1 != kControlNames.end(); ++name) {
        if (std::find(leftOut.begin(), leftOut.end(), *name) == leftOut.end()) {
            own.push_back(*name);
        }
    }
    return own;
}

const Names kSkinnedOwn = {"SetModulationColor", "SetOpacity", "SetVisible", "SetEnabled"};
const Names kFormOwn = {"Close", "SetPosition", "SetOpacity", "SetVisible", "SetModal", "GetModal",
                        "SetShowOnlyControls", "GetShowOnlyControls", "SetPicture", "GetPicture",
                        "SetInactiveModulationColor", "GetInactiveModulationColor", "SetCloseButtonVisible",
                        "GetCloseButtonVisible", "SetCaptionHeight", "GetCaptionHeight", "SetBottomBorderHeight",
                        "GetBottomBorderHeight", "SetLeftBorderWidth", "GetLeftBorderWidth", "SetRightBorderWidth",
                        "GetRightBorderWidth"};
const Names kButtonOwn = {"SetModulationColor", "SetPosition", "SetOpacity", "SetVisible", "SetEnabled"};
const Names kRadioButtonOwn = {"SetModulationColor", "SetPosition", "SetOpacity", "SetVisible",
                               "SetEnabled",         "SetChecked",  "GetChecked"};

struct Expected {
    const char* scriptName;
    Names names;
    // Bound on the table's own class; the others are the control's bindings.
    Names own;
};

std::vector<Expected> ExpectedTables() {
    Names button = kButtonOwn;
    button.push_back("UpdatePosition");
    Names radioButton = {"UpdatePosition"};
    radioButton.insert(radioButton.end(), kRadioButtonOwn.begin(), kRadioButtonOwn.end());
    return {
        {"HUD", {"ShowCursor", "IsCursorVisible", "AddForm", "GetForm", "IsLoading"}, {}},
        {"Control", kControlNames, {}},
        {"Form", Derived(kFormOwn, {"SetVisible", "SetOpacity"}), kFormOwn},
        {"Button", Derived(button, kSkinnedOwn), kButtonOwn},
        {"RadioButton", Derived(radioButton, kSkinnedOwn), kRadioButtonOwn},
        {"NRectangle",
         {"LuaZeroize", "SetPosition", "GetPosition", "SetSize", "GetSize", "SetLeft", "GetLeft", "SetBottom",
          "GetBottom", "SetWidth", "GetWidth", "SetHeight", "GetHeight", "GetRight", "GetTop", "IsInside", "IsValid",
          "Translate", "Intersect"},
         {}},
    };
}

// Own entries are bound on the table's class, so they refuse a plain
// control; shared ones are the control's very bindings.
TEST(GuiTableNames, EachTableListsItsMethodsInScriptOrderAndSharesTheControlsBindings) {
    const Lua::MethodTable& control = *Lua::FindTable("Control");
    const Core::RefPtr<GUI::Control> plain = TUN_NEW(GUI::Control);
    for (const Expected& expected : ExpectedTables()) {
        const Lua::MethodTable* table = Lua::FindTable(expected.scriptName);
        ASSERT_NE(table, nullptr) << expected.scriptName;
        Names names;
        for (const Lua::Method& method : table->methods) {
            names.emplace_back(method.name);
            const std::string where = std::string(expected.scriptName) + "." + method.name;
            if (std::find(expected.own.begin(), expected.own.end(), method.name) != expected.own.end()) {
                EXPECT_FALSE(method.accepts(*plain)) << where;
            } else if (!table->holdsValues) {
                EXPECT_EQ(method.binding, Lua::FindMethod(control, method.name)->binding) << where;
            }
        }
        EXPECT_EQ(names, expected.names) << expected.scriptName;
    }
}

}  // namespace
