#pragma once

#include "mygame/MyGame_GameLevel.h"

// Lets tests plan a stage's waves again and skip its run to the end.
class GameLevelTestAccess {
public:
    static float BuildSpawnWaves(GameLevel& level) { return level.BuildSpawnWaves(); }
    // The distance run to the end and every wave gone.
    static void SkipToEnd(GameLevel& level) {
        level.m_distance = level.m_stageLength + 1.0f;
        level.m_waves.clear();
    }
};
