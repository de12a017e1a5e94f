#include "math/Math_Matrix3.h"

Matrix3 Matrix3::Rotation(float degrees) {
    // Degrees to radians by the float constant pi / 180.
    const float radians = degrees * 0.0174532924f;
    const auto c = static_cast<float>(std::cos(static_cast<double>(radians)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(radians)));
    return Matrix3({c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f});
}

bool Matrix3::Inverse(const Matrix3& m, Matrix3& out) {
    const float det =
        m[0] * (m[4] * m[8] - m[7] * m[5]) - m[1] * (m[3] * m[8] - m[6] * m[5]) + m[2] * (m[3] * m[7] - m[6] * m[4]);
    // A nearly singular matrix would give huge, meaningless elements.
    if (Math::IsNegligible(det, Math::kTolerance) || std::isnan(det)) {
        return false;
    }
    const float k = 1.0f / det;
    out = Matrix3({(m[4] * m[8] - m[7] * m[5]) * k, (m[2] * m[7] - m[8] * m[1]) * k, (m[5] * m[1] - m[2] * m[4]) * k,
                   (m[6] * m[5] - m[8] * m[3]) * k, (m[0] * m[8] - m[2] * m[6]) * k, (m[2] * m[3] - m[5] * m[0]) * k,
                   (m[7] * m[3] - m[6] * m[4]) * k, (m[6] * m[1] - m[7] * m[0]) * k, (m[0] * m[4] - m[3] * m[1]) * k});
    return true;
}
