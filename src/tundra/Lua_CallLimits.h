#pragma once

#include <string>

struct lua_State;

// What a script call may spend: a budget of interpreter instructions and a
// cap on the interpreter's memory. Both hold from the start of an outermost
// script call to its end, the calls nested in it sharing them. A call past
// its budget is stopped with a script error naming the script and line; an
// allocation past the cap fails with the interpreter's "not enough memory".
// Between calls, and in the engine's own sections, nothing is refused.
namespace Lua::CallLimits {

// A new interpreter state whose memory is counted and whose instructions
// are counted on every thread made from it; null when none can be made.
lua_State* NewState();

// A script call starts on the thread; calls end in the reverse order. An
// outermost call starts with the interpreter's garbage collected in full
// when it may crowd the cap (see CollectGarbage).
void Enter(lua_State* thread);
void Leave();
// The thread of the innermost call running, or null.
lua_State* RunningThread();

// "name.lua:LINE: " where the last refused allocation was asked for, empty
// when none was; taking it clears it.
std::string TakeRefusalPosition();

// Lua 5.1 collects garbage in steps paced by what it held after its last
// cycle, and never when an allocation fails: with live data above half the
// cap its next cycle starts past the cap, and garbage alone would refuse
// calls. Collects in full, protected (a script's finalizer may raise; its
// error is logged) and never refused. The host calls it after a call failed
// for memory; the limits call it themselves before an outermost call and
// between instructions whenever the counted memory has passed halfway from
// the live data of the last full collection to the cap.
void CollectGarbage(lua_State* thread);

// The engine's own work on a thread that runs no protected call (pushing a
// callee's function and arguments, making or freeing a script's thread):
// its allocations are small and never refused, since a refusal there would
// find no protected call to end.
class EngineSection {
public:
    EngineSection();
    ~EngineSection();
    EngineSection(const EngineSection&) = delete;
    EngineSection& operator=(const EngineSection&) = delete;
};

}  // namespace Lua::CallLimits
