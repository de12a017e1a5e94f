#include "collision/Collision_CollisionEngine.h"
#include "pal/PAL_Window.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Lua_Accessors.h"
#include "tundra/Lua_GameNetworkMethods.h"
#include "tundra/Lua_MethodTable.h"
#include "tundra/Lua_SharedMethods.h"
#include "tundra/Tundra_Game.h"

#include <lua.hpp>

// The "Game" table: the running game as scripts see it (the global "Game").
namespace Lua {
namespace {

using Tundra::Game;

template <Core::String (*Get)()>
int PushText(Game&, lua_State* state) {
    PushResult(state, Get());
    return 1;
}

// A request naming a file in the saves folder.
template <void (Game::*Request)(const Core::String&)>
int AskNamed(Game& game, lua_State* state) {
    if (const char* name = GetString(state, 1)) {
        (game.*Request)(name);
    }
    return 0;
}

template <void (Game::*List)(std::vector<Core::String>&) const>
int PushFileList(Game& game, lua_State* state) {
    std::vector<Core::String> names;
    (game.*List)(names);
    return PushStrings(state, names);
}

// An index, or a level name the factory knows.
int GoToLevel(Game& game, lua_State* state) {
    if (const char* name = GetString(state, 1)) {
        game.GoToLevelByName(name);
    } else if (lua_type(state, 1) == LUA_TNUMBER) {
        const std::int32_t index = GetInt(state, 1);
        if (index >= 0) {
            game.GoToLevel(static_cast<std::uint32_t>(index));
        }
    }
    return 0;
}

// The sound engine and the scene graph have no script tables, and scripts
// cannot build collision actors (those they can name are the game's
// already): these entries do nothing.
int Unavailable(Game&, lua_State*) { return 0; }

template <auto Get>
int PushEngine(Game& game, lua_State* state) {
    PushHandle(state, (game.*Get)());
    return 1;
}

int GetCollisionAssets(Game& game, lua_State* state) {
    const std::vector<Collision2D::CollisionActor*> actors = game.GetCollisionAssets();
    NewList(state, static_cast<int>(actors.size()));
    for (std::size_t i = 0; i < actors.size(); ++i) {
        PushHandle(state, actors[i]);
        AppendToList(state, static_cast<int>(i + 1));
    }
    return 1;
}

int SetDesiredFrameRate(Game& game, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        game.SetDesiredFrameRate(GetFloat(state, 1));
    }
    return 0;
}

// The run loop ends after the current frame.
int Exit(Game&, lua_State*) {
    PAL::RequestQuit();
    return 0;
}

int SetOneWayCollision(Game&, lua_State* state) {
    if (ArgumentCount(state) >= 1) {
        Game::SetOneWayCollision(GetBool(state, 1));
    }
    return 0;
}

const MethodTable& GameMethods() {
    static const MethodTable table{
        "Game",
        {
            Bind<Core::Object, &ObjectFunction>("ObjectFunction"),
            BindSetter<Game, &Game::SetTitle>("SetTitle"),
            BindGetter<Game, &Game::GetTitle>("GetTitle"),
            BindSetter<Game, &Game::SetIcon>("SetIcon"),
            BindGetter<Game, &Game::GetIcon>("GetIcon"),
            Bind<Game, &PushText<&Game::GetDirectory>>("GetDirectory"),
            Bind<Game, &PushText<&Game::GetExecutableName>>("GetExecutableName"),
            Bind<Game, &PushText<&Game::GetExecutableNameNoExtension>>("GetExecutableNameNoExtension"),
            BindGetter<Game, &Game::GetCurrentLevel>("GetCurrentLevel"),
            BindGetter<Game, &Game::GetCurrentLevelIndex>("GetCurrentLevelIndex"),
            BindGetter<Game, &Game::GetLevelsCount>("GetLevelsCount"),
            Bind<Game, &GoToLevel>("GoToLevel"),
            BindOperation<Game, &Game::GoToNextLevel>("GoToNextLevel"),
            BindOperation<Game, &Game::GoToPreviousLevel>("GoToPreviousLevel"),
            BindOperation<Game, &Game::GoToLastLevel>("GoToLastLevel"),
            BindOperation<Game, &Game::GoToFirstLevel>("GoToFirstLevel"),
            BindOperation<Game, &Game::GoToStartingLevel>("GoToStartingLevel"),
            BindOperation<Game, &Game::RestartLevel>("RestartLevel"),
            Bind<Game, &AskNamed<&Game::RequestSave>>("Save"),
            Bind<Game, &AskNamed<&Game::RequestLoad>>("Load"),
            Bind<Game, &PushEngine<&Game::GetCollisionEngine>>("GetCollisionEngine"),
            Bind<Game, &PushEngine<&Game::GetPhysicsEngine>>("GetPhysicsEngine"),
            Bind<Game, &Unavailable>("GetSoundEngine"),
            Bind<Game, &GetNetworkEngine>("GetNetworkEngine"),
            Bind<Game, &Unavailable>("GetSceneGraph"),
            BindSetter<Game, &Game::SetMasterVolume>("SetMasterVolume"),
            BindGetter<Game, &Game::GetMasterVolume>("GetMasterVolume"),
            BindGetter<Game, &Game::GetResolutionWidth>("GetResolutionWidth"),
            BindGetter<Game, &Game::GetResolutionHeight>("GetResolutionHeight"),
            Bind<Game, &Unavailable>("AddCollisionAssets"),
            Bind<Game, &GetCollisionAssets>("GetCollisionAssets"),
            Bind<Game, &NetworkStart>("NetworkStart"),
            Bind<Game, &NetworkShutdown>("NetworkShutdown"),
            Bind<Game, &HostNetworkGame>("HostNetworkGame"),
            Bind<Game, &JoinNetworkGame>("JoinNetworkGame"),
            Bind<Game, &IsNetworkGame>("IsNetworkGame"),
            Bind<Game, &IsServer>("IsServer"),
            Bind<Game, &GetOnlineSessionsCount>("GetOnlineSessionsCount"),
            Bind<Game, &GetOnlineSession>("GetOnlineSession"),
            Bind<Game, &AskNamed<&Game::ReplayRecordingStart>>("ReplayRecordingStart"),
            BindOperation<Game, &Game::ReplayRecordingStop>("ReplayRecordingStop"),
            Bind<Game, &AskNamed<&Game::ReplayStart>>("ReplayStart"),
            BindOperation<Game, &Game::ReplayStop>("ReplayStop"),
            Bind<Game, &SetDesiredFrameRate>("SetDesiredFrameRate"),
            BindSetter<Game, &Game::LockFrameRate>("LockFrameRate"),
            BindGetter<Game, &Game::IsFrameRateLocked>("IsFrameRateLocked"),
            BindGetter<Game, &Game::GetDesiredFrameRate>("GetDesiredFrameRate"),
            BindGetter<Game, &Game::GetCurrentFrameRate>("GetCurrentFrameRate"),
            BindGetter<Game, &Game::GetKeyboard>("GetKeyboard"),
            BindGetter<Game, &Game::GetMouse>("GetMouse"),
            BindSetter<Game, &Game::SetVSync>("SetVSync"),
            BindGetter<Game, &Game::IsVSync>("IsVSync"),
            BindSetter<Game, &Game::ToggleFullScreen>("ToggleFullScreen"),
            BindGetter<Game, &Game::IsFullScreen>("IsFullScreen"),
            BindOperation<Game, &Game::AutoToggleFullScreen>("AutoToggleFullScreen"),
            Bind<Game, &Exit>("Exit"),
            Bind<Game, &PushFileList<&Game::GetReplayFiles>>("GetReplayFiles"),
            Bind<Game, &PushFileList<&Game::GetSavedGames>>("GetSavedGames"),
            Bind<Game, &SetOneWayCollision>("SetOneWayCollision"),
            Bind<Game, &AddManagedObject<Game>>("AddManagedObject"),
        },
    };
    return table;
}

const TableRegistration s_gameMethodsRegistration{&GameMethods};

}  // namespace
}  // namespace Lua
