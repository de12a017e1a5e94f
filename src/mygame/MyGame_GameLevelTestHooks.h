#pragma once

#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"

#include <utility>
#include <vector>

// Lets tests plan a stage's waves again, skip its run to the end and link
// another boss.
class GameLevelTestAccess {
public:
    static float BuildSpawnWaves(GameLevel& level) { return level.BuildSpawnWaves(); }
    // The distance run to the end and every wave gone.
    static void SkipToEnd(GameLevel& level) {
        level.m_distance = level.m_stageLength + 1.0f;
        level.m_waves.clear();
    }
    // The waves to come instead of the stage's own plan.
    static void PlanWaves(GameLevel& level, std::vector<SpawnWave> waves) { level.m_waves = std::move(waves); }
    // The stage's boss link, as a damaged stream could give it.
    static void LinkBoss(GameLevel& level, Enemy* boss) { level.m_boss = boss; }
    // Skipped to the end, and the boss's warning taken as shown: the ground
    // ends and calls the boss in. Nothing on a stage without a boss.
    static void SkipToBoss(GameLevel& level) {
        SkipToEnd(level);
        if (level.m_boss) {
            level.BringBossIn();
        }
    }
};
