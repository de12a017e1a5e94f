#pragma once

#include "TempDirectory.h"


#include <string>
#include <string_view>

#include <lua.hpp>

namespace Core {
class Object;
}

// Script tests: a game directory of their own whose "\Resources\Scripts\"
// holds the scripts they write, and chunks run straight on a state.
namespace testsupport {

class ScriptDirectory {
public:
    // The executable seems to live in a fresh temporary directory.
    ScriptDirectory();
    ~ScriptDirectory();
    ScriptDirectory(const ScriptDirectory&) = delete;
    ScriptDirectory& operator=(const ScriptDirectory&) = delete;

    // Writes "\Resources\Scripts\" + name.
    void Write(const std::string& name, const std::string& text) const;

private:
    TempDirectory m_directory;
};

// Runs the text as a chunk named "test" (errors read "test:LINE: ...") in
// protected mode; the error message, or empty on success. Results are dropped.
std::string RunChunk(lua_State* state, std::string_view text);

// The text a global holds (empty when it holds none); the global is cleared.
std::string TakeGlobalText(lua_State* state, const char* name);

// The object pushed as scripts see it (nil for null) under the global name.
void SetGlobalObject(lua_State* state, const char* name, const Core::Object* object);

// Sets a global of the state or thread (its own globals, raw) to a function
// calling the binding on the object, as a method table entry would.
void SetGlobalFunction(lua_State* state, const char* name, lua_CFunction function, void* object);

template <class T, int (*F)(T&, lua_State*)>
int CallOnBoundObject(lua_State* state) {
    return F(*static_cast<T*>(lua_touserdata(state, lua_upvalueindex(1))), state);
}

template <class T, int (*F)(T&, lua_State*)>
void SetBoundGlobal(lua_State* state, const char* name, T* object) {
    SetGlobalFunction(state, name, &CallOnBoundObject<T, F>, object);
}

}  // namespace testsupport
