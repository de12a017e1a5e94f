#pragma once

class WeaponSprite;

// The flame thrower's cone: every live enemy of the stage strictly within
// the range and within 20 degrees of the weapon's aim, and still alive,
// takes the frame's damage and burns (a burning one burns anew for its
// whole duration; another status is replaced). Enemies in the order of the
// stage's live list.
void BurnEnemiesInCone(const WeaponSprite& weapon, float range, float dt);
