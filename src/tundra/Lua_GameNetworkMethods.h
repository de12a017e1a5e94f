#pragma once

struct lua_State;
namespace Tundra {
class Game;
}

// The network entries of the "Game" table.
namespace Lua {

// -> the network front end ("TunNet").
int GetNetworkEngine(Tundra::Game& game, lua_State* state);
// (network name) -> whether networking started as a client.
int NetworkStart(Tundra::Game& game, lua_State* state);
// -> whether networking was running.
int NetworkShutdown(Tundra::Game& game, lua_State* state);
// (name, text, second name, player count) -> whether a session is hosted.
int HostNetworkGame(Tundra::Game& game, lua_State* state);
// (player name, session record ("TunBroadcast"), password) -> whether it joined.
int JoinNetworkGame(Tundra::Game& game, lua_State* state);
int IsNetworkGame(Tundra::Game& game, lua_State* state);
int IsServer(Tundra::Game& game, lua_State* state);
int GetOnlineSessionsCount(Tundra::Game& game, lua_State* state);
// (index) -> the session record; nothing past the end.
int GetOnlineSession(Tundra::Game& game, lua_State* state);

}  // namespace Lua
