#include "mygame/MyGame_EnemySpawns.h"

Enemy* CreateFlyingRangedEnemy(Vector2D, std::int32_t, float) { return nullptr; }

Enemy* CreateWalkingRangedEnemy(Vector2D) { return nullptr; }

Enemy* CreateRollingSpike(Vector2D, Vector2D) { return nullptr; }
