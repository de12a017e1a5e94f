#include "support/Tundra_TestGame.h"
#include "support/Lua_TestScripts.h"

#include "physics/Physics_MassProperties.h"
#include "tundra/Lua_Host.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Text.h"

#include <initializer_list>
#include <lua.hpp>
#include <string>

namespace {

using tundratest::GameTest;
using tundratest::TestObject;

// V(x, y) builds a vector table; S(v) writes a vector as "x,y".
constexpr const char* kHelpers = R"(
local function V(x, y) local v = CreateVector(); v.X, v.Y = x, y; return v end
local function S(v) return string.format("%g,%g", v.X, v.Y) end
)";

class LuaGameObjectMethodsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Start();
        m_state = Lua::Host::GetMainState();
    }

    void Publish(const char* name, const Core::Object* object) {
        object->PushToLua(m_state);
        lua_setglobal(m_state, name);
    }

    // Runs the body with the helpers; its result as a string, or the error.
    std::string Eval(const std::string& body) {
        const std::string error =
            testsupport::RunChunk(m_state, std::string(kHelpers) + "result = tostring(((function()\n" + body + "\nend)()))");
        if (!error.empty()) {
            return "error " + error;
        }
        lua_getglobal(m_state, "result");
        const std::string result = lua_tostring(m_state, -1);
        lua_pop(m_state, 1);
        return result;
    }

    lua_State* m_state = nullptr;
    testsupport::ScriptDirectory m_scripts;
};

TEST_F(LuaGameObjectMethodsTest, ScriptsMoveTurnMountAndColourObjects) {
    TestObject& a = Spawn("a");
    TestObject& b = Spawn("b");
    Step();
    Publish("a", &a);
    Publish("b", &b);
    Publish("layer", &LayerAt(0));
    Publish("keyboard", m_game->GetKeyboard());
    Publish("mouse", m_game->GetMouse());
    const struct {
        const char* body;
        const char* expected;
    } cases[] = {
        {"a:SetPosition(V(3, 4)); return S(a:GetPosition())", "3,4"},
        {"a:SetPositionY(-2); return a:GetPositionX() .. ',' .. a:GetPositionY()", "3,-2"},
        {"a:SetDirection(V(0, 5)); return string.format('%.2f %.2f', a:GetRotationAngle(), a:GetDirection().Y)",
         "90.00 1.00"},
        {"a:SetScale(2, 3); local s = a:GetScale(); a:SetScale(s); return S(a:GetScale())", "2,3"},
        {"a:SetModulationG(0.5); local c = a:GetModulationColor(); return c.R .. c.G .. c.B .. c.A", "10.511"},
        {"a:SetRotationAngle(0); a:SetPosition(V(0, 0)); b:SetPosition(V(10, 0)); a:Mount(b);"
         "a:SetPosition(V(5, 5)); return S(b:GetPosition()) .. ' ' .. a:GetMountsCount() .. tostring(b:IsMounted())",
         "15,5 1true"},
        {"return a:GetMountSupport(0) == b and b:GetMount() == a and a:GetMountSupport(1) == nil", "true"},
        {"a:UnMount(b); return a:GetMountsCount() .. tostring(b:IsMounted()) .. tostring(a:GetMountSupport(0))",
         "0falsenil"},
        {"a:SetName('renamed'); return a:GetName() .. tostring(a:GetLayer() == layer)", "renamedtrue"},
        {"return tostring(a:ChangeNetworkOwner()) .. tostring((a:GetNetworkOwner()))", "falsenil"},
        {"return a:GetNetworkKeyboard() == keyboard and a:GetNetworkMouse() == mouse", "true"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Eval(c.body), c.expected) << c.body;
    }
    EXPECT_EQ(b.GetPosition(), Vector2D(15.0f, 5.0f));
}

TEST_F(LuaGameObjectMethodsTest, ScriptsDriveBodiesAndReadCollisionResults) {
    TestObject& a = Spawn("a");
    TestObject& b = Spawn("b");
    ASSERT_TRUE(a.AddCollision(CircleShape(5.0f, 1), 0) && b.AddCollision(CircleShape(5.0f, 2), 0));
    b.SetPosition({6.0f, 0.0f});
    LayerAt(0).AddStaticCircle({-6.0f, 0.0f}, 5.0f, 0, 9);
    Publish("a", &a);
    const struct {
        const char* body;
        const char* expected;
    } bodies[] = {
        {"return tostring((a:GetSpeed())) .. tostring((a:GetMassProperties()))", "nilnil"},
        {"return a:AddPhysicalProperties({Mass = 2, Inertia = 1, CenterOfMass = V(0, 0)}, 0)", "true"},
        {"a:SetVelocity(V(0, 2)); return a:GetSpeed() .. ' ' .. tostring(a:SetSpeed(3)) .. ' ' .. S(a:GetVelocity())",
         "2 true 0,3"},
        {"a:SetVelocityDirection(1, 0); return S(a:GetVelocity()) .. ' ' .. S(a:GetVelocityDirection())", "3,0 1,0"},
        {"local m = a:GetMassProperties(); return m.Mass .. ' ' .. S(m.CenterOfMass)", "2 0,0"},
        {"return tostring(a:RemovePhysicalProperties()) .. a:GetPhysicsId()", "true0"},
    };
    for (const auto& c : bodies) {
        EXPECT_EQ(Eval(c.body), c.expected) << c.body;
    }

    Step();
    const struct {
        const char* body;
        const char* expected;
    } queries[] = {
        {"return a:GetNumberOfCollidedSprites(true) .. a:GetCollidedSprite(0, true):GetName()", "1b"},
        {"return tostring(a:IsCollidedWithSprite('b', true)) .. tostring(a:IsCollidedWithSpriteCircle(2))",
         "truetrue"},
        {"return tostring(a:IsMyCircleCollided(1, 9)) .. tostring(a:IsMyCircleCollided(1, 8))", "truefalse"},
        {"local d = a:GetCollidedCircleData(0); return d.Penetration .. ' ' .. #d.Points .. #d.Normals", "4 22"},
        {"local d = a:GetCollidedSpriteData(0); return d.Sprite:GetName() .. ' ' .. S(d.ContactPosition)", "b 3,0"},
        {"return tostring((a:GetCollidedCircleData(1))) .. a:GetNumberOfCollidedTileMaps()", "nil0"},
        {"local found, list = a:GetTileMapStaticEntries_UsingHotSpot(); return tostring(found) .. #list", "false0"},
        {"return select('#', a:GetCollidedTileMap()) + select('#', a:GetTileMapCollisionObject())", "0"},
        {"return type(a:GetCollisionObject()) .. tostring(a:ObjectInCollision())", "userdatatrue"},
        // Making a vector may run script code that ends the results being read.
        {"local make = CreateVector; CreateVector = function() a:RemoveCollision(); return make() end;"
         "local ok, d = pcall(a.GetCollidedSpriteData, a, 0); CreateVector = make; return d.Penetration",
         "4"},
    };
    for (const auto& c : queries) {
        EXPECT_EQ(Eval(c.body), c.expected) << c.body;
    }
}

TEST_F(LuaGameObjectMethodsTest, DeadObjectsAndWrongReceiversGiveScriptErrors) {
    TestObject& doomed = Spawn("doomed");
    Step();
    Publish("doomed", &doomed);
    Publish("layer", &LayerAt(0));
    doomed.Destroy();
    Step();
    TestObject& live = Spawn("live");
    Publish("live", &live);
    const struct {
        const char* body;
        const char* message;
    } cases[] = {
        {"doomed:SetPosition(V(1, 1))", "the object was destroyed"},
        {"live.SetPosition(layer, V(1, 1))", "not a method of a Tundra::Layer"},
        {"live.SetPosition(V(1, 1))", "the receiver is not an engine object"},
        {"live:Mount(layer)", "argument 1 is a Tundra::Layer"},
    };
    for (const auto& c : cases) {
        const std::string error = Eval(c.body);
        EXPECT_EQ(error.rfind("error test:5: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST_F(LuaGameObjectMethodsTest, ManagedObjectsAreHeldNotOwned) {
    TestObject& manager = Spawn("manager");
    TestObject& kept = Spawn("kept");
    const Core::RefPtr<TestObject> late = TUN_NEW(TestObject, "late");
    Step();
    Publish("manager", &manager);
    Publish("kept", &kept);
    Publish("late", late.Get());
    const Core::RefPtr<TestObject> held = &manager;
    EXPECT_EQ(Eval("manager:AddManagedObject(kept, 'friend'); manager:AddManagedObject(manager, 'me')"), "nil");
    manager.Destroy();
    Step();
    // Cleaned up and let go of: a manager past its clean-up takes nothing more.
    EXPECT_EQ(Eval("manager:AddManagedObject(late, 'late'); return kept:GetName()"), "kept");
    EXPECT_FALSE(kept.IsDestroyed());
    EXPECT_EQ(late->GetReferenceCount(), 1u);
}

TEST_F(LuaGameObjectMethodsTest, TextsAndCamerasAnswerTheirOwnMethodsAndAClonedTextRunsItsScript) {
    m_scripts.Write("label.lua", "_G.trace = (_G.trace or '') .. 'run' .. self:GetID() .. ' '\n");
    m_scripts.Write("cloner.lua", R"(
function Update(dt)
  if cloned then return end
  cloned = true
  local copy = text:Clone()
  copy:SetText("copy")
  _G.trace = _G.trace .. "copy" .. copy:GetID() .. copy:GetText() .. text:GetText()
end
)");
    auto* text = TUN_NEW(Tundra::Text, "hello", "");
    auto* camera = TUN_NEW(Tundra::Camera, 45.0f);
    auto* cloner = TUN_NEW(Tundra::GameObject);
    for (Tundra::GameObject* object : std::initializer_list<Tundra::GameObject*>{text, camera, cloner}) {
        LayerAt(0).AddGameObject(object);
    }
    Publish("text", text);
    Publish("camera", camera);
    text->SetScript("label.lua");
    text->RunScript(false);
    cloner->SetScript("cloner.lua");
    cloner->RunScript(false);
    const std::string source = std::to_string(text->GetID());
    const std::string copy = std::to_string(Tundra::GameObject::GetIdCounter());
    Step();
    const struct {
        std::string body;
        std::string expected;
    } cases[] = {
        {"return _G.trace", "run" + source + " run" + copy + " copy" + copy + "copyhello"},
        {"text:SetHUDObject(true); text:SetText(42); return text:GetText() .. tostring(text:IsHUDObject())",
         "hellotrue"},
        {"camera:SetFOV(60); return camera:GetFOV()", "60"},
        {"camera:MakeActiveListener(); return camera:IsActiveListener()", "true"},
        {"local f = text.SetText; return pcall(f, camera, 'x')", "false"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Eval(c.body), c.expected) << c.body;
    }
    EXPECT_EQ(camera->GetFOV(), 60.0f);
    EXPECT_TRUE(text->IsHUDObject());
}

}  // namespace
