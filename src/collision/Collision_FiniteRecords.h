#pragma once

#include "collision/Collision_DynamicObject.h"

namespace Collision2D {

// Whether every value of the records that the last pass left on the object
// is finite; a check for tests and fuzzing.
bool RecordsAreFinite(const DynamicObject& object);

}  // namespace Collision2D
