#pragma once

#include "core/Core_String.h"

namespace Core {
class Object;
}

// One script instance of an object or level. No interpreter state exists
// until the script host is built, so Create gives null and every caller
// keeps working without an instance.
class LuaScript {
public:
    LuaScript(const LuaScript&) = delete;
    LuaScript& operator=(const LuaScript&) = delete;

    // A new instance; null while no interpreter state exists.
    static LuaScript* Create();
    // Takes the instance out of the host's list and frees it; null is ignored.
    static void Destroy(LuaScript* script);
    // The compiled script loaded for the path, or null.
    static LuaScript* Find(const Core::String& path);
    // Starts the script file of that name under "\Resources\Scripts\" for
    // self in instance (made when missing): the compiled source when loaded,
    // else the file. Returns the compiled source, or null.
    static LuaScript* Start(LuaScript*& instance, const Core::Object* self, const Core::String& scriptName);

    // Runs the compiled source in this instance.
    void Run(LuaScript* source);
    // Compiles and runs the file.
    void SetScriptPath(const Core::String& path);
    bool IsInactive() const { return true; }
    // The global "self".
    void SetSelf(const Core::Object* object);
    // Calls the global function of that name, without and with one number.
    void Call(const char* function);
    void Call(const char* function, float argument);

private:
    LuaScript() = default;
    ~LuaScript() = default;
};
