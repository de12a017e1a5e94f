#include "math/Math_Quaternion.h"

#include "math/Math_Matrix4.h"

void Quaternion::ToMatrix4(const Quaternion& q, Matrix4& out) {
    const float w = q.w;
    const float x = q.x;
    const float y = q.y;
    const float z = q.z;
    out = Matrix4({1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - w * z), 2.0f * (x * z + w * y), 0.0f,
                   2.0f * (x * y + w * z), 1.0f - 2.0f * (z * z + x * x), 2.0f * (y * z - w * x), 0.0f,
                   2.0f * (x * z - w * y), 2.0f * (y * z + w * x), 1.0f - 2.0f * (x * x + y * y), 0.0f,
                   0.0f, 0.0f, 0.0f, 1.0f});
}

Quaternion& Quaternion::FromAxisAngle(Quaternion& out, Vector3D& axis, float degrees) {
    // Half the angle in radians, by the float constant pi / 360.
    const float half = degrees * 0.0087266462f;
    axis.Normalize();
    const auto s = static_cast<float>(std::sin(static_cast<double>(half)));
    const Vector3D v = axis * s;
    out = Quaternion(static_cast<float>(std::cos(static_cast<double>(half))), v.x, v.y, v.z);
    out.Normalize();
    return out;
}
