#include "mygame/MyGame_EnemySpawns.h"

// The enemy classes come later; until then a spawn makes nothing and the
// stage appends nothing.

Enemy* CreateFlyingRangedEnemy(Vector2D, std::int32_t) { return nullptr; }

Enemy* CreateWalkingRangedEnemy(Vector2D) { return nullptr; }

Enemy* CreateRollingSpike(Vector2D, Vector2D) { return nullptr; }
