#include "support/Tundra_TestGame.h"
#include "support/Lua_TestScripts.h"

#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"
#include "os/OS_HeadlessInput.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Text.h"

#include <lua.hpp>

// A scripted sprite in a running level drives the engine through the
// script tables: every hook in turn, and in its first update a tour of
// objects, layers, the game, the keyboard, shapes and other scripts.
namespace {

using tundratest::GameTest;

constexpr const char* kHeroScript = R"(
local function trace(text) _G.trace = (_G.trace or "") .. text .. " " end
function Constructor() trace("Constructor") end
function OnStart() trace("OnStart") end
function OnEnd() trace("OnEnd") self:Destroy() end
function Destroy() trace("Destroy") end
function Update(dt)
  trace(string.format("Update%.3f", dt))
  if _G.toured then return end
  _G.toured = true
  local to = CreateVector()
  to.X, to.Y = 3, 4
  self:SetPosition(to)
  local at = self:GetPosition()
  _G.position = at.X .. "," .. at.Y
  local names, byName = {}, {}
  for i, object in ipairs(self:GetLayer():GetGameObjects()) do
    names[i] = object:GetName()
    byName[names[i]] = object
  end
  _G.names = table.concat(names, ",")
  self:Mount(byName.rider)
  _G.mounted = tostring(byName.rider:GetMount() == self)
  local copy = byName.label:Clone()
  self:GetLayer():AddGameObject(copy)
  _G.cloned = tostring(copy ~= byName.label and _G.lastLabel == copy)
  _G.twice = table.concat({ byName.label:ObjectFunction("Twice", 2, 21, "ab") }, ",")
  _G.keyDown = tostring(Game:GetKeyboard():IsDown(53))
  local code, first, second = segment:ClassifyToCircle(circle)
  _G.classified = code .. ":" .. first.X .. "," .. second.X
  Game:GoToNextLevel()
end
)";

// Each instance announces itself: a clone runs it again.
constexpr const char* kLabelScript = R"(
_G.labelRuns = (_G.labelRuns or 0) + 1
_G.lastLabel = self
function Twice(number, text) return number * 2, text .. text end
)";

class ScriptScenarioTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        m_scripts.Write("hero.lua", kHeroScript);
        m_scripts.Write("label.lua", kLabelScript);
    }

    template <class T>
    T& Add(T* object, const char* name, const char* script = nullptr) {
        object->SetName(name);
        LayerAt(0).AddGameObject(object);
        if (script != nullptr) {
            object->SetScript(script);
            object->RunScript(false);
        }
        return *object;
    }

    static void SetShapes() {
        lua_State* state = Lua::Host::GetMainState();
        Lua::PushValue(state, Math::LineSegment2D({-10.0f, 0.0f}, {10.0f, 0.0f}), "LineSegment2D");
        lua_setglobal(state, "segment");
        Lua::PushValue(state, Math::Circle2D({0.0f, 0.0f}, 5.0f), "Circle2D");
        lua_setglobal(state, "circle");
    }

    // A global the scripts set, taken (cleared) from the shared globals.
    static std::string Take(const char* name) { return testsupport::TakeGlobalText(Lua::Host::GetMainState(), name); }

    testsupport::ScriptDirectory m_scripts;
};

TEST_F(ScriptScenarioTest, AScriptedSpriteRunsItsHooksInOrderAndDrivesTheEngineThroughTheTables) {
    Start();
    // The keyboard starts out waiting for all keys to be up: a poll with
    // none held ends the wait.
    Step(1);
    SetShapes();
    const Core::RefPtr<Tundra::Sprite> hero = &Add(TUN_NEW(Tundra::Sprite), "hero", "hero.lua");
    const Core::RefPtr<Tundra::Sprite> rider = &Add(TUN_NEW(Tundra::Sprite), "rider");
    Add(TUN_NEW(Tundra::Text), "label", "label.lua");
    EXPECT_EQ(Take("trace"), "Constructor ");
    os::headless::SetKey(os::VK_A, true);
    Step(1);
    EXPECT_EQ(Take("trace"), "OnStart Update0.016 ");
    EXPECT_TRUE(hero->GetPosition().x == 3.0f && hero->GetPosition().y == 4.0f);
    EXPECT_EQ(Take("position"), "3,4");
    EXPECT_EQ(Take("names"), "hero,rider,label");
    EXPECT_TRUE(Take("mounted") == "true" && rider->GetMount() == hero.Get());
    EXPECT_TRUE(Take("cloned") == "true" && Take("labelRuns") == "2");
    EXPECT_EQ(Take("twice"), "42,abab");
    EXPECT_EQ(Take("keyDown"), "true");
    EXPECT_EQ(Take("classified"), "15:-5,5");
    EXPECT_TRUE(m_game->IsLevelChangePending() && m_game->GetCurrentLevelIndex() == 0u);
    os::headless::SetKey(os::VK_A, false);
    Step(1);
    EXPECT_EQ(Take("trace"), "OnEnd Destroy ");
    EXPECT_TRUE(m_game->GetCurrentLevelIndex() == 1u && hero->IsDestroyed());
}

TEST_F(ScriptScenarioTest, AManagedObjectThatALayerHoldsOutlivesItsManager) {
    Start();
    const Core::RefPtr<Tundra::Sprite> manager = &Add(TUN_NEW(Tundra::Sprite), "manager");
    tundratest::TestObject& kept = Add(TUN_NEW(tundratest::TestObject), "kept");
    Step(1);
    ASSERT_EQ(testsupport::RunChunk(Lua::Host::GetMainState(),
                                    "local list = Game:GetCurrentLevel():GetLayer(0):GetGameObjects() "
                                    "list[1]:AddManagedObject(list[2], 'kept') "
                                    "list[1]:Destroy()"),
              "");
    tundratest::Log().clear();
    Step(2);
    EXPECT_TRUE(manager->IsDestroyed() && manager->GetLayer() == nullptr);
    EXPECT_EQ(Entries("update kept").size(), 2u);
    EXPECT_TRUE(!kept.IsDestroyed() && kept.GetLayer() == &LayerAt(0));
}

}  // namespace
