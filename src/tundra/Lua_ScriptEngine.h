#pragma once

#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "tundra/Lua_ScriptOrigin.h"

#include <functional>
#include <string_view>
#include <vector>

struct lua_State;
namespace Core {
class Object;
}

// One script instance of an object, level or emitter: an interpreter thread
// with globals of its own (reads fall through to the shared globals) into
// which a script file's chunk is loaded and run. A file is compiled once;
// every later instance of the same path runs a copy of its bytecode. While
// the script host is closed, Create gives null and every caller keeps
// working without an instance.
class LuaScript {
public:
    LuaScript(const LuaScript&) = delete;
    LuaScript& operator=(const LuaScript&) = delete;

    // A new inactive instance; null while the host is closed.
    static LuaScript* Create();
    // Takes the instance out of the list and frees it (once its running
    // calls return); null is ignored.
    static void Destroy(LuaScript* script);
    // The first instance that compiled the path, or null.
    static LuaScript* Find(const Core::String& path);
    // Starts the script file of that name under "\Resources\Scripts\" for
    // self in instance (made when missing): a copy of an already compiled
    // source when there is one, else the file. A name that is not a plain
    // file name is refused and reported, and nothing is attached. So is a
    // foreign name whose file is missing or does not compile: it is logged
    // and instance goes. False when nothing was attached; source is the
    // compiled source used, or null.
    static bool Start(LuaScript*& instance, LuaScript*& source, const Core::Object* self,
                      const Core::String& scriptName, ScriptOrigin origin = ScriptOrigin::Game);
    // A file name alone: not empty, at most 255 bytes, no separator, "..",
    // NUL or control character.
    static bool IsPlainScriptName(std::string_view name);
    // Every instance loses its thread: the host is closing.
    static void DetachAll();

    // Runs a copy of the source's bytecode in this instance.
    void Run(const LuaScript* source);
    // Compiles the file and runs it; false when it does not compile. A game's
    // own file that does not compile shows the "Script Error" box (its text
    // names the script and line) and asks the program to quit; a foreign one
    // is logged.
    bool SetScriptPath(const Core::String& path, ScriptOrigin origin);
    bool IsInactive() const { return !m_active || m_thread == nullptr || m_destroyed; }
    const Core::String& GetPath() const { return m_path; }
    // The instance's thread; null once detached.
    lua_State* GetThread() const { return m_thread; }

    // Sets a global of the instance to the object (nil for null): "self",
    // the managed objects' names.
    void SetGlobal(const char* name, const Core::Object* object);
    void SetSelf(const Core::Object* object) { SetGlobal("self", object); }
    // Calls the global function of that name when the instance is active and
    // defines it: with no argument, a number or an object. A failure is
    // logged with the script's name and line; the caller goes on.
    void Call(const char* function);
    void Call(const char* function, float argument);
    void Call(const char* function, const Core::Object* argument);
    // Calls the function pushed on the thread under its arguments in
    // protected mode (onResults sees the results from index first on); the
    // instance outlives a Destroy meanwhile, but may be gone afterwards.
    bool CallPushed(int argCount, int resultCount, const std::function<void(lua_State*, int first)>& onResults = {});
    // function(argument) with two results, read as a point and a vector;
    // false (both left as they were) when the call fails or there is none.
    bool CallForPointAndVector(const char* function, float argument, Vector2D& point, Vector2D& vector);

private:
    LuaScript() = default;
    ~LuaScript();

    bool Compile(const Core::String& path, ScriptOrigin origin);
    void LoadAndRun();
    // Pushes the global function; false (nothing pushed) when inactive or undefined.
    bool PushFunction(const char* function);

    lua_State* m_thread = nullptr;
    int m_threadReference = 0;
    bool m_active = false;
    bool m_destroyed = false;
    int m_runningCalls = 0;
    std::vector<char> m_bytecode;
    Core::String m_path;
};
