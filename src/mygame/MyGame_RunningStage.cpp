#include "mygame/MyGame_RunningStage.h"

#include "mygame/MyGame_GameLevel.h"
#include "tundra/Tundra_Game.h"

GameLevel* GetRunningStage() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    return game != nullptr ? dynamic_cast<GameLevel*>(game->GetCurrentLevel()) : nullptr;
}
