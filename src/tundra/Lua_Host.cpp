#include "tundra/Lua_Host.h"

#include "core/Core_ErrorLog.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "gui/GUI_HUD.h"
#include "tundra/Lua_Dispatch.h"
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
// library (which could give an engine metatable to any userdata).
void OpenLibraries(lua_State* state) {
    const luaL_Reg libraries[] = {
        {"", luaopen_base}, {LUA_TABLIBNAME, luaopen_table}, {LUA_STRLIBNAME, luaopen_string},
        {LUA_MATHLIBNAME, luaopen_math}};
    for (const luaL_Reg& library : libraries) {
        lua_pushcfunction(state, library.func);
        lua_pushstring(state, library.name);
        lua_call(state, 1, 0);
    }
    for (const char* name : {"dofile", "loadfile", "load"}) {
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
    const char* message = lua_tostring(thread, -1);
    Core::LogError(message != nullptr ? message : "script error (the error value is not a text)");
    lua_pop(thread, 1);
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
    lua_State* state = luaL_newstate();
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
    if (g_callDepth >= kMaxNestedCalls) {
        lua_pop(thread, argCount + 1);
        Core::LogError("script calls nested too deeply: the call is refused");
        return false;
    }
    const int base = lua_gettop(thread) - argCount;
    // Reading the results may raise a script error in the calling script:
    // the results go and the depth comes back down on every way out.
    struct Frame {
        lua_State* thread;
        int base;
        Frame(lua_State* t, int b) : thread(t), base(b) { ++g_callDepth; }
        ~Frame() {
            lua_settop(thread, base - 1);
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
    if (lua_pcall(thread, argCount, resultCount, 0) != 0) {
        LogFailure(thread);
        return false;
    }
    if (onResults) {
        onResults(thread, base);
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
