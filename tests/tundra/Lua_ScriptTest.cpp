#include "support/Tundra_TestGame.h"
#include "support/Lua_TestScripts.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MemoryFile.h"
#include "os/OS_HeadlessMessageBoxHooks.h"
#include "pal/PAL_Window.h"
#include "tundra/Lua_CallLimitsTestHooks.h"
#include "tundra/Lua_Host.h"
#include "tundra/Lua_ScriptEngine.h"
#include "tundra/Lua_ScriptEngineTestHooks.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_ParticleEmitter.h"

#include <lua.hpp>

namespace {

using tundratest::GameTest;

// Every hook a script can have, each adding its name to the shared "trace".
constexpr const char* kTracingScript = R"(
local function trace(text) _G.trace = (_G.trace or "") .. text .. " " end
function Constructor() trace("Constructor") end
function OnStart() trace("OnStart") end
function Update(dt) trace(string.format("Update%.3f", dt)) end
function OnEnd() trace("OnEnd") end
function Destroy() trace("Destroy") end
function Save() trace("Save") end
function Load() trace("Load") end
)";

class LuaScriptTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        m_scripts.Write("trace.lua", kTracingScript);
    }

    // A plain object in layer 0 running the script file.
    Tundra::GameObject& Scripted(std::string_view scriptName) {
        auto* object = TUN_NEW(Tundra::GameObject);
        LayerAt(0).AddGameObject(object);
        object->SetScript(Core::String(scriptName));
        object->RunScript(false);
        return *object;
    }

    static std::string Trace() { return testsupport::TakeGlobalText(Lua::Host::GetMainState(), "trace"); }

    // Starts the game with the script and a tracing object beside it, and
    // returns the errors logged over their first two frames.
    std::vector<std::string> ErrorsOverTwoFrames(std::string_view scriptName) {
        Start();
        Scripted(scriptName);
        Scripted("trace.lua");
        Trace();
        Core::testhooks::StartCapturingErrors();
        Step(2);
        return Core::testhooks::StopCapturingErrors();
    }

    testsupport::ScriptDirectory m_scripts;
};

TEST_F(LuaScriptTest, HooksRunThroughTheObjectsLifeAndAFileCompilesOnce) {
    Start();
    const std::uint32_t compiled = Lua::testhooks::CompileCount();
    Tundra::GameObject& first = Scripted("trace.lua");
    Tundra::GameObject& second = Scripted("trace.lua");
    EXPECT_EQ(Lua::testhooks::CompileCount(), compiled + 1);
    EXPECT_EQ(Trace(), "Constructor Constructor ");
    Step();
    EXPECT_EQ(Trace(), "OnStart OnStart Update0.016 Update0.016 ");
    first.Destroy();
    second.Destroy();
    Step();
    EXPECT_EQ(Trace(), "Destroy Destroy OnEnd OnEnd ");
}

TEST_F(LuaScriptTest, ARuntimeErrorIsLoggedWithItsLineAndTheFrameGoesOn) {
    m_scripts.Write("bad.lua", "function Update(dt)\n  local x = nil\n  x.field = 1\nend\n");
    const std::vector<std::string> errors = ErrorsOverTwoFrames("bad.lua");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].rfind("bad.lua:3: attempt to index local 'x'", 0), 0u) << errors[0];
    EXPECT_EQ(Trace(), "OnStart Update0.016 Update0.016 ");
}

TEST_F(LuaScriptTest, AFileThatDoesNotCompileShowsTheScriptErrorBoxAndAsksToQuit) {
    m_scripts.Write("broken.lua", "function Update(dt)\n\n  if then\nend\n");
    Start();
    const int boxes = os::headless::MessageBoxCount();
    const Tundra::GameObject& object = Scripted("broken.lua");
    ASSERT_EQ(os::headless::MessageBoxCount(), boxes + 1);
    EXPECT_EQ(os::headless::LastMessageBox().caption, "Script Error");
    EXPECT_NE(os::headless::LastMessageBox().text.find("broken.lua:3:"), std::string::npos);
    EXPECT_FALSE(PAL::PumpMessages());
    EXPECT_TRUE(object.GetScript() == nullptr || object.GetScript()->IsInactive());
}

TEST_F(LuaScriptTest, NamesThatAreNoPlainFileNameAreRefused) {
    m_scripts.Write("x.lua", kTracingScript);
    Start();
    for (const std::string& name : {std::string("..\\x.lua"), std::string("a/b.lua"), std::string("x.lua\0.txt", 10),
                                    std::string(256, 'a'), std::string()}) {
        Core::testhooks::StartCapturingErrors();
        const Tundra::GameObject& object = Scripted(name);
        EXPECT_EQ(object.GetScript(), nullptr);
        EXPECT_EQ(Core::testhooks::StopCapturingErrors().size(), 1u) << name;
    }
    EXPECT_TRUE(LuaScript::IsPlainScriptName("enemy.lua"));
    EXPECT_EQ(Trace(), "");
}

// The bytes written, those at the given distances from the end set to 1.
std::vector<std::uint8_t> WithFlagsSet(const Core::MemoryFile& file, std::initializer_list<std::size_t> fromEnd) {
    std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    for (const std::size_t distance : fromEnd) {
        bytes[bytes.size() - distance] = 1;
    }
    return bytes;
}

template <class T>
Core::RefPtr<Core::Object> ReadInto(const std::vector<std::uint8_t>& bytes, void (T::*read)(Core::File&),
                                    int times = 1) {
    const Core::RefPtr<T> reader = TUN_NEW(T);
    for (int i = 0; i < times; ++i) {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        (reader.Get()->*read)(file);
    }
    return reader;
}

// Names from a peer or a saved file: one of no file, its first byte a
// terminal's escape, and one of a file that does not compile.
TEST_F(LuaScriptTest, AForeignNameOfNoScriptIsLoggedOnceAndItsReaderGoesOnWithoutAScript) {
    using Tundra::GameObject;
    m_scripts.Write("broken.lua", "if then");
    Start();
    // A quit an earlier test asked for is taken first.
    PAL::PumpMessages();
    const int boxes = os::headless::MessageBoxCount();
    const std::pair<Core::String, std::string> refusals[] = {
        {Core::String("\x9B") + "2Jgone.lua", "script refused (cannot open the file): \"?2Jgone.lua\""},
        {"broken.lua", "script refused (does not compile): \"broken.lua\""},
    };
    for (const auto& [name, logged] : refusals) {
        const Core::RefPtr<GameObject> sender = TUN_NEW(GameObject);
        const Core::RefPtr<Tundra::ParticleEmitter> emitter = TUN_NEW(Tundra::ParticleEmitter);
        sender->SetScript(name);
        emitter->SetScript(name);
        Core::MemoryFile saved, announced, tick, emitted, unnamedLevel;
        sender->Save(saved);
        sender->NetworkSave(announced);
        // A tick ends with active and started; the name follows them.
        sender->NetworkSyncSend(tick);
        tick << name;
        emitter->Save(emitted);
        // A level's script name comes last, empty without a script.
        Core::RefPtr<Tundra::Level>(TUN_NEW(Tundra::Level))->Save(unnamedLevel);
        Core::MemoryFile level(unnamedLevel.GetData(), unnamedLevel.GetSize() - 4);
        level << name;
        // An object's and an emitter's script part: active, the name, copied
        // (owned), started (restored on load).
        const std::size_t part = name.size() + 7;
        Core::testhooks::StartCapturingErrors();
        const Core::RefPtr<Core::Object> readers[] = {
            ReadInto(WithFlagsSet(saved, {part, 1}), &GameObject::Load),
            ReadInto(WithFlagsSet(announced, {part, 1}), &GameObject::NetworkLoad),
            // Twice: a refused name is not tried again every tick.
            ReadInto(WithFlagsSet(tick, {part - 1, part - 2}), &GameObject::NetworkSyncReceive, 2),
            ReadInto(WithFlagsSet(emitted, {part, 1}), &Tundra::ParticleEmitter::Load),
            ReadInto(WithFlagsSet(level, {}), &Tundra::Level::Load),
        };
        EXPECT_EQ(Core::testhooks::StopCapturingErrors(), std::vector<std::string>(std::size(readers), logged));
        for (const Core::RefPtr<Core::Object>& reader : readers) {
            EXPECT_EQ(reader->GetScript(), nullptr);
        }
    }
    EXPECT_EQ(os::headless::MessageBoxCount(), boxes);
    EXPECT_TRUE(PAL::PumpMessages());
}

TEST_F(LuaScriptTest, WithoutTheHostScriptsHooksAndStoredScriptsDoNothing) {
    Start();
    Core::MemoryFile stored;
    Scripted("trace.lua").Save(stored);
    Trace();
    Lua::Host::Close();
    Tundra::GameObject& object = Scripted("trace.lua");
    EXPECT_EQ(object.GetScript(), nullptr);
    const Core::RefPtr<Tundra::GameObject> loaded = TUN_NEW(Tundra::GameObject);
    loaded->Load(stored);
    EXPECT_FALSE(stored.HasFailed());
    EXPECT_EQ(loaded->GetScript(), nullptr);
    Step(2);
    object.Destroy();
    Step();
}

TEST_F(LuaScriptTest, ALoadedObjectRunsItsConstructorAndLoadHooksAndSavesTheSameBytes) {
    Start();
    Tundra::GameObject& object = Scripted("trace.lua");
    Core::MemoryFile first;
    object.Save(first);
    Core::MemoryFile read(first.GetData(), first.GetSize());
    const Core::RefPtr<Tundra::GameObject> loaded = TUN_NEW(Tundra::GameObject);
    Trace();
    loaded->Load(read);
    EXPECT_EQ(Trace(), "Constructor Load ");
    Core::MemoryFile second;
    loaded->Save(second);
    EXPECT_EQ(std::vector<std::uint8_t>(first.GetData(), first.GetData() + first.GetSize()),
              std::vector<std::uint8_t>(second.GetData(), second.GetData() + second.GetSize()));
}

// "ObjectFunction" as a global, on the object given.
void SetCallOther(lua_State* state, Core::Object* object) {
    testsupport::SetBoundGlobal<Core::Object, &Lua::ObjectFunction>(state, "CallOther", object);
}

TEST_F(LuaScriptTest, ObjectFunctionCallsIntoAnotherScriptAndReturnsItsResults) {
    m_scripts.Write("adder.lua", "function Add(a, b, v) return a + b, v.X, 'sum' end\nfunction Fail() error('no') end");
    m_scripts.Write("caller.lua", "function Constructor()\n"
                                  "  _G.a, _G.x, _G.s, _G.extra = CallOther('Add', 4, 2, 3, CreateVector())\n"
                                  "  _G.none = select('#', CallOther('Fail', 2))\n"
                                  "  _G.limit = pcall(CallOther, 'Add', 1e9)\n"
                                  "end");
    Start();
    Tundra::GameObject& adder = Scripted("adder.lua");
    lua_State* state = Lua::Host::GetMainState();
    SetCallOther(state, &adder);
    Core::testhooks::StartCapturingErrors();
    Scripted("caller.lua");
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("adder.lua:2: no", 0), 0u) << errors[0];
    EXPECT_EQ(testsupport::RunChunk(state, "assert(a == 5 and x == 0 and s == 'sum' and extra == nil)\n"
                                           "assert(none == 0 and limit == false)"),
              "");
}

TEST_F(LuaScriptTest, LevelScriptsRunTheirHooks) {
    Start();
    Tundra::Level& level = *m_game->GetCurrentLevel();
    level.SetScriptName("trace.lua");
    level.RunScript();
    Tundra::Level& base = level;
    base.Tundra::Level::OnStart();
    base.Tundra::Level::Update(0.5f);
    base.Tundra::Level::OnEnd();
    EXPECT_EQ(Trace(), "Constructor OnStart Update0.500 OnEnd ");
}

TEST_F(LuaScriptTest, AnEmitterAsksItsScriptAndItsCloneRunsOnClone) {
    m_scripts.Write("emit.lua", "function GetPositionAndDirection(t) return CreatePoint(), { X = t, Y = 2 } end\n"
                                "function OnClone(source) _G.cloned = (source ~= self) end");
    Start();
    Core::RefPtr<Tundra::ParticleEmitter> emitter = TUN_NEW(Tundra::ParticleEmitter);
    emitter->SetScript("emit.lua");
    emitter->RunScript();
    // Managed objects are held: one a layer holds too outlives the emitter.
    Tundra::GameObject& shared = Scripted("trace.lua");
    const std::uint32_t layerHeld = shared.GetReferenceCount();
    emitter->AddManagedObject(&shared, "shared");
    Vector2D position(9.0f, 9.0f);
    Vector2D direction;
    emitter->GetPositionAndDirection(1.5f, position, direction);
    EXPECT_EQ(position, Vector2D(0.0f, 0.0f));
    EXPECT_EQ(direction, Vector2D(1.5f, 2.0f));
    const Core::RefPtr<Core::Object> clone = emitter->Clone();
    EXPECT_EQ(testsupport::RunChunk(Lua::Host::GetMainState(), "assert(cloned == true)"), "");
    emitter = nullptr;
    EXPECT_EQ(shared.GetReferenceCount(), layerHeld);
    EXPECT_FALSE(shared.IsDestroyed());
}

}  // namespace

namespace {

TEST_F(LuaScriptTest, NetworkDataGoesThroughTheStreamTheNetworkLayerLends) {
    Start();
    Tundra::GameObject& object = Scripted("trace.lua");
    lua_State* state = Lua::Host::GetMainState();
    testsupport::SetBoundGlobal<Tundra::GameObject, &Lua::SaveNetworkData>(state, "SaveData", &object);
    testsupport::SetBoundGlobal<Tundra::GameObject, &Lua::LoadNetworkData>(state, "LoadData", &object);
    EXPECT_EQ(testsupport::RunChunk(state, "SaveData(1, 2) assert(select('#', LoadData()) == 0)"), "");
    Core::MemoryFile stream;
    object.SetNetworkStream(&stream);
    EXPECT_EQ(testsupport::RunChunk(state, "SaveData(1, 'two', CreateVector())"), "");
    EXPECT_EQ(stream.GetSize(), 4u + 8u + 8u + 10u + 7u + 10u + 12u + 16u);
    EXPECT_EQ(testsupport::RunChunk(state, "local a, b, v = LoadData() assert(a == 1 and b == 'two' and v.X == 0)"),
              "");
    object.SetNetworkStream(nullptr);
}

}  // namespace

namespace {

int ShutDownLevel(lua_State*) {
    Tundra::Game::GetInstance()->GetCurrentLevel()->Shutdown();
    return 0;
}

int CloseHost(lua_State*) {
    Lua::Host::Close();
    return 0;
}

TEST_F(LuaScriptTest, AScriptEndingItsOwnInstanceOrTheHostFinishesItsCall) {
    m_scripts.Write("ending.lua", "function Update(dt) ShutDownLevel() CloseHost() _G.after = CreateVector() end");
    Start();
    lua_register(Lua::Host::GetMainState(), "ShutDownLevel", &ShutDownLevel);
    lua_register(Lua::Host::GetMainState(), "CloseHost", &CloseHost);
    Tundra::Level& level = *m_game->GetCurrentLevel();
    level.SetScriptName("ending.lua");
    level.RunScript();
    level.Tundra::Level::Update(0.1f);
    EXPECT_FALSE(Lua::Host::IsOpen());
    EXPECT_EQ(level.GetScript(), nullptr);
}

// The level's script, called from another script, ends the level and so
// its own instance; the call still finishes.
TEST_F(LuaScriptTest, AScriptEndingItsInstanceInsideObjectFunctionFinishesTheCall) {
    m_scripts.Write("finish.lua", "function Finish() ShutDownLevel() return CreateVector(), CreateVector() end");
    // Copying the results collects garbage, the level's thread included once nothing holds it.
    m_scripts.Write("caller.lua", "function CreateVector() collectgarbage() return { className = 'Vector2D' } end\n"
                                  "function Constructor() _G.result = CallOther('Finish', 2) end");
    Start();
    lua_State* state = Lua::Host::GetMainState();
    lua_register(state, "ShutDownLevel", &ShutDownLevel);
    Tundra::Level& level = *m_game->GetCurrentLevel();
    level.SetScriptName("finish.lua");
    level.RunScript();
    SetCallOther(state, &level);
    Scripted("caller.lua");
    EXPECT_EQ(level.GetScript(), nullptr);
    EXPECT_EQ(testsupport::RunChunk(state, "assert(result.className == 'Vector2D')"), "");
}

// Each of two scripts calls the other's function, which calls back.
TEST_F(LuaScriptTest, ScriptsCallingEachOtherEndlesslyAreStoppedAndLogged) {
    m_scripts.Write("ping.lua", "function Ping(n) _G.depth = n return CallOther('Ping', 1, n + 1) end");
    Start();
    lua_State* state = Lua::Host::GetMainState();
    Tundra::GameObject& first = Scripted("ping.lua");
    Tundra::GameObject& second = Scripted("ping.lua");
    // Each script's CallOther names the other object.
    for (auto [object, other] : {std::pair{&first, &second}, std::pair{&second, &first}}) {
        SetCallOther(object->GetScript()->GetThread(), other);
    }
    Core::testhooks::StartCapturingErrors();
    first.GetScript()->Call("Ping", 1.0f);
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], "ping.lua:1: script calls nested too deeply: the call is refused");
    lua_getglobal(state, "depth");
    EXPECT_EQ(lua_tonumber(state, -1), 64.0);
    lua_pop(state, 1);
}

}  // namespace

namespace {

// A clone made for a script runs the script's chunk as itself, and goes
// when the outermost script call returns unless something took it.
TEST_F(LuaScriptTest, AScriptsCloneRunsItsChunkAndGoesUnlessTaken) {
    m_scripts.Write("clone.lua", "_G.selves = (_G.selves or '') .. tostring(self ~= nil) .. ' '\n"
                                 "function Make() _G.copy = CloneSelf() _G.alive = _G.copy ~= self end");
    Start();
    Tundra::GameObject& object = Scripted("clone.lua");
    testsupport::SetBoundGlobal<Core::Object, &Lua::CloneObject>(object.GetScript()->GetThread(), "CloneSelf",
                                                                 &object);
    object.GetScript()->Call("Make");
    lua_State* state = Lua::Host::GetMainState();
    EXPECT_EQ(testsupport::RunChunk(state, "assert(selves == 'true true ' and alive == true)"), "");
    lua_getglobal(state, "copy");
    ASSERT_EQ(lua_type(state, -1), LUA_TUSERDATA);
    EXPECT_EQ(*static_cast<Core::Object**>(lua_touserdata(state, -1)), nullptr);
    lua_pop(state, 1);
}

}  // namespace

namespace {

// Limits small enough for a test to reach at once; the game's come back.
struct TestCallLimits {
    TestCallLimits(std::uint64_t instructions, std::size_t bytes) {
        Lua::testhooks::SetCallLimits(instructions, bytes);
    }
    ~TestCallLimits() { Lua::testhooks::RestoreCallLimits(); }
    TestCallLimits(const TestCallLimits&) = delete;
    TestCallLimits& operator=(const TestCallLimits&) = delete;
};

// Loops for ever, plainly, catching the stop in a pcall or a coroutine, or
// calling another script that does.
TEST_F(LuaScriptTest, ARunawayCallIsStoppedAndLoggedWithItsLineAndTheFrameGoesOn) {
    const TestCallLimits limits(100'000, std::size_t{64} << 20);
    const struct {
        const char* script;
        bool callsTheSpinner;
    } cases[] = {
        {"function Update(dt)\n  while true do end\nend\n", false},
        {"function Update(dt)\n  while true do pcall(function() while true do end end) end\nend\n", false},
        {"function Update(dt)\n"
         "  while true do coroutine.resume(coroutine.create(function() while true do end end)) end\nend\n",
         false},
        {"function Update(dt)\n  while true do CallOther('Spin', 0) end\nend\n", true},
    };
    m_scripts.Write("spinner.lua", "function Spin()\n  while true do end\nend\n");
    Start();
    Scripted("trace.lua");
    SetCallOther(Lua::Host::GetMainState(), &Scripted("spinner.lua"));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "spin" + std::to_string(i) + ".lua";
        m_scripts.Write(name, cases[i].script);
        Tundra::GameObject& spinning = Scripted(name);
        Trace();
        Core::testhooks::StartCapturingErrors();
        Step();
        std::vector<std::string> expected{name + ":2: script ran too long: the call is stopped"};
        if (cases[i].callsTheSpinner) {
            expected.insert(expected.begin(), "spinner.lua:2: script ran too long: the call is stopped");
        }
        EXPECT_EQ(Core::testhooks::StopCapturingErrors(), expected);
        EXPECT_NE(Trace().find("Update0.016"), std::string::npos) << name;
        spinning.Destroy();
        Step();
    }
}

TEST_F(LuaScriptTest, AScriptPastTheMemoryCapGetsNotEnoughMemoryWithItsLineAndTheGameGoesOn) {
    const TestCallLimits limits(1'000'000'000, std::size_t{16} << 20);
    m_scripts.Write("hoard.lua", "function Update(dt)\n  local kept = {}\n  for i = 1, 64 do\n"
                                 "    kept[i] = string.rep('x', 2 ^ 20) .. i\n  end\nend\n");
    const std::vector<std::string> errors = ErrorsOverTwoFrames("hoard.lua");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "hoard.lua:4: not enough memory");
    EXPECT_EQ(errors[1], errors[0]);
    EXPECT_EQ(Trace(), "OnStart Update0.016 Update0.016 ");
}

// Under a 16 MiB cap: a spike refused, then small frames; 10 MiB kept live
// with 0.5 MiB of garbage a frame; the same live data with frames that each
// make 8 MiB of garbage.
struct GarbageCase {
    const char* name;
    std::string script;
    std::vector<std::string> errors;
};

void PrintTo(const GarbageCase& garbageCase, std::ostream* out) { *out << garbageCase.name; }

// A copy of "block" is a table of 4 KiB.
constexpr const char* kKeepTenMiB = "block = {}\nfor i = 1, 256 do block[i] = i end\nkept = {}\n"
                                    "for i = 1, 160 do kept[i] = string.rep('k', 2 ^ 16) .. i end\n";

class LuaGarbageTest : public LuaScriptTest, public testing::WithParamInterface<GarbageCase> {};

TEST_P(LuaGarbageTest, NeverRefusesACallOnlyLiveDataPastTheCapDoes) {
    const TestCallLimits limits(1'000'000'000, std::size_t{16} << 20);
    const std::string file = std::string(GetParam().name) + ".lua";
    m_scripts.Write(file, GetParam().script);
    Start();
    Scripted(file);
    Core::testhooks::StartCapturingErrors();
    Step(61);
    EXPECT_EQ(Core::testhooks::StopCapturingErrors(), GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, LuaGarbageTest,
    testing::Values(
        GarbageCase{"spike",
                    "function Update(dt)\n  if not spiked then\n    spiked = true\n    local hoard = {}\n"
                    "    for i = 1, 64 do hoard[i] = string.rep('x', 2 ^ 20) .. i end\n  end\n"
                    "  local small = {}\n  for i = 1, 1000 do small[i] = {} end\nend\n",
                    {"spike.lua:5: not enough memory"}},
        GarbageCase{"steady",
                    std::string(kKeepTenMiB) +
                        "function Update(dt)\n  for i = 1, 128 do local copy = {unpack(block)} end\nend\n",
                    {}},
        GarbageCase{"burst",
                    std::string(kKeepTenMiB) +
                        "function Update(dt)\n  for i = 1, 2000 do local copy = {unpack(block)} end\nend\n",
                    {}}),
    [](const testing::TestParamInfo<GarbageCase>& info) { return std::string(info.param.name); });

// At the cap, the engine's own work for the script (a clone's script
// instance, its "self", its chunk) is not refused: a refusal there would
// have no protected call to end.
TEST_F(LuaScriptTest, AtTheMemoryCapTheEngineStillServesTheScript) {
    const TestCallLimits limits(1'000'000'000, std::size_t{8} << 20);
    m_scripts.Write("full.lua", "function Fill()\n  kept = {}\n"
                                "  while pcall(function() kept[#kept + 1] = ('x'):rep(4096) .. #kept end) do end\n"
                                "  copy = CloneSelf()\nend\n"
                                "function Free() kept = nil collectgarbage() end\n");
    Start();
    Tundra::GameObject& object = Scripted("full.lua");
    testsupport::SetBoundGlobal<Core::Object, &Lua::CloneObject>(object.GetScript()->GetThread(), "CloneSelf",
                                                                 &object);
    Core::testhooks::StartCapturingErrors();
    object.GetScript()->Call("Fill");
    for (const std::string& error : Core::testhooks::StopCapturingErrors()) {
        EXPECT_NE(error.find("not enough memory"), std::string::npos) << error;
    }
    object.GetScript()->Call("Free");
    Scripted("trace.lua");
    EXPECT_EQ(Trace(), "Constructor ");
}

// Lua runs a finalizer with the instruction count off: a script that could
// give anything one could hang the game in it.
TEST_F(LuaScriptTest, NoScriptGivesAnythingAFinalizer) {
    m_scripts.Write("final.lua",
                    "local function final() _G.trace = 'finalized' end\n"
                    "local attempts = {\n"
                    "  function() getmetatable(newproxy(true)).__gc = final end,\n"
                    "  function() setmetatable({}, {__gc = final}) end,\n"
                    "  function() getmetatable(Game).__gc = final end,\n"
                    "}\n"
                    "for _, attempt in ipairs(attempts) do pcall(attempt) end\n"
                    "collectgarbage()\n");
    Start();
    Scripted("final.lua");
    Step();
    EXPECT_EQ(Trace(), "");
}

TEST_F(LuaScriptTest, AnErrorRaisedInsideAnEngineCallNamesTheScriptAndLine) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"function Go()\n  return CallSelf('Go', 1)\nend\n", ":2: C stack overflow"},
        {"function Go()\n\n  error('no position', 0)\nend\n", ":3: no position"},
        {"function Go()\n  error({})\nend\n", ":2: script error (the error value is not a text)"},
    };
    Start();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "raise" + std::to_string(i) + ".lua";
        m_scripts.Write(name, cases[i].script);
        Tundra::GameObject& object = Scripted(name);
        SetCallOther(object.GetScript()->GetThread(), &object);
        lua_State* thread = object.GetScript()->GetThread();
        lua_getglobal(thread, "CallOther");
        lua_setglobal(thread, "CallSelf");
        Core::testhooks::StartCapturingErrors();
        object.GetScript()->Call("Go");
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_EQ(errors[0], name + cases[i].message);
    }
}

}  // namespace

namespace {

// The caller's own CreateVector fails while the callee's results are copied.
TEST_F(LuaScriptTest, AFailureCopyingObjectFunctionResultsStillLetsTheCalleeGoWithItsObject) {
    m_scripts.Write("maker.lua", "function Make() return CreateVector() end");
    m_scripts.Write("taker.lua", "function CreateVector() error('no vectors here') end\n"
                                 "function Constructor() CallOther('Make', 1) end");
    Start();
    const std::size_t scripts = Lua::testhooks::ScriptCount();
    Tundra::GameObject& maker = Scripted("maker.lua");
    SetCallOther(Lua::Host::GetMainState(), &maker);
    Core::testhooks::StartCapturingErrors();
    Scripted("taker.lua");
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("taker.lua:1: no vectors here", 0), 0u) << errors[0];
    maker.Destroy();
    Step();
    EXPECT_EQ(Lua::testhooks::ScriptCount(), scripts + 1);
}

}  // namespace
