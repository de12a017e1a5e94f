#include "support/Lua_TestScripts.h"

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "tundra/Lua_CopyValues.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <cmath>
#include <stdexcept>

namespace {

using testsupport::RunChunk;

// An object class with a table of its own, to drive the dispatcher.
struct Probe : Core::Object {
    TUN_DECLARE_CLASS(Probe);
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, "Probe"); }
    Core::RefPtr<Probe> held;
};

// Pushes how many arguments it got and the first one back.
int Echo(Probe&, lua_State* state) {
    const int count = Lua::ArgumentCount(state);
    Lua::PushInt(state, count);
    lua_pushvalue(state, 1);
    return 2;
}

int Throw(Probe&, lua_State*) { throw std::runtime_error("binding failed"); }

// Raises a script error while holding a reference and an engine string.
int RaiseHolding(Probe& self, lua_State* state) {
    const Core::RefPtr<Probe> held = self.held;
    const Core::String text("a text long enough to live on the heap, not in the string itself");
    Lua::RaiseError(state, text.c_str());
}

const Lua::MethodTable& ProbeMethods() {
    static const Lua::MethodTable table{"Probe",
                                        {Lua::Bind<Probe, &Echo>("Echo"), Lua::Bind<Probe, &Throw>("Throw"),
                                         Lua::Bind<Probe, &RaiseHolding>("RaiseHolding")}};
    return table;
}
const Lua::TableRegistration s_probeTable{&ProbeMethods};

// Another class, which the probe's methods do not take.
struct Stranger : Core::Object {
    TUN_DECLARE_CLASS(Stranger);
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, "Probe"); }
};

class LuaHostTest : public testing::Test {
protected:
    void SetUp() override {
        Lua::Host::Open(nullptr);
        L = Lua::Host::GetMainState();
        ASSERT_NE(L, nullptr);
    }
    void TearDown() override { Lua::Host::Close(); }

    void SetGlobal(const char* name, const Core::Object* object) {
        Lua::PushObject(L, object);
        lua_setglobal(L, name);
    }

    lua_State* L = nullptr;
};

TEST_F(LuaHostTest, OpenInstallsTheConstructorsAndCloseEndsScripting) {
    EXPECT_TRUE(Lua::Host::IsOpen());
    EXPECT_EQ(RunChunk(L, "local c = CreateColor() assert(c.className == 'Color' and c.R == 0 and c.A == 1)\n"
                          "local v = CreateVector() assert(v.className == 'Vector2D' and v.X == 0 and v.Y == 0)\n"
                          "assert(CreatePoint().className == 'Point2D')\n"
                          "assert(Game == nil and dofile == nil and debug == nil)\n"
                          "assert(loadstring(string.dump(function() end)) == nil)"),
              "");
    Lua::Host::Close();
    EXPECT_FALSE(Lua::Host::IsOpen());
    EXPECT_EQ(Lua::Host::GetMainState(), nullptr);
    Lua::Host::Open(nullptr);
    L = Lua::Host::GetMainState();
}

TEST_F(LuaHostTest, MethodsGetTheirArgumentsFromOneAndAnObjectKeepsOneIdentity) {
    const Core::RefPtr<Probe> probe = TUN_NEW(Probe);
    SetGlobal("p", probe.Get());
    SetGlobal("same", probe.Get());
    EXPECT_EQ(RunChunk(L, "local n, first = p:Echo('a', 2) assert(n == 2 and first == 'a')\n"
                          "assert(p == same and rawequal(p, same))"),
              "");
}

TEST_F(LuaHostTest, BadReceiversAndFailingBindingsAreScriptErrorsWithTheLine) {
    Core::RefPtr<Probe> probe = TUN_NEW(Probe);
    const Core::RefPtr<Stranger> stranger = TUN_NEW(Stranger);
    probe->held = TUN_NEW(Probe);
    SetGlobal("p", probe.Get());
    SetGlobal("s", stranger.Get());
    Core::RefPtr<Probe> doomed = TUN_NEW(Probe);
    SetGlobal("doomed", doomed.Get());
    doomed = nullptr;
    const struct {
        const char* chunk;
        const char* message;
    } cases[] = {
        {"\np.Echo(1)", "test:2: Echo: the receiver is not an engine object"},
        {"\n\np.Echo(CreateVector())", "test:3: Echo: the receiver is not an engine object"},
        {"s:Echo()", "test:1: Echo: not a method of a Stranger"},
        {"doomed:Echo()", "test:1: Echo: the object was destroyed"},
        {"p:Throw()", "test:1: Throw: binding failed"},
        {"p:RaiseHolding()", "test:1: a text long enough"},
        {"p:Missing()", "test:1: attempt to call method 'Missing'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunChunk(L, c.chunk).rfind(c.message, 0), 0u) << c.chunk << " gave " << RunChunk(L, c.chunk);
    }
    // The reference the failing binding held went with the error.
    EXPECT_EQ(probe->held->GetReferenceCount(), 1u);
}

TEST_F(LuaHostTest, ValueReadersGiveTheirDefaults) {
    lua_pushnumber(L, 3.0);
    EXPECT_EQ(Lua::GetVector2D(L, -1), Vector2D(0.0f, 0.0f));
    const Color missing = Lua::GetColor(L, 5);
    EXPECT_EQ(missing.r, 0.0f);
    EXPECT_EQ(missing.a, 1.0f);
    lua_pushnumber(L, 1e12);
    lua_pushnumber(L, -1e12);
    lua_pushnumber(L, std::nan(""));
    EXPECT_EQ(Lua::GetInt(L, 2), 2147483647);
    EXPECT_EQ(Lua::GetInt(L, 3), -2147483647 - 1);
    EXPECT_EQ(Lua::GetInt(L, 4), 0);
    // A relative index names the value it counts back to.
    Lua::PushColor(L, 0.5f, 0.0f, 0.0f, 0.5f);
    EXPECT_EQ(Lua::GetColor(L, -1).r, 0.5f);
    lua_settop(L, 0);
}

TEST_F(LuaHostTest, CopyValuesSkipsPlainTablesAndFunctionsAndRebuildsValueTables) {
    lua_State* to = lua_newthread(L);
    luaL_ref(L, LUA_REGISTRYINDEX);  // held until the state closes
    RunChunk(L, "values = { 7, {}, function() end, 'text', { className = 'Color', R = 0.5, G = 0.25, B = 1, A = 0.75 } }");
    lua_getglobal(L, "values");
    const int table = lua_gettop(L);
    lua_pushnil(L);  // index 2 onwards: the run an offset of 1 copies from index 3
    for (int i = 1; i <= 5; ++i) {
        lua_rawgeti(L, table, i);
    }
    EXPECT_EQ(Lua::CopyValues(L, to, 1, 0), 3);
    ASSERT_EQ(lua_gettop(to), 3);
    EXPECT_EQ(lua_tonumber(to, 1), 7.0);
    EXPECT_STREQ(lua_tostring(to, 2), "text");
    const Color color = Lua::GetColor(to, 3);
    EXPECT_EQ(color.r, 0.5f);
    EXPECT_EQ(color.g, 0.25f);
    EXPECT_EQ(color.b, 1.0f);
    EXPECT_EQ(color.a, 0.75f);
    lua_settop(to, 0);
    // Offset 0: the last count values, or indices 1 to count.
    EXPECT_EQ(Lua::CopyValues(L, to, 0, 3), 2);  // the function is skipped
    lua_settop(to, 0);
    EXPECT_EQ(Lua::CopyValues(L, to, 0, 99), 4);  // nil, 7, "text" and the colour
    lua_settop(L, 0);
}

}  // namespace

TUN_DEFINE_CLASS(Probe)
TUN_DEFINE_CLASS(Stranger)
