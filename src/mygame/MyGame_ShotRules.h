#pragma once

#include "math/Math_Vector2D.h"

namespace Collision2D {
class DynamicObject;
}
class GamePlayer;

// What the enemies' and the bosses' shots agree on.

// The stage's player when no invulnerability is left after an earlier hit:
// only then does a shot count; null otherwise or without one.
const GamePlayer* OpenPlayer();

// The running stage's player loses the amount; nothing outside a stage.
void DamageStagePlayer(float amount);

// A shot whose collision object touches the player, while it is open,
// costs it the amount: true then, false otherwise.
bool HurtOpenPlayerOnContact(const Collision2D::DynamicObject* shot, float amount);

// Beyond these bounds (strictly) a shot goes.
struct ShotArea {
    float left;
    float right;
    float bottom;
    float top;
};

inline bool IsOutside(const Vector2D& p, const ShotArea& area) {
    return p.x < area.left || p.x > area.right || p.y > area.top || p.y < area.bottom;
}
