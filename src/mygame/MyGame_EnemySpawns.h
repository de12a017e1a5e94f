#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>

class Enemy;

// The ordinary enemies, cloned from their templates into the world layer;
// null when no enemy could be made.
Enemy* CreateFlyingRangedEnemy(Vector2D position, std::int32_t flightPattern);
Enemy* CreateWalkingRangedEnemy(Vector2D position);
Enemy* CreateRollingSpike(Vector2D position, Vector2D velocity);
