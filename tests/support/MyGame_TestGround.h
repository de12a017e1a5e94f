#pragma once

#include <cstdint>

namespace mygametest {

// A still, flat row of collider tiles across the screen at the terrain's
// lowest row (top tiles' y 24), cloned from the running level's
// "MapTileColliderTemplate", so that a player test has ground to stand on
// whatever the stage's own ground does. False without the template or a
// world layer.
bool LayFlatGround();

}  // namespace mygametest
