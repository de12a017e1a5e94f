#pragma once

#include <functional>
#include <string>

struct lua_State;

// Runs script text on the running game's interpreter, as a script would.
namespace tundratest {

// Runs the chunk; check sees its resultCount results from stack index
// first. False (and the error on the engine's log) when it fails.
bool RunChunk(const std::string& code, int resultCount = 0,
              const std::function<void(lua_State* state, int first)>& check = {});
// The number at index, 1 or 0 for a boolean, 0 for anything else.
double NumberAt(lua_State* state, int index);
// The string at index, empty for anything else.
std::string TextAt(lua_State* state, int index);

}  // namespace tundratest
