#include "Fuzz_RunningGame.h"

#include "os/OS_Path.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Lua_TaggedValues.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <utility>

// Network messages reach a scripted object in a running game: any bytes
// must read into values a script can use, or fail the stream, and what was
// read, written again, must read back and write the same bytes. The first
// byte chooses the message (its value modulo 3): tagged script values, the
// announced state, or a tick's state.
namespace {

// Keeps what it reads and sends it back; "use" touches every value read.
constexpr const char* kScript = R"(
local function pack(...) return { n = select('#', ...), ... } end
function Receive()
  received = pack(LoadData())
  for i = 1, received.n do
    local v = received[i]
    if type(v) == 'table' then local x = (v.X or 0) + (v.R or 0) end
  end
end
function Send() SaveData(unpack(received, 1, received.n)) end
)";

void WriteScript() {
    static const bool written = [] {
        const std::filesystem::path directory = fuzz::RunFolder("tundra-fuzz-scripts");
        std::filesystem::create_directories(directory / "Resources" / "Scripts");
        std::ofstream(directory / "Resources" / "Scripts" / "network.lua") << kScript;
        os::SetExecutablePathForTesting((directory / "Emberline").string());
        return true;
    }();
    (void)written;
}

Tundra::GameObject* g_object = nullptr;

int LoadData(lua_State* state) { return Lua::LoadNetworkData(*g_object, state); }
int SaveData(lua_State* state) { return Lua::SaveNetworkData(*g_object, state); }

Tundra::Level* ScriptedLevel() {
    WriteScript();
    auto* level = TUN_NEW(Tundra::Level);
    auto* layer = TUN_NEW(Tundra::Layer, 0.0f);
    level->AddLayer(layer);
    g_object = TUN_NEW(Tundra::GameObject);
    layer->AddGameObject(g_object);
    lua_State* state = Lua::Host::GetMainState();
    lua_register(state, "LoadData", &LoadData);
    lua_register(state, "SaveData", &SaveData);
    g_object->SetScript("network.lua");
    g_object->RunScript(false);
    return level;
}

// The bytes the object's script writes after reading input; empty when the read failed.
fuzz::Bytes ReadAndWriteBack(const fuzz::Bytes& input) {
    Core::MemoryFile in(input.data(), static_cast<std::uint32_t>(input.size()));
    g_object->SetNetworkStream(&in);
    g_object->GetScript()->Call("Receive");
    Core::MemoryFile out;
    g_object->SetNetworkStream(&out);
    g_object->GetScript()->Call("Send");
    g_object->SetNetworkStream(nullptr);
    return in.HasFailed() ? fuzz::Bytes() : fuzz::BytesOf(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tundra::Game& game = fuzz::RestartedGame<ScriptedLevel>();
    fuzz::ChoiceAndStream input(data, size);
    switch (input.choice % 3) {
    case 0: {
        const fuzz::Bytes bytes = fuzz::BytesOf(input.file);
        const fuzz::Bytes first = ReadAndWriteBack(bytes);
        if (!first.empty() && ReadAndWriteBack(first) != first) {
            std::fprintf(stderr, "tagged values read back differently\n");
            std::abort();
        }
        break;
    }
    case 1:
        g_object->NetworkLoad(input.file);
        break;
    default:
        g_object->NetworkSyncReceive(input.file);
        break;
    }
    fuzz::Step(game, 2);
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    fuzz::RestartedGame<ScriptedLevel>();
    lua_State* state = Lua::Host::GetMainState();
    const std::pair<const char*, const char*> chunks[] = {
        {"number", "return 1.5"},
        {"values", "return nil, true, 'text', CreateVector(), CreateColor(), CreatePoint()"},
        {"others", "return { className = 'Other' }, {}, print, Game"}};
    for (const auto& [name, chunk] : chunks) {
        luaL_loadstring(state, chunk);
        lua_call(state, 0, LUA_MULTRET);
        Core::MemoryFile file;
        file.WriteU8(0);
        Lua::WriteTaggedValues(state, 1, lua_gettop(state), file);
        lua_settop(state, 0);
        seeds.Add(name, fuzz::BytesOf(file));
    }
    Core::MemoryFile announced;
    announced.WriteU8(1);
    g_object->NetworkSave(announced);
    seeds.Add("announced", fuzz::BytesOf(announced));
    Core::MemoryFile tick;
    tick.WriteU8(2);
    g_object->NetworkSyncSend(tick);
    seeds.Add("tick", fuzz::BytesOf(tick));
}
