#include "tundra/Lua_CallLimits.h"

#include "core/Core_ErrorLog.h"
#include "tundra/Lua_CallLimitsTestHooks.h"
#include "tundra/Lua_ErrorPosition.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <lua.hpp>
#include <utility>
#include <vector>

namespace Lua::CallLimits {
namespace {

// About a second of the interpreter's work (it runs some 100 million
// instructions a second); a game's hook takes a few thousand.
constexpr std::uint64_t kInstructionBudget = 100'000'000;
// Far above what the game's scripts hold (well under a megabyte).
constexpr std::size_t kMemoryCap = std::size_t{256} << 20;
// Instructions between two looks at the budget.
constexpr int kCountStep = 1000;

std::uint64_t g_budget = kInstructionBudget;
std::size_t g_cap = kMemoryCap;
std::uint64_t g_spent = 0;
std::size_t g_used = 0;
std::size_t g_liveAfterCollection = 0;
int g_engineSections = 0;
std::vector<lua_State*> g_running;
std::string g_refusedAt;

// Halfway from the live data to the cap: each full collection is paid for
// by at least half the room the live data leaves, and a script whose live
// data is small, whose garbage Lua's own steps keep near it, is not
// collected in full frame after frame. Live data right under the cap leaves
// no such room; a floor keeps it from buying a full collection every few
// instructions.
bool GarbageMayCrowdTheCap() {
    const std::size_t live = std::min(g_liveAfterCollection, g_cap);
    return g_used > live + std::max((g_cap - live) / 2, g_cap / 64);
}

void CollectGarbageWhenCrowded(lua_State* thread) {
    if (GarbageMayCrowdTheCap()) {
        CollectGarbage(thread);
    }
}

void CountInstructions(lua_State* thread, lua_Debug*) {
    const bool spentBefore = !g_running.empty() && g_spent >= g_budget;
    if (!spentBefore) {
        if (lua_gethookcount(thread) != kCountStep) {
            // The thread ran out in an earlier call.
            lua_sethook(thread, &CountInstructions, LUA_MASKCOUNT, kCountStep);
            return;
        }
        if (g_running.empty()) {
            return;
        }
        g_spent += kCountStep;
        if (g_spent < g_budget) {
            CollectGarbageWhenCrowded(thread);
            return;
        }
    }
    // From now on every instruction raises again, so that no pcall in the
    // script can catch the stop for long, and the calls waiting on this one
    // stop as soon as they go on.
    lua_sethook(thread, &CountInstructions, LUA_MASKCOUNT, 1);
    for (lua_State* running : g_running) {
        lua_sethook(running, &CountInstructions, LUA_MASKCOUNT, 1);
    }
    luaL_where(thread, 0);
    lua_pushliteral(thread, "script ran too long: the call is stopped");
    lua_concat(thread, 2);
    lua_error(thread);
}

void* Refuse() {
    g_refusedAt = g_running.empty() ? std::string() : WhereRunning(g_running.back());
    return nullptr;
}

// Freeing and shrinking always succeed: the interpreter relies on both.
void* Allocate(void*, void* block, size_t oldSize, size_t newSize) {
    if (newSize == 0) {
        std::free(block);
        g_used -= oldSize;
        return nullptr;
    }
    const bool capped = !g_running.empty() && g_engineSections == 0;
    if (capped && newSize > oldSize && newSize - oldSize > g_cap - std::min(g_used, g_cap)) {
        return Refuse();
    }
    void* resized = std::realloc(block, newSize);
    if (resized == nullptr) {
        if (newSize > oldSize) {
            return Refuse();
        }
        resized = block;
    }
    g_used = g_used - oldSize + newSize;
    return resized;
}

int CollectAll(lua_State* state) {
    lua_gc(state, LUA_GCCOLLECT, 0);
    return 0;
}

int Panic(lua_State* state) {
    const char* message = lua_tostring(state, -1);
    Core::LogError(std::string("script error outside any protected call: ") + (message != nullptr ? message : "?"));
    return 0;
}

}  // namespace

lua_State* NewState() {
    lua_State* state = lua_newstate(&Allocate, nullptr);
    if (state != nullptr) {
        lua_atpanic(state, &Panic);
        // Threads made from the state inherit its hook.
        lua_sethook(state, &CountInstructions, LUA_MASKCOUNT, kCountStep);
        g_liveAfterCollection = g_used;
    }
    return state;
}

void Enter(lua_State* thread) {
    if (g_running.empty()) {
        g_spent = 0;
        g_refusedAt.clear();
        CollectGarbageWhenCrowded(thread);
    }
    g_running.push_back(thread);
}

void Leave() { g_running.pop_back(); }

lua_State* RunningThread() { return g_running.empty() ? nullptr : g_running.back(); }

std::string TakeRefusalPosition() { return std::exchange(g_refusedAt, {}); }

void CollectGarbage(lua_State* thread) {
    const EngineSection section;
    if (!lua_checkstack(thread, 2)) {
        return;
    }
    if (lua_cpcall(thread, &CollectAll, nullptr) != 0) {
        const char* message = lua_tostring(thread, -1);
        Core::LogError(std::string("script error while collecting garbage: ") + (message != nullptr ? message : "?"));
        lua_pop(thread, 1);
    }
    g_liveAfterCollection = g_used;
}

EngineSection::EngineSection() { ++g_engineSections; }

EngineSection::~EngineSection() { --g_engineSections; }

}  // namespace Lua::CallLimits

namespace Lua::testhooks {

void SetCallLimits(std::uint64_t instructions, std::size_t bytes) {
    CallLimits::g_budget = instructions;
    CallLimits::g_cap = bytes;
}

void RestoreCallLimits() { SetCallLimits(CallLimits::kInstructionBudget, CallLimits::kMemoryCap); }

}  // namespace Lua::testhooks
