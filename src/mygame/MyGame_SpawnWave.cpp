#include "mygame/MyGame_SpawnWave.h"

namespace {

constexpr float kSpawnInterval = 0.75f;
constexpr std::int32_t kRingSize = 6;
constexpr std::int32_t kRingPath = 4;
// 2 pi / 5: the five ring members after the leader.
constexpr float kRingStep = 1.2566371f;

}  // namespace

bool SpawnWave::Tick(float dt, WaveSpawner& spawner) {
    delay -= dt;
    if (delay > 0.0f) {
        return false;
    }
    spawnTimer -= dt;
    if (spawnTimer > 0.0f) {
        return false;
    }
    spawnTimer = kSpawnInterval;
    if (ground > 0) {
        --ground;
        spawner.SpawnGroundEnemy();
    }
    if (flying == kRingSize) {
        // The whole ring at once: a leader on path 1, five around it. None
        // is left over, so the wave's rolling spikes still come.
        spawner.SpawnFlyingEnemy(1, 0.0f);
        float angle = 0.0f;
        for (; flying >= 2; --flying) {
            spawner.SpawnFlyingEnemy(kRingPath, angle);
            angle += kRingStep;
        }
        flying = 0;
    } else if (flying > 0) {
        --flying;
        spawner.SpawnFlyingEnemy(flyingPath, 0.0f);
    }
    if (rolling > 0) {
        --rolling;
        spawner.SpawnRollingSpike();
    }
    return ground == 0 && flying == 0 && rolling == 0;
}
