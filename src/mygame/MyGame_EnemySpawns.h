#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>

class Enemy;

// The ordinary enemies, cloned from their templates into the world layer
// with the stage theme's art; null when no enemy could be made or a value
// given is not finite.
// A flyer of a ring (pattern 4) starts at the formation angle (radians).
Enemy* CreateFlyingRangedEnemy(Vector2D position, std::int32_t flightPattern, float formationAngle = 0.0f);
Enemy* CreateWalkingRangedEnemy(Vector2D position);
Enemy* CreateRollingSpike(Vector2D position, Vector2D velocity);
