#include "tundra/Lua_Host.h"

#include "core/Core_ErrorLog.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "gui/GUI_HUD.h"
#include "tundra/Lua_CallLimits.h"
#include "tundra/Lua_Dispatch.h"
#include "tundra/Lua_ErrorPosition.h"
#include "tundra/Lua_GuiValues.h"
#include "tundra/Lua_ObjectLinks.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Lua_Values.h"

#include <lua.hpp>
#include <string>
#include <vector>

namespace Lua {
namespace {

// A colour made empty is opaque black, as a colour read from nothing is.
constexpr const char* kConstructors = R"(
function CreateVector() return { className = "Vector2D", X = 0, Y = 0 } end
function CreatePoint() return { className = "Point2D", X = 0, Y = 0 } end
function CreateColor() return { className = "Color", R = 0, G = 0, B = 0, A = 1 } end
function CreateSize() return { className = "Size", Width = 0, Height = 0 } end
)";

// Script calls inside one another (hooks, "ObjectFunction" between scripts):
// deeper nesting is refused before it can exhaust the C stack.
constexpr int kMaxNestedCalls = 64;

lua_State* g_mainState = nullptr;
int g_callDepth = 0;
bool g_closeRequested = false;
std::vector<Core::RefPtr<Core::Object>> g_heldObjects;

// "loadstring" for text only: compiled chunks are never trusted.
int LoadText(lua_State* state) {
    size_t length = 0;
    const char* text = luaL_checklstring(state, 1, &length);
    const char* name = luaL_optstring(state, 2, text);
    if (length > 0 && text[0] == LUA_SIGNATURE[0]) {
        lua_pushnil(state);
        lua_pushliteral(state, "compiled chunks are refused");
        return 2;
    }
    if (luaL_loadbuffer(state, text, length, name) != 0) {
        lua_pushnil(state);
        lua_insert(state, -2);
        return 2;
    }
    return 1;
}

// The libraries a game script needs, without files, modules or the debug
// library (which could give an engine metatable to any userdata), and
// without newproxy: a finalizer it could give a userdata runs with the
// instruction count off, so one that loops would hang the game.
void OpenLibraries(lua_State* state) {
    const luaL_Reg libraries[] = {
        {"", luaopen_base}, {LUA_TABLIBNAME, luaopen_table}, {LUA_STRLIBNAME, luaopen_string},
        {LUA_MATHLIBNAME, luaopen_math}};
    for (const luaL_Reg& library : libraries) {
        lua_pushcfunction(state, library.func);
        lua_pushstring(state, library.name);
        lua_call(state, 1, 0);
    }
    for (const char* name : {"dofile", "loadfile", "load", "newproxy"}) {
        lua_pushnil(state);
        lua_setglobal(state, name);
    }
    lua_pushcfunction(state, &LoadText);
    lua_setglobal(state, "loadstring");
}

int Populate(lua_State* state) {
    OpenLibraries(state);
    InstallMethodTables(state);
    luaL_loadbuffer(state, kConstructors, std::char_traits<char>::length(kConstructors), "=host");
    lua_call(state, 0, 0);
    LinkObjects(state);
    PushObject(state, static_cast<const Core::Object*>(lua_touserdata(state, 1)));
    lua_setglobal(state, "Game");
    if (const GUI::HUD* hud = GUI::HUD::GetInstance()) {
        PushHud(state, *hud);
        lua_setglobal(state, "HUD");
    }
    return 0;
}

void LogFailure(lua_State* thread) {
    const char* message = lua_type(thread, -1) == LUA_TSTRING ? lua_tostring(thread, -1) : nullptr;
    Core::LogError(message != nullptr ? message : "script error (the error value is not a text)");
    lua_pop(thread, 1);
}

// A failed allocation skips the message handler: the position comes from
// where the allocation was refused. What the failed call left is mostly
// garbage, which would otherwise refuse the calls after it.
void LogCallFailure(lua_State* thread, int status) {
    if (status == LUA_ERRMEM) {
        Core::LogError(CallLimits::TakeRefusalPosition() + "not enough memory");
        lua_pop(thread, 1);
        CallLimits::CollectGarbage(thread);
        return;
    }
    LogFailure(thread);
}

void CloseNow() {
    g_closeRequested = false;
    LuaScript::DetachAll();
    UnlinkObjects();
    lua_State* state = g_mainState;
    g_mainState = nullptr;
    lua_close(state);
    Host::ReleaseHeldObjects();
}

}  // namespace

void Host::Open(const Core::Object* game) {
    if (g_mainState != nullptr) {
        return;
    }
    lua_State* state = CallLimits::NewState();
    if (state == nullptr) {
        Core::LogError("the script host could not open its interpreter");
        return;
    }
    g_mainState = state;
    if (lua_cpcall(state, &Populate, const_cast<Core::Object*>(game)) != 0) {
        LogFailure(state);
        CloseNow();
    }
}

void Host::Close() {
    if (g_mainState == nullptr) {
        return;
    }
    if (g_callDepth > 0) {
        g_closeRequested = true;
        return;
    }
    CloseNow();
}

bool Host::IsOpen() { return g_mainState != nullptr && !g_closeRequested; }

lua_State* Host::GetMainState() { return g_mainState; }

bool Host::Call(lua_State* thread, int argCount, int resultCount,
                const std::function<void(lua_State* thread, int first)>& onResults) {
    const char* refusal = g_callDepth >= kMaxNestedCalls ? "script calls nested too deeply" : nullptr;
    if (refusal == nullptr) {
        const CallLimits::EngineSection section;
        refusal = lua_checkstack(thread, 1) ? nullptr : "no room on the script's stack";
    }
    if (refusal != nullptr) {
        lua_pop(thread, argCount + 1);
        // Refused before it started: the position is the caller's.
        lua_State* caller = CallLimits::RunningThread();
        Core::LogError((caller != nullptr ? WhereRunning(caller) : std::string()) + refusal +
                       ": the call is refused");
        return false;
    }
    const int base = lua_gettop(thread) - argCount;
    // Reading the results may raise a script error in the calling script:
    // the results go and the depth comes back down on every way out.
    struct Frame {
        lua_State* thread;
        int base;
        Frame(lua_State* t, int b) : thread(t), base(b) {
            ++g_callDepth;
            CallLimits::Enter(thread);
        }
        ~Frame() {
            lua_settop(thread, base - 1);
            CallLimits::Leave();
            if (--g_callDepth == 0) {
                Host::ReleaseHeldObjects();
                if (g_closeRequested) {
                    CloseNow();
                }
            }
        }
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
    } frame(thread, base);
    {
        const CallLimits::EngineSection section;
        lua_pushcfunction(thread, &PositionErrorMessage);
        lua_insert(thread, base);
    }
    const int status = lua_pcall(thread, argCount, resultCount, base);
    if (status != 0) {
        LogCallFailure(thread, status);
        return false;
    }
    if (onResults) {
        onResults(thread, base + 1);
    }
    return true;
}

void Host::HoldForScript(Core::Object* object) {
    if (object != nullptr) {
        g_heldObjects.emplace_back(object);
    }
}

void Host::ReleaseHeldObjects() {
    // Releasing may run destructors that hold more: take the list first.
    while (!g_heldObjects.empty()) {
        std::vector<Core::RefPtr<Core::Object>> held;
        held.swap(g_heldObjects);
    }
}

}  // namespace Lua
