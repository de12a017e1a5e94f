#include "support/Tundra_TestGame.h"

#include "core/Core_ClassRegistry.h"
#include "core/Core_ErrorLogTestHooks.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_HUD.h"
#include "tundra/Lua_GuiValues.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>
#include <exception>
#include <lua.hpp>
#include <map>
#include <string>

// Every binding of every registered table, called with no arguments and
// with arguments of every wrong kind, on a receiver of its class: each call
// either succeeds or raises a script error, and never claims results it did
// not push. Sanitizers watch the rest.
namespace {

using tundratest::GameTest;

bool g_overclaimed = false;

// Calls the binding (upvalue 1) on the receiver (upvalue 2) with the stack
// as its arguments, as the dispatcher does.
int CallBinding(lua_State* state) {
    const auto* method = static_cast<const Lua::Method*>(lua_touserdata(state, lua_upvalueindex(1)));
    void* receiver = lua_touserdata(state, lua_upvalueindex(2));
    std::string failure;
    try {
        const int results = method->binding(receiver, state);
        g_overclaimed = g_overclaimed || results < 0 || results > lua_gettop(state);
        return results;
    } catch (const std::exception& exception) {
        failure = exception.what();
    }
    Lua::RaiseError(state, failure.c_str());
}

enum class Wrong { None, Nil, Number, String, Table, DeadObject, DeadControl };

void PushWrong(lua_State* state, Wrong kind, int deadObject, int deadControl) {
    switch (kind) {
    case Wrong::None:
        break;
    case Wrong::Nil:
        lua_pushnil(state);
        break;
    case Wrong::Number:
        lua_pushnumber(state, 1e12);
        break;
    case Wrong::String:
        lua_pushliteral(state, "..\\x");
        break;
    case Wrong::Table:
        lua_newtable(state);
        break;
    case Wrong::DeadObject:
        lua_rawgeti(state, LUA_REGISTRYINDEX, deadObject);
        break;
    case Wrong::DeadControl:
        lua_rawgeti(state, LUA_REGISTRYINDEX, deadControl);
        break;
    }
}

// The script name an object is pushed under (its metatable's protected name).
std::string ScriptNameOf(lua_State* state, const Core::Object& object) {
    object.PushToLua(state);
    std::string name;
    if (lua_getmetatable(state, -1)) {
        lua_getfield(state, -1, "__metatable");
        if (const char* text = lua_tostring(state, -1)) {
            name = text;
        }
        lua_pop(state, 2);
    }
    lua_pop(state, 1);
    return name;
}

class LuaSweepTest : public GameTest {
protected:
    // A receiver for the table: a new object of a registered class pushed
    // under its name, else one of the running game's own objects.
    Core::RefPtr<Core::Object> ReceiverFor(const Lua::MethodTable& table) {
        if (const auto found = m_classOf.find(table.scriptName); found != m_classOf.end()) {
            return CreateObjectByName(found->second.c_str());
        }
        for (Core::Object* object : {static_cast<Core::Object*>(m_game.Get()), static_cast<Core::Object*>(m_game->GetKeyboard()),
                                     static_cast<Core::Object*>(m_game->GetMouse()),
                                     static_cast<Core::Object*>(m_game->GetCurrentLevel()),
                                     static_cast<Core::Object*>(m_game->GetCurrentLevel() != nullptr
                                                                    ? m_game->GetCurrentLevel()->GetLayer(0)
                                                                    : nullptr)}) {
            if (object != nullptr && ScriptNameOf(m_state, *object) == table.scriptName) {
                return object;
            }
        }
        return nullptr;
    }

    // The class of each table: the one pushed under its name, else the
    // first that every method of the table accepts.
    void FindClasses() {
        const auto& entries = Core::ClassRegistry::GetInstance().GetEntries();
        for (const auto& [name, registration] : entries) {
            if (const Core::RefPtr<Core::Object> object = registration.GetCreateFunction()()) {
                m_classOf.emplace(ScriptNameOf(m_state, *object), name);
            }
        }
        for (const Lua::MethodTable* table : Lua::RegisteredTables()) {
            for (auto entry = entries.begin(); !table->holdsValues && !m_classOf.count(table->scriptName) && entry != entries.end();
                 ++entry) {
                const Core::RefPtr<Core::Object> object = entry->second.GetCreateFunction()();
                if (object && std::all_of(table->methods.begin(), table->methods.end(),
                                          [&](const Lua::Method& method) { return method.accepts(*object); })) {
                    m_classOf.emplace(table->scriptName, entry->first);
                }
            }
        }
    }

    // Value tables pass the value their methods work on.
    void Sweep(const Lua::MethodTable& table, const Core::RefPtr<Core::Object>& receiver, std::string& swept,
               void* value = nullptr) {
        for (const Lua::Method& method : table.methods) {
            for (const Wrong kind : {Wrong::None, Wrong::Nil, Wrong::Number, Wrong::String, Wrong::Table,
                                     Wrong::DeadObject, Wrong::DeadControl}) {
                const Core::RefPtr<Core::Object> fresh =
                    value == nullptr && m_classOf.count(table.scriptName) ? ReceiverFor(table) : receiver;
                lua_pushlightuserdata(m_state, const_cast<Lua::Method*>(&method));
                lua_pushlightuserdata(m_state, value != nullptr ? value : fresh.Get());
                lua_pushcclosure(m_state, &CallBinding, 2);
                const int count = kind == Wrong::None ? 0 : 4;
                for (int i = 0; i < count; ++i) {
                    PushWrong(m_state, kind, m_deadObject, m_deadControl);
                }
                g_overclaimed = false;
                lua_pcall(m_state, count, LUA_MULTRET, 0);
                EXPECT_FALSE(g_overclaimed) << table.scriptName << ":" << method.name;
                lua_settop(m_state, 0);
                Lua::Host::ReleaseHeldObjects();
                if (m_game->GetCurrentLevel() == nullptr && !Lua::Host::IsOpen()) {
                    return;  // the game was shut down by the call
                }
            }
        }
        swept += std::string(table.scriptName) + " ";
    }

    lua_State* m_state = nullptr;
    int m_deadObject = LUA_NOREF;
    int m_deadControl = LUA_NOREF;
    std::map<std::string, std::string> m_classOf;
};

TEST_F(LuaSweepTest, EveryBindingTakesMissingAndWrongArgumentsWithoutHarm) {
    Start();
    m_state = Lua::Host::GetMainState();
    ASSERT_NE(m_state, nullptr);
    Core::testhooks::StartCapturingErrors();
    FindClasses();
    {
        const Core::RefPtr<Tundra::GameObject> dead = TUN_NEW(Tundra::GameObject);
        dead->PushToLua(m_state);
        m_deadObject = luaL_ref(m_state, LUA_REGISTRYINDEX);
        const Core::RefPtr<GUI::Button> deadControl = TUN_NEW(GUI::Button);
        deadControl->PushToLua(m_state);
        m_deadControl = luaL_ref(m_state, LUA_REGISTRYINDEX);
    }
    GUI::NRectangle rectangle(1.0f, 2.0f, 3.0f, 4.0f);
    Lua::HudHandle hud{GUI::HUD::GetInstance()};
    const std::map<std::string, void*> values = {{Lua::kRectangleName, &rectangle}, {Lua::kHudName, &hud}};
    std::string swept;
    std::string noReceiver;
    const Lua::MethodTable* gameTable = nullptr;
    for (const Lua::MethodTable* table : Lua::RegisteredTables()) {
        if (std::string(table->scriptName) == "Game") {
            gameTable = table;  // last: it may end the game
            continue;
        }
        const Core::RefPtr<Core::Object> receiver = table->holdsValues ? nullptr : ReceiverFor(*table);
        if (const auto value = values.find(table->scriptName); value != values.end()) {
            Sweep(*table, nullptr, swept, value->second);
        } else if (receiver) {
            Sweep(*table, receiver, swept);
        } else {
            noReceiver += std::string(table->scriptName) + " ";
        }
    }
    if (gameTable != nullptr) {
        Sweep(*gameTable, m_game, swept);
    }
    Core::testhooks::StopCapturingErrors();
    EXPECT_NE(swept.find("Probe"), std::string::npos);
    EXPECT_NE(swept.find("HUD "), std::string::npos);
    EXPECT_NE(swept.find("NRectangle "), std::string::npos);
    std::printf("swept: %s\nno receiver (value tables are swept by their own tests): %s\n", swept.c_str(),
                noReceiver.c_str());
}

// Through the dispatcher, no method runs on a receiver that is not of its
// class: nothing, a plain value, a value table or a destroyed object.
TEST_F(LuaSweepTest, EveryMethodRefusesWrongReceivers) {
    Start();
    lua_State* state = Lua::Host::GetMainState();
    {
        const Core::RefPtr<Tundra::GameObject> dead = TUN_NEW(Tundra::GameObject);
        Lua::PushObject(state, dead.Get());
        lua_setglobal(state, "dead");
    }
    for (const Lua::MethodTable* table : Lua::RegisteredTables()) {
        luaL_getmetatable(state, table->scriptName);
        lua_getfield(state, -1, "__index");
        for (const Lua::Method& method : table->methods) {
            for (const char* receiver : {"", "nil", "1", "'x'", "{}", "CreateVector()", "dead"}) {
                const std::string chunk = std::string("local m = ...\nm(") + receiver + ")";
                ASSERT_EQ(luaL_loadstring(state, chunk.c_str()), 0);
                lua_getfield(state, -2, method.name);
                EXPECT_NE(lua_pcall(state, 1, 0, 0), 0) << table->scriptName << ":" << method.name << " on " << receiver;
                lua_pop(state, 1);
            }
        }
        lua_pop(state, 2);
    }
}

}  // namespace
