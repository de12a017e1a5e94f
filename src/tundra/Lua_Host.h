#pragma once

#include <functional>

struct lua_State;
namespace Core {
class Object;
}

// The one interpreter of the running game. Opening it installs every
// registered method table as a metatable under its script name, the value
// constructors "CreateVector", "CreatePoint", "CreateColor" and "CreateSize",
// the game as the global "Game" and the GUI manager, when there is one, as
// the global "HUD". While it is closed nothing scripted runs: scripts
// cannot be created and every hook does nothing.
namespace Lua {

class Host {
public:
    // Does nothing when already open.
    static void Open(const Core::Object* game);
    // Detaches every script instance (they stay inactive until deleted) and
    // frees the interpreter. Asked for during a script call, it happens when
    // the outermost call returns.
    static void Close();
    static bool IsOpen();
    // Null while closed.
    static lua_State* GetMainState();

    // Calls the function lying under its argCount arguments on the thread in
    // protected mode, within the limits of a script call (Lua_CallLimits.h).
    // On success onResults sees the resultCount results (from stack index
    // first on) before they are popped; a failure is logged on the engine's
    // error log as "name.lua:LINE: message", naming where it was raised. The
    // thread must not be used after the call: the host may have closed.
    static bool Call(lua_State* thread, int argCount, int resultCount,
                     const std::function<void(lua_State* thread, int first)>& onResults = {});

    // Keeps an object made for a script (a clone) alive until the outermost
    // script call returns: whoever wants it takes a reference by then, else
    // it goes.
    static void HoldForScript(Core::Object* object);
    static void ReleaseHeldObjects();
};

}  // namespace Lua
