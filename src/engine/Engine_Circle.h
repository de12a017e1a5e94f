#pragma once

#include "engine/Engine_LinesBase.h"
#include "engine/Engine_UnregisteredClass.h"

#include <cstdint>

namespace Engine {

// A circle outline of straight pieces around the parent's origin in the x-y
// plane, drawn like a line list. Streams store only the node part.
class Circle : public LinesBase {
    TUN_DECLARE_UNREGISTERED_CLASS(Circle);

    // Step in whole degrees, at least 1; white and opaque.
    Circle(float radius, std::int32_t step);

    // Replaces the outline; colour and opacity stay. The first piece is the
    // point (radius, 0, 0) to itself, then one piece per step up to the last
    // multiple of the step not above 360 degrees. A step below 1 leaves the
    // outline empty.
    void Build(float radius, std::int32_t step);
};

}  // namespace Engine
