#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_ShapeMethods.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <cstring>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Each table: its script name, then its methods in order.
const char* const kGoldenTables[] = {
    "LineSegment2D GetPointA SetPointA GetPointB SetPointB ClassifyToLineSegment Perpendicular Parallel Alligned "
    "AngleBetween ClassifyToCircle Tangent ClassifyToRay ClassifyToLine",
    "Circle2D GetCenter SetCenter GetRadius SetRadius ClassifyToCircle ClassifyToLineSegment",
    "Ray2D GetOrigin SetOrigin GetDirection SetDirection ClassifyToRay Perpendicular Parallel AngleBetween "
    "ClassifyToCircle Tangent ClassifyToLineSegment ClassifyToLine",
    "Line2D GetPoint SetPoint GetDirection SetDirection ClassifyToLine Perpendicular Parallel AngleBetween "
    "ClassifyToCircle Tangent ClassifyToRay ClassifyToLineSegment",
    "MouseImp GetPosition GetPositionX GetPositionY IsInWindow IsMoved IsPressed IsTriggered IsDown IsUp "
    "IsCursorVisible",
    "KeyboardImp IsPressed IsTriggered IsDown IsUp AnyKey GetPressed GetTriggered GetKeyAsChar",
};

TEST(ShapeAndInputTables, HoldTheirMethodsInOrderEachBound) {
    std::size_t entries = 0;
    for (const char* golden : kGoldenTables) {
        const std::string scriptName(golden, std::strchr(golden, ' '));
        const Lua::MethodTable* table = Lua::FindTable(scriptName.c_str());
        ASSERT_NE(table, nullptr) << scriptName;
        // The shapes are values, the devices objects.
        const bool holdsValues = scriptName.find("2D") != std::string::npos;
        EXPECT_EQ(table->holdsValues, holdsValues) << scriptName;
        std::string names = scriptName;
        for (const Lua::Method& method : table->methods) {
            names += std::string(" ") + method.name;
            EXPECT_NE(method.binding, nullptr) << method.name;
            EXPECT_EQ(method.accepts == nullptr, holdsValues) << method.name;
        }
        EXPECT_EQ(names, golden);
        entries += table->methods.size();
    }
    EXPECT_EQ(entries, 61u);
}

// Script-side makers of test shapes: Segment(ax, ay, bx, by), Circle(x, y,
// r), Ray(x, y, dx, dy), Line(x, y, dx, dy).
template <class Shape>
int MakeShape(lua_State* state) {
    float v[4];
    for (int i = 0; i < 4; ++i) {
        v[i] = Lua::GetFloat(state, i + 1);
    }
    if constexpr (std::is_same_v<Shape, Math::Circle2D>) {
        Lua::PushShape(state, Shape({v[0], v[1]}, v[2]));
    } else if constexpr (std::is_same_v<Shape, Math::LineSegment2D>) {
        Lua::PushShape(state, Shape({v[0], v[1]}, {v[2], v[3]}));
    } else {
        Lua::PushShape(state, Shape({v[0], v[1]}, Vector2D(v[2], v[3])));
    }
    return 1;
}

std::string Describe(lua_State* state, int index) {
    std::ostringstream text;
    const auto point = [&](const Vector2D& p) { text << "(" << p.x << "," << p.y << ")"; };
    if (lua_type(state, index) == LUA_TNUMBER) {
        text << lua_tonumber(state, index);
    } else if (lua_type(state, index) == LUA_TBOOLEAN) {
        text << (lua_toboolean(state, index) ? "true" : "false");
    } else if (lua_istable(state, index)) {
        point(Lua::GetPoint2D(state, index));
    } else if (const auto* segment = Lua::GetShape<Math::LineSegment2D>(state, index)) {
        point(segment->pointA);
        text << "-";
        point(segment->pointB);
    } else if (const auto* ray = Lua::GetShape<Math::Ray2D>(state, index)) {
        text << "ray";
        point(ray->origin);
        point(ray->direction);
    } else {
        text << luaL_typename(state, index);
    }
    return text.str();
}

class ShapeAndInputScripts : public ::testing::Test {
protected:
    void SetUp() override {
        Lua::Host::Open(nullptr);
        m_state = Lua::Host::GetMainState();
        lua_register(m_state, "Segment", &MakeShape<Math::LineSegment2D>);
        lua_register(m_state, "Circle", &MakeShape<Math::Circle2D>);
        lua_register(m_state, "Ray", &MakeShape<Math::Ray2D>);
        lua_register(m_state, "Line", &MakeShape<Math::Line2D>);
    }
    void TearDown() override { Lua::Host::Close(); }

    // The chunk's results, described and joined by spaces.
    std::string Run(const std::string& chunk) {
        const int base = lua_gettop(m_state);
        if (luaL_loadstring(m_state, chunk.c_str()) != 0 || lua_pcall(m_state, 0, LUA_MULTRET, 0) != 0) {
            ADD_FAILURE() << chunk << ": " << lua_tostring(m_state, -1);
        }
        std::string results;
        for (int i = base + 1; i <= lua_gettop(m_state); ++i) {
            results += (i == base + 1 ? "" : " ") + Describe(m_state, i);
        }
        lua_settop(m_state, base);
        return results;
    }

    lua_State* m_state = nullptr;
};

TEST_F(ShapeAndInputScripts, ShapeTestsPushTheCodeAndWhatTheyWrote) {
    const std::pair<const char*, const char*> cases[] = {
        {"Segment(-2,0,2,0):ClassifyToCircle(Circle(0,0,1))", "15 (-1,0) (1,0)"},
        {"Segment(0,0,2,0):ClassifyToCircle(Circle(0,0,1))", "14 (1,0)"},
        {"Segment(-2,1,2,1):ClassifyToCircle(Circle(0,0,1))", "13 (0,1)"},
        {"Segment(-2,3,2,3):ClassifyToCircle(Circle(0,0,1))", "1"},
        {"Segment(-2,1,2,1):Tangent(Circle(0,0,1))", "true (0,1)"},
        {"Segment(-2,3,2,3):Tangent(Circle(0,0,1))", "false"},
        {"Segment(0,0,2,0):ClassifyToLineSegment(Segment(1,-1,1,1))", "0 (1,0)"},
        {"Segment(0,0,4,0):ClassifyToLineSegment(Segment(1,0.5,3,0.5))", "20"},
        {"Segment(0,0,4,0):ClassifyToLineSegment(Segment(1,0.25,3,0.25))", "19 (1,0.25)-(3,0.25)"},
        {"Segment(0,0,4,0):ClassifyToRay(Ray(-1,0,1,0))", "19 (0,0)-(4,0)"},
        {"Segment(-1,0,1,0):ClassifyToLine(Line(0,-5,0,1))", "0 (0,0)"},
        {"Segment(0,0,1,0):Perpendicular(Segment(0,0,0.0004,1))", "true"},
        {"Segment(0,0,1,0):AngleBetween(Segment(0,0,0,1)) > 1.5707", "true"},
        {"Circle(0,0,1):ClassifyToCircle(Circle(2,0,1))", "28 (1,0)"},
        {"Circle(0,0,3):ClassifyToCircle(Circle(0.5,0,1))", "26"},
        {"Circle(0,0,1):ClassifyToLineSegment(Segment(-2,0,2,0))", "15 (-1,0) (1,0)"},
        {"Ray(-2,1,1,0):ClassifyToCircle(Circle(0,0,1))", "14 (0,1)"},
        {"Ray(0,0,1,0):ClassifyToRay(Ray(2,0,-1,0))", "22 (0,0)-(2,0)"},
        {"Ray(0,0,1,0):ClassifyToRay(Ray(1,0,1,0))", "23 ray(1,0)(1,0)"},
        {"Ray(0,-1,0,1):ClassifyToLineSegment(Segment(-1,0,1,0))", "0 (0,0)"},
        {"Ray(0,-1,0,1):ClassifyToLine(Line(0,0,1,0))", "0 (0,0)"},
        {"Ray(0,0,1,0):AngleBetween(Ray(0,0,0,2))", "90"},
        {"Line(-2,1,1,0):ClassifyToCircle(Circle(0,0,1))", "13 (0,1)"},
        {"Line(-2,0,1,0):ClassifyToCircle(Circle(0,0,1))", "0 (-1,0) (1,0)"},
        {"Line(0,0,1,0):ClassifyToLine(Line(0,3,1,0))", "20"},
        {"Line(0,-1,0,1):ClassifyToLineSegment(Segment(-1,0,1,0))", "0 (0,0)"},
        {"Line(0,0,1,0):AngleBetween(Ray(0,0,-1,0)), Line(0,0,1,0):AngleBetween(Line(0,0,0,1))", "180 90"},
        // Fields are read and replaced on the held value; a missing value changes nothing.
        {"(function() local c = Circle(0,0,1); c:SetRadius(2); c:SetCenter({X=1,Y=2}); c:SetRadius()\n"
         "return c:GetRadius(), c:GetCenter() end)()", "2 (1,2)"},
        {"(function() local s = Segment(0,0,1,1); s:SetPointB({X=5,Y=6}); return s:GetPointA(), s:GetPointB() end)()",
         "(0,0) (5,6)"},
        {"(function() local r = Ray(1,2,3,4); r:SetDirection(7); return r:GetOrigin(), r:GetDirection() end)()",
         "(1,2) (0,0)"},
        {"(function() local l = Line(0,0,1,0); l:SetPoint({X=3,Y=3}); return l:GetPoint(), l:GetDirection() end)()",
         "(3,3) (1,0)"},
        // A missing shape, or one of another kind, gives no results.
        {"select('#', Segment(0,0,1,1):ClassifyToCircle()) + select('#', Circle():ClassifyToLineSegment(Circle()))",
         "0"},
        {"select('#', Ray():Tangent(7)) + select('#', Line():AngleBetween(Segment())) + "
         "select('#', Ray():ClassifyToRay({X=1}))",
         "0"},
    };
    for (const auto& [call, expected] : cases) {
        EXPECT_EQ(Run(std::string("return ") + call), expected) << call;
    }
}

TEST_F(ShapeAndInputScripts, InputTablesAnswerForTheDevice) {
    const auto keyboard = Input::KeyboardImp::CreateRemote();
    const std::uint8_t digitOne = 0x31;
    const std::uint8_t held[] = {1, 1, 1, 1, 0};
    ASSERT_TRUE(keyboard->ApplyEvents({&digitOne, 1}, held));
    const auto mouse = Input::MouseImp::CreateRemote();
    Input::MouseSnapshot snapshot{};
    snapshot[0] = 1;   // left pressed
    snapshot[16] = 10;  // x
    snapshot[20] = 20;  // y
    snapshot[24] = 1;  // in the window
    snapshot[25] = 1;  // moved
    mouse->ReadSnapshot(snapshot);
    Lua::PushObject(m_state, keyboard.Get());
    lua_setglobal(m_state, "keyboard");
    Lua::PushObject(m_state, mouse.Get());
    lua_setglobal(m_state, "mouse");

    EXPECT_EQ(Run("return keyboard:IsPressed(44), keyboard:IsTriggered(44), keyboard:IsDown(44), "
                  "keyboard:IsUp(44), keyboard:AnyKey(), keyboard:IsPressed(45), keyboard:GetKeyAsChar(44), "
                  "keyboard:GetTriggered()"),
              "true true true false true false 49 true 44");
    EXPECT_EQ(Run("return mouse:GetPosition(), mouse:GetPositionX(), mouse:GetPositionY(), mouse:IsInWindow(), "
                  "mouse:IsMoved(), mouse:IsPressed(0), mouse:IsTriggered(2), mouse:IsUp(0), mouse:IsDown(3), "
                  "mouse:IsCursorVisible()"),
              "(10,20) 10 20 true true true false false false false");
    EXPECT_EQ(Run("return select('#', keyboard:IsPressed()) + select('#', keyboard:GetKeyAsChar()) + "
                  "select('#', mouse:IsDown())"),
              "0");
    keyboard->ApplyEvents({}, {});
    EXPECT_EQ(Run("return keyboard:GetPressed()"), "false");
}

}  // namespace
