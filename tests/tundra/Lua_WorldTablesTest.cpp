#include "tundra/Lua_MethodTable.h"

#include <gtest/gtest.h>

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

}  // namespace
