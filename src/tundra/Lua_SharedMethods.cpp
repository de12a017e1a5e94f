#include "tundra/Lua_SharedMethods.h"

#include "core/Core_Object.h"
#include "tundra/Lua_CallLimits.h"
#include "tundra/Lua_CopyValues.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Lua_TaggedValues.h"
#include "tundra/Lua_Values.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>
#include <lua.hpp>

namespace Lua {
namespace {

struct ForeignCall {
    lua_State* caller;
    const char* function;
    int resultCount;
};

// Runs inside the other script's protected call, so that what its
// constructors or its function raise stays its own error.
int CallForeign(lua_State* target) {
    const auto& call = *static_cast<const ForeignCall*>(lua_touserdata(target, 1));
    lua_settop(target, 0);
    lua_pushstring(target, call.function);
    lua_rawget(target, LUA_GLOBALSINDEX);
    if (!lua_isfunction(target, -1)) {
        return 0;
    }
    const int argCount = CopyValues(call.caller, target, 1, 0);
    lua_call(target, argCount, call.resultCount);
    return call.resultCount;
}

}  // namespace

int ObjectFunction(Core::Object& self, lua_State* state) {
    const char* name = GetString(state, 1);
    LuaScript* script = self.GetScript();
    if (ArgumentCount(state) < 2 || name == nullptr || script == nullptr || script->IsInactive()) {
        return 0;
    }
    // A count no stack can take is refused like any other the stack cannot hold.
    const int resultCount = std::max(GetInt(state, 2), 0);
    lua_State* target = script->GetThread();
    bool room = lua_checkstack(state, resultCount + 4) != 0;
    if (room) {
        const CallLimits::EngineSection section;
        room = lua_checkstack(target, resultCount + 4) != 0;
    }
    if (!room) {
        RaiseError(state, "ObjectFunction: too many results");
    }
    if (target == state) {
        // The caller's own script: a plain call, its errors are the caller's.
        lua_pushstring(state, name);
        lua_rawget(state, LUA_GLOBALSINDEX);
        if (!lua_isfunction(state, -1)) {
            lua_pop(state, 1);
            return 0;
        }
        const int argCount = CopyValues(state, state, 1, 0);
        lua_call(state, argCount, resultCount);
        return resultCount;
    }
    ForeignCall call{state, name, resultCount};
    {
        const CallLimits::EngineSection section;
        lua_pushcfunction(target, &CallForeign);
        lua_pushlightuserdata(target, &call);
    }
    int pushed = 0;
    script->CallPushed(1, resultCount, [&](lua_State* thread, int) {
        pushed = CopyValues(thread, state, 0, resultCount);
    });
    return pushed;
}

int SaveNetworkData(Tundra::GameObject& self, lua_State* state) {
    if (Core::File* stream = self.GetNetworkStream()) {
        WriteTaggedValues(state, 1, ArgumentCount(state), *stream);
    }
    return 0;
}

int LoadNetworkData(Tundra::GameObject& self, lua_State* state) {
    Core::File* stream = self.GetNetworkStream();
    return stream != nullptr ? ReadTaggedValues(state, *stream) : 0;
}

int CloneObject(Core::Object& self, lua_State* state) {
    Core::Object* copy = self.Clone();
    // Kept until the script's call returns: the script hands it on (a layer
    // takes it) or it goes.
    Host::HoldForScript(copy);
    if (copy != nullptr) {
        if (LuaScript* script = copy->GetScript()) {
            script->SetSelf(copy);
            script->Run(self.GetScript());
        }
    }
    PushObject(state, copy);
    return 1;
}

}  // namespace Lua
