#include "core/Core_Startup.h"
#include "os/OS_Path.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Lua_Values.h"

#include <benchmark/benchmark.h>
#include <lua.hpp>

#include <filesystem>
#include <fstream>
#include <string>

// Method calls from a script into the engine through the host's dispatcher:
// a getter, a setter taking a vector table, and "ObjectFunction" into the
// receiver's own script (another thread: values copied both ways). Each
// benchmark runs a Lua loop of 10,000 calls; the rate is calls per second.
namespace {

std::uint8_t g_coreGuard = 0;
[[maybe_unused]] const bool g_started = (CoreStartup(g_coreGuard), true);

constexpr int kCallsPerRun = 10000;

// An object with a position and a script of its own, as a game object has.
struct Mover : Core::Object {
    TUN_DECLARE_CLASS(Mover);
    Mover() = default;
    Mover(const Mover& other) : Core::Object(other), position(other.position) {}
    ~Mover() override { LuaScript::Destroy(script); }
    LuaScript* GetScript() const override { return script; }
    void PushToLua(lua_State* state) const override { PushToLuaAs(state, "BenchMover"); }
    Vector2D position;
    LuaScript* script = nullptr;
};

int GetPositionX(Mover& self, lua_State* state) {
    Lua::PushFloat(state, self.position.x);
    return 1;
}

int SetPosition(Mover& self, lua_State* state) {
    if (Lua::ArgumentCount(state) < 1) {
        return 0;
    }
    self.position = Lua::GetVector2D(state, 1);
    return 0;
}

const Lua::MethodTable& MoverMethods() {
    static const Lua::MethodTable table{
        "BenchMover",
        {Lua::Bind<Core::Object, &Lua::ObjectFunction>("ObjectFunction"), Lua::Bind<Mover, &GetPositionX>("GetPositionX"),
         Lua::Bind<Mover, &SetPosition>("SetPosition")}};
    return table;
}
const Lua::TableRegistration s_moverTable{&MoverMethods};

// The host, a mover running "bench.lua" and the mover as the global "mover".
class ScriptedMover {
public:
    ScriptedMover() {
        const std::filesystem::path directory = std::filesystem::temp_directory_path() / "tundra_bench_scripts";
        std::filesystem::create_directories(directory / "Resources" / "Scripts");
        std::ofstream(directory / "Resources" / "Scripts" / "bench.lua") << "function Add(a, b) return a + b end\n";
        os::SetExecutablePathForTesting((directory / "Emberline").string());
        Lua::Host::Open(nullptr);
        m_mover = TUN_NEW(Mover);
        LuaScript* source = nullptr;
        LuaScript::Start(m_mover->script, source, m_mover.Get(), "bench.lua");
        m_state = Lua::Host::GetMainState();
        Lua::PushObject(m_state, m_mover.Get());
        lua_setglobal(m_state, "mover");
    }
    ~ScriptedMover() {
        m_mover = nullptr;
        Lua::Host::Close();
        os::SetExecutablePathForTesting("");
    }
    ScriptedMover(const ScriptedMover&) = delete;
    ScriptedMover& operator=(const ScriptedMover&) = delete;

    void Run(benchmark::State& state, const char* loopBody) {
        const std::string chunk = "local mover, v = mover, CreateVector() v.X = 3\nfor i = 1, " +
                                  std::to_string(kCallsPerRun) + " do " + loopBody + " end";
        if (luaL_loadstring(m_state, chunk.c_str()) != 0) {
            state.SkipWithError(lua_tostring(m_state, -1));
            return;
        }
        const int chunkReference = luaL_ref(m_state, LUA_REGISTRYINDEX);
        for (auto _ : state) {
            lua_rawgeti(m_state, LUA_REGISTRYINDEX, chunkReference);
            if (lua_pcall(m_state, 0, 0, 0) != 0) {
                state.SkipWithError(lua_tostring(m_state, -1));
                break;
            }
        }
        luaL_unref(m_state, LUA_REGISTRYINDEX, chunkReference);
        lua_settop(m_state, 0);
        state.SetItemsProcessed(state.iterations() * kCallsPerRun);
    }

private:
    Core::RefPtr<Mover> m_mover;
    lua_State* m_state = nullptr;
};

void BM_Getter(benchmark::State& state) { ScriptedMover().Run(state, "mover:GetPositionX()"); }
void BM_SetterWithVectorTable(benchmark::State& state) { ScriptedMover().Run(state, "mover:SetPosition(v)"); }
void BM_ObjectFunction(benchmark::State& state) {
    ScriptedMover().Run(state, "mover:ObjectFunction('Add', 1, i, 2)");
}
void BM_EmptyLoop(benchmark::State& state) { ScriptedMover().Run(state, "local x = i"); }

BENCHMARK(BM_Getter);
BENCHMARK(BM_SetterWithVectorTable);
BENCHMARK(BM_ObjectFunction);
BENCHMARK(BM_EmptyLoop);

}  // namespace

TUN_DEFINE_CLASS(Mover)
