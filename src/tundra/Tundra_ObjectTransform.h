#pragma once

#include "math/Math_Matrix4.h"

namespace Tundra {

// What a game object's scene-node transformation is made from.
struct ObjectTransformInputs {
    float positionX;
    float positionY;
    float centerX;
    float centerY;
    float z;
    float scaleX;
    float scaleY;
};

// Translation(position - centre, z) * Translation(centre) * rotation *
// Translation(-centre) * Scaling(scale): built element by element, the same
// bits as those general products give, where rotation is the MakeRotationZ
// matrix whose elements 0 and 1 are cosine and sine.
Matrix4 ComposeObjectTransform(const ObjectTransformInputs& in, float cosine, float sine);

}  // namespace Tundra
