#pragma once

#include "TempDirectory.h"

#include <string>
#include <string_view>

struct lua_State;

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

}  // namespace testsupport
