#include "support/Tundra_TestGame.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "support/Lua_TestScripts.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <lua.hpp>
#include <string>

// The host's sweep calls the GUI bindings on loose widgets; here every
// method of the six tables runs from a script on a widget of a form tree in
// the HUD (the value tables on a rectangle and on the HUD), with arguments
// of every kind, then frames run what it queued (removals, closes, the modal
// form). Each call either succeeds or raises a script error; sanitizers
// watch the rest.
using namespace tundratest;
using Core::RefPtr;

namespace {

const char* const kArgumentLists[] = {
    "", "1e12, -1e12, 0/0", "'main', 'plain'", "{}, {}", "dead", "Game", "HUD", "other, f", "rect, rect", "0, 1",
};

const struct {
    const char* scriptName;
    const char* receiver;
} kTables[] = {
    {"HUD", "HUD"}, {"Control", "c"}, {"Form", "f"}, {"Button", "b"}, {"RadioButton", "r"}, {"NRectangle", "rect"},
};

class GuiSweepTest : public GameTest {
protected:
    static void SetGlobal(const char* name, const Core::Object* object) {
        testsupport::SetGlobalObject(Lua::Host::GetMainState(), name, object);
    }

    // A new form in the HUD holding a control, a button and a radio button.
    void BuildTree() {
        form = TUN_NEW(GUI::Form);
        form->SetName("main");
        const RefPtr<GUI::Control> control = TUN_NEW(GUI::Control);
        control->SetName("plain");
        const RefPtr<GUI::Button> button = TUN_NEW(GUI::Button);
        const RefPtr<GUI::RadioButton> radio = TUN_NEW(GUI::RadioButton);
        for (GUI::Control* child : {control.Get(), static_cast<GUI::Control*>(button.Get()),
                                    static_cast<GUI::Control*>(radio.Get())}) {
            form->AddControl(child);
        }
        GUI::HUD::GetInstance()->AddForm(form.Get());
        other = TUN_NEW(GUI::Control);
        SetGlobal("f", form.Get());
        SetGlobal("c", control.Get());
        SetGlobal("b", button.Get());
        SetGlobal("r", radio.Get());
        SetGlobal("other", other.Get());
        ASSERT_EQ(testsupport::RunChunk(Lua::Host::GetMainState(), "rect = c:GetRectangle()"), "");
    }

    RefPtr<GUI::Form> form;
    RefPtr<GUI::Control> other;
};

TEST_F(GuiSweepTest, EveryGuiMethodTakesMissingWrongAndDestroyedArgumentsWithoutHarm) {
    Start();
    lua_State* state = Lua::Host::GetMainState();
    Core::testhooks::StartCapturingErrors();
    {
        const RefPtr<GUI::Button> dead = TUN_NEW(GUI::Button);
        SetGlobal("dead", dead.Get());
    }
    int calls = 0;
    for (const auto& [scriptName, receiver] : kTables) {
        const Lua::MethodTable* table = Lua::FindTable(scriptName);
        ASSERT_NE(table, nullptr) << scriptName;
        for (const Lua::Method& method : table->methods) {
            BuildTree();
            const std::string call = std::string(receiver) + "." + method.name;
            for (const char* arguments : kArgumentLists) {
                const std::string chunk = "pcall(" + call + ", " + receiver +
                                          (*arguments != '\0' ? std::string(", ") + arguments : "") + ")";
                EXPECT_EQ(testsupport::RunChunk(state, chunk), "") << chunk;
                ++calls;
            }
            GUI::HUD::GetInstance()->RemoveForm(form.Get());
            Step(2);
            ASSERT_NE(GUI::HUD::GetInstance(), nullptr);
        }
    }
    Core::testhooks::StopCapturingErrors();
    EXPECT_EQ(calls, 224 * static_cast<int>(std::size(kArgumentLists)));
}

}  // namespace
