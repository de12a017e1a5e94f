#include "support/Tundra_TestGame.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_RadioButton.h"
#include "support/Lua_TestScripts.h"
#include "tundra/Lua_GuiValues.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_Values.h"

#include <lua.hpp>
#include <memory>
#include <string>

// The GUI tables driven from Lua in a running game: a form holding a
// control, a button and a radio button, reached through the global "HUD"
// and globals naming the widgets.
using namespace tundratest;
using Core::RefPtr;

namespace {

constexpr const char* kPrelude = R"(
function V(x, y) local v = CreateVector(); v.X, v.Y = x, y; return v end
function P(x, y) local p = CreatePoint(); p.X, p.Y = x, y; return p end
function Size(w, h) local s = CreateSize(); s.Width, s.Height = w, h; return s end
function Count(...) return select('#', ...) end
HostCreateSize = CreateSize
)";

class GuiTablesTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Start();
        form->SetName("main");
        control->SetName("plain");
        for (GUI::Control* child : {control.Get(), static_cast<GUI::Control*>(button.Get()),
                                    static_cast<GUI::Control*>(radio.Get())}) {
            form->AddControl(child);
        }
        SetGlobal("f", form.Get());
        SetGlobal("c", control.Get());
        SetGlobal("b", button.Get());
        SetGlobal("r", radio.Get());
        ASSERT_EQ(Run(kPrelude), "");
    }

    static std::string Run(const std::string& code) { return testsupport::RunChunk(Lua::Host::GetMainState(), code); }

    static void SetGlobal(const char* name, const Core::Object* object) {
        testsupport::SetGlobalObject(Lua::Host::GetMainState(), name, object);
    }

    static GUI::HUD& Hud() { return *GUI::HUD::GetInstance(); }

    RefPtr<GUI::Form> form = TUN_NEW(GUI::Form);
    RefPtr<GUI::Control> control = TUN_NEW(GUI::Control);
    RefPtr<GUI::Button> button = TUN_NEW(GUI::Button);
    RefPtr<GUI::RadioButton> radio = TUN_NEW(GUI::RadioButton);
};

TEST_F(GuiTablesTest, EdgeCasesOfTheTablesAsScriptsSeeThem) {
    const struct {
        const char* name;
        const char* script;
    } cases[] = {
        {"a point and two numbers reach the same place",
         "c:SetPosition(V(12, 34)) local a = c:GetPosition()\n"
         "c:SetPosition(0, 0) c:SetPosition(12, 34)\n"
         "assert(a.X == 12 and a.Y == 34 and c:GetPositionX() == 12 and c:GetPositionY() == 34)\n"
         "f:SetPosition(5, 6) assert(f:GetPositionX() == 5 and f:GetPositionY() == 6)"},
        {"lookups that find nothing return no value",
         "assert(Count(HUD:GetForm(0)) == 0 and Count(HUD:GetForm('main')) == 0)\n"
         "assert(Count(c:GetUserData()) == 0 and Count(f:GetControl(99)) == 0 and Count(f:GetControl(-1)) == 0)\n"
         "assert(Count(f:GetControl(0/0)) == 0 and Count(f:GetControl('none')) == 0 and Count(f:GetParent()) == 0)"},
        {"a size that is no table is 0 x 0",
         "c:SetControlSize(Size(30, 20)) assert(c:GetWidth() == 30 and c:GetHeight() == 20)\n"
         "c:SetControlSize(7) assert(c:GetWidth() == 0 and c:GetHeight() == 0)\n"
         "local r = c:GetRectangle() r:SetSize(7) assert(r:GetWidth() == 0 and r:GetHeight() == 0)"},
        {"disjoint rectangles meet in an invalid one",
         "local a = c:GetRectangle() a:LuaZeroize() a:SetSize(Size(10, 10))\n"
         "local b = c:GetRectangle() b:LuaZeroize() b:SetSize(Size(10, 10)) b:SetLeft(10)\n"
         "local none = a:Intersect(a, b) assert(none:GetWidth() == 0 and not none:IsValid())\n"
         "b:Translate(-1, 0) local one = a:Intersect(a, b) assert(one:GetWidth() == 1 and one:IsValid())\n"
         "assert(Count(a:Intersect(a)) == 0 and Count(a:Intersect(a, 1)) == 0)"},
        {"IsInside needs two numbers",
         "local r = c:GetRectangle() r:LuaZeroize() r:SetSize(Size(4, 4))\n"
         "assert(Count(r:IsInside(1)) == 0 and r:IsInside(4, 0) == true and r:IsInside(5, 0) == false)"},
        {"the button takes two numbers, the radio button only a point",
         "b:SetPosition(3, 4) assert(b:GetPositionX() == 3 and b:GetPositionY() == 4)\n"
         "r:SetPosition(P(7, 8)) assert(r:GetPositionX() == 7 and r:GetPositionY() == 8)\n"
         "r:SetPosition(3, 4) assert(r:GetPositionX() == 0 and r:GetPositionY() == 0)"},
        {"sizes come back as CreateSize tables",
         "c:SetControlSize(Size(30, 20)) local s = c:GetControlSize()\n"
         "assert(s.className == 'Size' and s.Width == 30 and s.Height == 20)\n"
         "local r = c:GetRectangle() r:SetWidth(9) local z = r:GetSize() assert(z.className == 'Size' and z.Width == 9)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.script), "") << c.name;
    }
}

TEST_F(GuiTablesTest, TheHudTableAddsFindsFormsAndSwitchesTheCursor) {
    EXPECT_EQ(Run("assert(HUD:IsCursorVisible() and not HUD:IsLoading())\n"
                  "HUD:ShowCursor(false) assert(not HUD:IsCursorVisible())\n"
                  "HUD:AddForm(f) assert(HUD:GetForm(0) == f and HUD:GetForm('main') == f)\n"
                  "HUD:AddForm(c) HUD:AddForm(nil) assert(Count(HUD:GetForm(1)) == 0)"),
              "");
    EXPECT_FALSE(Hud().IsCursorVisible());
    EXPECT_EQ(Hud().GetFormCount(), 1u);
    EXPECT_NE(Run("HUD:AddForm(Game)").find("test:1:"), std::string::npos);
}

TEST_F(GuiTablesTest, ControlMethodsReachTheTreeAndItsFields) {
    EXPECT_EQ(Run("HUD:AddForm(f)\n"
                  "assert(f:GetControlsCount() == 4 and f:GetControl(1) == c and f:GetControl('plain') == c)\n"
                  "assert(c:GetParent() == f)\n"
                  "c:SetUserData(b) assert(c:GetUserData() == b) c:SetUserData(nil) assert(Count(c:GetUserData()) == 0)\n"
                  "c:SetTabIndex(1e12) assert(c:GetTabIndex() == 2147483647)\n"
                  "c:SetOpacity(0.5) f:SetOpacity(0.5) assert(c:GetOpacity() == 0.25)\n"
                  "f:SetVisible(false) assert(not c:GetVisible()) f:SetVisible(true)\n"
                  "f:SetCaptionHeight(10) assert(f:GetCaptionHeight() == 10)\n"
                  "r:SetChecked(true) assert(r:GetChecked())\n"
                  "c:SetText('hi') c:SetText(5) assert(c:GetText() == 'hi')\n"
                  "c:Destroy()"),
              "");
    EXPECT_EQ(form->GetCaptionHeight(), 10.0f);
    Step();
    Step();
    EXPECT_EQ(form->GetControlsCount(), 3u);
    EXPECT_EQ(control->GetParent(), nullptr);
    EXPECT_NE(Run("c:SetUserData(1)").find("test:1:"), std::string::npos);
    EXPECT_NE(Run("f:AddControl(Game)").find("test:1:"), std::string::npos);
}

TEST_F(GuiTablesTest, AReplacedCreateSizeThatFailsIsAScriptErrorAtTheCallersLine) {
    const struct {
        const char* replacement;
        const char* error;
    } cases[] = {
        {"CreateSize = 5", "test:2: CreateSize is not a function"},
        {"CreateSize = function() error('no size') end", "test:2: CreateSize failed: test:1: no size"},
        {"CreateSize = function() return 5 end", "test:2: CreateSize returned no table"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(std::string(c.replacement) + "\nc:GetControlSize()"), c.error) << c.replacement;
        ASSERT_EQ(Run("CreateSize = HostCreateSize"), "");
    }
    EXPECT_EQ(Run("assert(c:GetControlSize().className == 'Size')"), "");
}

TEST_F(GuiTablesTest, AHudValueOutlivingItsHudIsAScriptError) {
    lua_State* state = Lua::Host::GetMainState();
    {
        const std::unique_ptr<GUI::HUD> second = std::make_unique<GUI::HUD>();
        Lua::PushHud(state, *second);
        lua_setglobal(state, "second");
        EXPECT_EQ(Run("second:ShowCursor(false)"), "");
        EXPECT_FALSE(second->IsCursorVisible());
        EXPECT_EQ(Run("HUD:ShowCursor(false)"), "test:1: the HUD was destroyed");
    }
    EXPECT_EQ(Run("second:GetForm(0)"), "test:1: the HUD was destroyed");
}

}  // namespace
