#include "tundra/Tundra_ObjectTransform.h"

#include <cmath>
#include <initializer_list>
#include <xmmintrin.h>

namespace Tundra {
namespace {

bool AllFinite(std::initializer_list<float> values) {
    for (const float value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// The rare path, out of line: the common one keeps a small stack frame.
[[gnu::noinline]] Matrix4 GeneralProduct(const ObjectTransformInputs& in, const Matrix4& rotation) {
    return Matrix4::Translation(in.positionX - in.centerX, in.positionY - in.centerY, in.z) *
           Matrix4::Translation(in.centerX, in.centerY, 0.0f) * rotation *
           Matrix4::Translation(-in.centerX, -in.centerY, 0.0f) * Matrix4::Scaling(in.scaleX, in.scaleY, 1.0f);
}

// Adding +0 is what the products' sums of exact zeros do to a value: a -0
// becomes +0, anything else stays.
float Plus0(float value) { return value + 0.0f; }

}  // namespace

Matrix4 ComposeObjectTransform(const ObjectTransformInputs& in, float cosine, float sine) {
    // With every element finite the products' terms with a 0 or 1 factor are
    // exact and only decide signs of zero; an infinity or NaN anywhere
    // spreads through those terms as the general products spread it.
    const float c = Plus0(cosine);
    const float s = Plus0(sine);
    const float minusS = Plus0(-sine);
    const float placeX = Plus0(Plus0(in.centerX) + (in.positionX - in.centerX));
    const float placeY = Plus0(Plus0(in.centerY) + (in.positionY - in.centerY));
    const float z = Plus0(in.z);
    const float x = Plus0(c * -in.centerX + minusS * -in.centerY) + placeX;
    const float y = Plus0(s * -in.centerX + c * -in.centerY) + placeY;
    // A sum or product is finite only when its terms are: x and y finite
    // means every position, centre and rotation value behind them is.
    if (!AllFinite({x, y, z, in.scaleX, in.scaleY})) {
        return GeneralProduct(in, Matrix4::RotationZFromCosSin(cosine, sine));
    }
    // Built a column at a time and stored whole: callers copy the matrix on
    // at once, in 16-byte loads that only whole 16-byte stores forward to.
    Matrix4 transform;
    float* column = transform.m.data();
    _mm_storeu_ps(column, _mm_setr_ps(Plus0(c * in.scaleX), Plus0(s * in.scaleX), 0.0f, 0.0f));
    _mm_storeu_ps(column + 4, _mm_setr_ps(Plus0(minusS * in.scaleY), Plus0(c * in.scaleY), 0.0f, 0.0f));
    _mm_storeu_ps(column + 8, _mm_setr_ps(0.0f, 0.0f, 1.0f, 0.0f));
    _mm_storeu_ps(column + 12, _mm_setr_ps(Plus0(x), Plus0(y), z, 1.0f));
    return transform;
}

}  // namespace Tundra
