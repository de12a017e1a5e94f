#pragma once

#include "mygame/MyGame_SpawnWave.h"
#include "mygame/MyGame_Terrain.h"
#include "tundra/Tundra_Level.h"

// Level 2: one stage. Its ground scrolls under the player while enemy waves
// come in.
class GameLevel : public Tundra::Level, public WaveSpawner {
    TUN_DECLARE_UNCLONABLE_CLASS(GameLevel);
    GameLevel() = default;

    Terrain& GetTerrain() { return m_terrain; }
    const Terrain& GetTerrain() const { return m_terrain; }

    void SpawnGroundEnemy() override {}
    void SpawnFlyingEnemy(std::int32_t, float) override {}
    void SpawnRollingSpike() override {}

private:
    Terrain m_terrain;
};
