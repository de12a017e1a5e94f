#pragma once

#include <cstdint>

namespace mygametest {

// The top tiles' y of the flat ground: two rows above the highest block the
// stage's terrain raises, so its scrolling steps and blocks pass below.
constexpr float kFlatGroundY = 392.0f;

// A still, flat row of collider tiles across the screen, cloned from the
// running level's "MapTileColliderTemplate", so that a player test has
// ground to stand on whatever the stage's own ground does. False without
// the template or a world layer.
bool LayFlatGround();

}  // namespace mygametest
