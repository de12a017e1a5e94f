#include "Tundra_ScriptChunk.h"
#include "support/Tundra_TestGame.h"

#include "network/Network_TunNet.h"
#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <string>
#include <vector>

namespace {

struct GoldenTable {
    const char* scriptName;
    std::vector<std::string> names;
};

const std::vector<GoldenTable>& WorldTables() {
    static const std::vector<GoldenTable> tables{
        {"Game",
         {"ObjectFunction", "SetTitle", "GetTitle", "SetIcon", "GetIcon", "GetDirectory", "GetExecutableName",
          "GetExecutableNameNoExtension", "GetCurrentLevel", "GetCurrentLevelIndex", "GetLevelsCount", "GoToLevel",
          "GoToNextLevel", "GoToPreviousLevel", "GoToLastLevel", "GoToFirstLevel", "GoToStartingLevel",
          "RestartLevel", "Save", "Load", "GetCollisionEngine", "GetPhysicsEngine", "GetSoundEngine",
          "GetNetworkEngine", "GetSceneGraph", "SetMasterVolume", "GetMasterVolume", "GetResolutionWidth",
          "GetResolutionHeight", "AddCollisionAssets", "GetCollisionAssets", "NetworkStart", "NetworkShutdown",
          "HostNetworkGame", "JoinNetworkGame", "IsNetworkGame", "IsServer", "GetOnlineSessionsCount",
          "GetOnlineSession", "ReplayRecordingStart", "ReplayRecordingStop", "ReplayStart", "ReplayStop",
          "SetDesiredFrameRate", "LockFrameRate", "IsFrameRateLocked", "GetDesiredFrameRate", "GetCurrentFrameRate",
          "GetKeyboard", "GetMouse", "SetVSync", "IsVSync", "ToggleFullScreen", "IsFullScreen",
          "AutoToggleFullScreen", "Exit", "GetReplayFiles", "GetSavedGames", "SetOneWayCollision",
          "AddManagedObject"}},
        {"Level",
         {"ObjectFunction", "AddManagedObject", "SetName", "GetName", "AddLayer", "GetLayersCount", "GetLayer",
          "AddViewport", "RemoveViewport", "GetViewportsCount", "GetViewport", "CreateJukeBox", "GetJukeBox",
          "SetClearBackBuffer", "GetClearBackBuffer", "SetClearColor", "GetClearColor", "GetGameObjects",
          "GetGameObjectsByName", "SetScript", "RunScript"}},
        {"Layer",
         {"SetName", "GetName", "SetZOrder", "GetZOrder", "SetScale", "GetScale", "SetRotation", "GetRotation",
          "GetIndex", "GetLayerCollision", "AddGameObject", "AddNetworkGameObject", "RemoveGameObject",
          "AddCollisionData", "ReadInformation_StaticCollision", "SetCollisionProperties", "GetCollisionId",
          "GetGameObjects", "GetGameObjectsCount", "SetVisibleCollisionData", "GetVisibleCollisionData",
          "SetCollisionDataColor", "GetCollisionDataColor", "SetVisibleLayerPartition", "GetVisibleLayerPartition",
          "SetLayerPartitionColor", "GetLayerPartitionColor"}},
        {"Viewport",
         {"GetWidth", "GetHeight", "Set", "Get", "SetWidth", "SetHeight", "SetPosition", "SetPositionX",
          "SetPositionY", "GetPosition", "GetPositionX", "GetPositionY", "SetClearColor", "GetClearColor",
          "SetCamera", "GetCamera", "SetName", "GetName", "SetBackground", "GetBackground"}},
    };
    return tables;
}

TEST(WorldTablesTest, NamesComeInTableOrderEachWithABindingAndAClassCheck) {
    std::size_t entries = 0;
    for (const GoldenTable& golden : WorldTables()) {
        const Lua::MethodTable* table = Lua::FindTable(golden.scriptName);
        ASSERT_NE(table, nullptr) << golden.scriptName;
        std::vector<std::string> names;
        for (const Lua::Method& method : table->methods) {
            names.emplace_back(method.name);
            EXPECT_TRUE(method.binding != nullptr && method.accepts != nullptr) << method.name;
        }
        EXPECT_EQ(names, golden.names) << golden.scriptName;
        EXPECT_FALSE(table->holdsValues);
        entries += names.size();
    }
    EXPECT_EQ(entries, 128u);
    const Lua::MethodTable& game = *Lua::FindTable("Game");
    const Lua::MethodTable& level = *Lua::FindTable("Level");
    const Lua::MethodTable& layer = *Lua::FindTable("Layer");
    EXPECT_EQ(Lua::FindMethod(game, "ObjectFunction")->binding, Lua::FindMethod(level, "ObjectFunction")->binding);
    EXPECT_EQ(Lua::FindMethod(game, "GetSoundEngine")->binding, Lua::FindMethod(game, "GetSceneGraph")->binding);
    EXPECT_EQ(Lua::FindMethod(layer, "SetVisibleLayerPartition")->binding,
              Lua::FindMethod(layer, "SetVisibleCollisionData")->binding);
}

using tundratest::NumberAt;
using tundratest::RunChunk;

// The objects a chunk returns: each userdata holds its object's address
// (whether or not its class has a table yet).
std::vector<Core::Object*> ObjectsOf(const std::string& code, int count) {
    std::vector<Core::Object*> objects;
    RunChunk(code, count, [&](lua_State* state, int first) {
        for (int i = 0; i < count; ++i) {
            auto* const* slot = static_cast<Core::Object* const*>(lua_touserdata(state, first + i));
            objects.push_back(slot != nullptr ? *slot : nullptr);
        }
    });
    return objects;
}

std::vector<double> NumbersOf(const std::string& code, int count) {
    std::vector<double> numbers;
    RunChunk(code, count, [&](lua_State* state, int first) {
        for (int i = 0; i < count; ++i) {
            numbers.push_back(NumberAt(state, first + i));
        }
    });
    return numbers;
}

class WorldScriptTest : public tundratest::GameTest {};

TEST_F(WorldScriptTest, LevelRequestsWaitForTheNextUpdateAndTheGameHandsOutItsDevices) {
    tundratest::TestGame& game = Start();
    ASSERT_TRUE(RunChunk("Game:GoToNextLevel()"));
    EXPECT_TRUE(game.GetCurrentLevelIndex() == 0u && game.IsLevelChangePending());
    Step(1);
    EXPECT_EQ(game.GetCurrentLevelIndex(), 1u);
    const struct {
        const char* request;
        std::uint32_t index;
    } requests[] = {{"Game:GoToLevel('2')", 2},        {"Game:GoToLevel(-1) Game:GoToLevel(3)", 2},
                    {"Game:GoToNextLevel()", 2},        {"Game:GoToPreviousLevel()", 1},
                    {"Game:GoToLevel(1.9e12)", 1},      {"Game:GoToFirstLevel()", 0},
                    {"Game:GoToPreviousLevel()", 0},    {"Game:GoToLastLevel()", 2}};
    for (const auto& request : requests) {
        ASSERT_TRUE(RunChunk(request.request));
        // The frame after a change has no time to update with.
        Step(2);
        EXPECT_EQ(game.GetCurrentLevelIndex(), request.index) << request.request;
    }
    const std::vector<Core::Object*> objects =
        ObjectsOf("return Game:GetKeyboard(), Game:GetMouse(), Game:GetCurrentLevel()", 3);
    EXPECT_EQ(objects, (std::vector<Core::Object*>{game.GetKeyboard(), game.GetMouse(), game.GetCurrentLevel()}));
    EXPECT_EQ(NumbersOf("return Game:GetLevelsCount(), Game:GetCurrentLevelIndex(), "
                        "select('#', Game:GetSoundEngine()), select('#', Game:GetSceneGraph()), "
                        "type(Game:GetPhysicsEngine()) == 'userdata' and 1 or 0",
                        5),
              (std::vector<double>{3, 2, 0, 0, 1}));
}

TEST_F(WorldScriptTest, NetworkEntriesWithoutNetworkingRunningStartNothing) {
    Start();
    EXPECT_EQ(NumbersOf("return Game:HostNetworkGame('name', 'text', 'second', 4), Game:NetworkShutdown(), "
                        "Game:IsNetworkGame(), Game:IsServer(), Game:GetOnlineSessionsCount(), "
                        "select('#', Game:GetOnlineSession(0)), select('#', Game:NetworkStart(5))",
                        7),
              (std::vector<double>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Tundra::TunNet::GetCurrent(), nullptr);
}

TEST_F(WorldScriptTest, LayersHandOutTheirObjectsAndLevelsTakeOnlyColourTables) {
    tundratest::TestGame& game = Start();
    tundratest::TestObject& a = Spawn("a");
    tundratest::TestObject& b = Spawn("b");
    Step(1);
    const char* list = "local list = Game:GetCurrentLevel():GetLayer(0):GetGameObjects() ";
    EXPECT_EQ(ObjectsOf(std::string(list) + "return list[1], list[2]", 2), (std::vector<Core::Object*>{&a, &b}));
    EXPECT_EQ(NumbersOf(std::string(list) + "return #list", 1), std::vector<double>{2});
    EXPECT_EQ(NumbersOf("local level = Game:GetCurrentLevel() "
                        "level:SetClearColor({ R = 0.5, G = 0.25, B = 1, A = 0.5 }) "
                        "level:SetClearColor(5) "
                        "local color = level:GetClearColor() "
                        "return color.R, color.G, color.B, color.A",
                        4),
              (std::vector<double>{0.5, 0.25, 1, 0.5}));
    EXPECT_EQ(game.GetCurrentLevel()->GetClearColor().g, 0.25f);
}

TEST_F(WorldScriptTest, ViewportRectanglesRoundTripAndStayInRange) {
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) { level.AddViewport(TUN_NEW(Tundra::Viewport)); };
    Start();
    EXPECT_EQ(NumbersOf("local v = Game:GetCurrentLevel():GetViewport(0) "
                        "v:Set(10, 20, 30, 40) "
                        "local x, y, w, h = v:Get() "
                        "v:SetWidth(-1) v:SetPosition({ x = 3, y = 4 }) "
                        "local p = v:GetPosition() "
                        "v:SetPosition(p) v:SetPositionY(7) "
                        "return x, y, w, h, v:GetWidth(), p.X, p.Y, v:GetPositionY(), select('#', v:GetCamera())",
                        9),
              (std::vector<double>{10, 20, 30, 40, 0, 3, 4, 7, 0}));
}

TEST_F(WorldScriptTest, EveryEntryTakesNoValuesAndWrongValuesWithoutHarm) {
    m_factory->fill = [](Tundra::Level& level, std::uint32_t) {
        level.AddViewport(TUN_NEW(Tundra::Viewport));
        level.AddViewport(TUN_NEW(Tundra::Viewport));
    };
    Start();
    std::string code =
        "local level = Game:GetCurrentLevel() "
        "local receivers = { Game = Game, Level = level, Layer = level:GetLayer(0), Viewport = level:GetViewport(0) } "
        "local dead = level:GetViewport(1) level:RemoveViewport(dead) "
        "local values = { 1e12, 0/0, -1, 'x', {}, true, dead } "
        "local function sweep(table, name) "
        "  local receiver = receivers[table] "
        "  pcall(receiver[name], receiver) "
        "  pcall(receiver[name], receiver, nil, nil, nil, nil) "
        "  for _, v in ipairs(values) do pcall(receiver[name], receiver, v, v, v, v) end "
        "end ";
    for (const GoldenTable& golden : WorldTables()) {
        for (const std::string& name : golden.names) {
            // A script named by a sweep value does not exist: its box would ask to quit.
            // Networking opens sockets: its entries are swept on loopback with the network tables.
            if (name != "RunScript" && name != "NetworkStart" && name != "HostNetworkGame" &&
                name != "JoinNetworkGame") {
                code += "sweep('" + std::string(golden.scriptName) + "', '" + name + "') ";
            }
        }
    }
    ASSERT_TRUE(RunChunk(code));
    EXPECT_TRUE(m_game->GetTitle() == "x" && m_game->GetCurrentLevel()->GetTypeName() == "x");
    Step(3);
}

}  // namespace
