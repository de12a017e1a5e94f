#pragma once

#include "tundra/Tundra_Game.h"

namespace Tundra {

// The running game's collision and physics engines; none while no game runs.
inline Collision2D::CollisionEngine* RunningCollisionEngine() {
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetCollisionEngine() : nullptr;
}

inline Physics2D::PhysicsEngine* RunningPhysicsEngine() {
    Game* game = Game::GetInstance();
    return game != nullptr ? game->GetPhysicsEngine() : nullptr;
}

}  // namespace Tundra
