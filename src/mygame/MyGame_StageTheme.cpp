#include "mygame/MyGame_StageTheme.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_GameTables.h"

std::int32_t GetCurrentStageTheme() {
    const MyGame* game = GetGame();
    return game != nullptr ? GetLevelInfo(game->GetProfile().currentStage).Theme() : 0;
}
