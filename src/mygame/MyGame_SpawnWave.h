#pragma once

#include <cstdint>

// What a wave asks of the stage it runs in.
class WaveSpawner {
public:
    virtual void SpawnGroundEnemy() = 0;
    // Path 1..3 for a wave's path; path 4 is the ring, at the phase angle
    // (radians).
    virtual void SpawnFlyingEnemy(std::int32_t path, float phase) = 0;
    virtual void SpawnRollingSpike() = 0;

protected:
    ~WaveSpawner() = default;
};

// One wave of enemies: what it still has to spawn, released at most one of
// each kind every 0.75 s once its delay has run out.
struct SpawnWave {
    std::int32_t ground = 0;
    std::int32_t flying = 0;
    std::int32_t rolling = 0;
    std::int32_t flyingPath = 0;
    float spawnTimer = 0.0f;
    float delay = 0.0f;

    // One spawning step; true once the wave has finished.
    bool Tick(float dt, WaveSpawner& spawner);
};
