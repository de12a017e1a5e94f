#pragma once

namespace Collision2D {
class DynamicObject;
}
namespace Tundra {
class Game;
}

namespace testsupport {

// A collision object of one circle (radius, user id) that collides with
// group 0; its actor is the game's.
Collision2D::DynamicObject* MakeCircleShape(Tundra::Game& game, float radius, int userId);

}  // namespace testsupport
