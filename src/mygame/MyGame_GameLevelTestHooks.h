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
    // Skipped to the end, and the boss's warning taken as shown: the ground
    // ends and calls the boss in. Nothing on a stage without a boss.
    static void SkipToBoss(GameLevel& level) {
        SkipToEnd(level);
        if (level.m_boss) {
            level.BringBossIn();
        }
    }
};
