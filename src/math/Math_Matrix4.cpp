#include "math/Math_Matrix4.h"

#include "math/Math_FloatStream.h"
#include "math/Math_Tolerance.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

float At(const Matrix4& m, int row, int column) { return m[column * 4 + row]; }

// The determinant of the 3x3 matrix left when one row and one column are removed.
float Minor(const Matrix4& m, int row, int column) {
    float e[9];
    int k = 0;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (r != row && c != column) {
                e[k++] = At(m, r, c);
            }
        }
    }
    return e[0] * (e[4] * e[8] - e[5] * e[7]) - e[1] * (e[3] * e[8] - e[5] * e[6]) +
           e[2] * (e[3] * e[7] - e[4] * e[6]);
}

float Cofactor(const Matrix4& m, int row, int column) {
    const float minor = Minor(m, row, column);
    return (row + column) % 2 == 0 ? minor : -minor;
}

// The transposed cofactor matrix.
Matrix4 Adjugate(const Matrix4& m) {
    Matrix4 adjugate;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            adjugate[c * 4 + r] = Cofactor(m, c, r);
        }
    }
    return adjugate;
}

}  // namespace

Matrix4 Matrix4::Translation(float x, float y, float z) {
    Matrix4 result;
    result[12] = x;
    result[13] = y;
    result[14] = z;
    return result;
}

Matrix4 Matrix4::Scaling(float x, float y, float z) {
    Matrix4 result;
    result[0] = x;
    result[5] = y;
    result[10] = z;
    return result;
}

Matrix4 Matrix4::RotationZ(float degrees) {
    Matrix4 result;
    MakeRotationZ(result, degrees);
    return result;
}

void Matrix4::MakeRotationZ(Matrix4& out, float degrees) {
    // Degrees to radians by the float constant pi / 180.
    const float radians = degrees * 0.0174532924f;
    const auto c = static_cast<float>(std::cos(static_cast<double>(radians)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(radians)));
    out = RotationZFromCosSin(c, s);
}

Matrix4 Matrix4::Perspective(float fieldOfViewY, float aspect, float nearDistance, float farDistance) {
    const double halfAngle = static_cast<double>(fieldOfViewY) * 0.5 * std::numbers::pi / 180.0;
    const auto t = static_cast<float>(1.0 / std::tan(halfAngle));
    const float n = nearDistance;
    const float f = farDistance;
    Matrix4 result(std::array<float, 16>{});
    result[0] = t / aspect;
    result[5] = t;
    result[10] = (n + f) / (n - f);
    result[11] = -1.0f;
    result[14] = 2.0f * n * f / (n - f);
    return result;
}

Matrix4 Matrix4::Orthographic(float left, float right, float bottom, float top) {
    Matrix4 result;
    result[0] = 2.0f / (right - left);
    result[5] = 2.0f / (top - bottom);
    result[10] = -1.0f;
    result[12] = (left + right) / (left - right);
    result[13] = (bottom + top) / (bottom - top);
    return result;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const {
    // Column by column, the four rows at once: each element is still the sum
    // of its four products taken left to right.
    Matrix4 result;
    for (int c = 0; c < 4; ++c) {
        const float* b = &other.m[static_cast<unsigned>(c * 4)];
        float* out = &result.m[static_cast<unsigned>(c * 4)];
        for (int r = 0; r < 4; ++r) {
            out[r] = m[static_cast<unsigned>(r)] * b[0] + m[static_cast<unsigned>(4 + r)] * b[1] +
                     m[static_cast<unsigned>(8 + r)] * b[2] + m[static_cast<unsigned>(12 + r)] * b[3];
        }
    }
    return result;
}

void Matrix4::Transpose() {
    for (int r = 0; r < 4; ++r) {
        for (int c = r + 1; c < 4; ++c) {
            std::swap(m[static_cast<unsigned>(c * 4 + r)], m[static_cast<unsigned>(r * 4 + c)]);
        }
    }
}

float Matrix4::Determinant() const {
    return At(*this, 0, 0) * Cofactor(*this, 0, 0) + At(*this, 0, 1) * Cofactor(*this, 0, 1) +
           At(*this, 0, 2) * Cofactor(*this, 0, 2) + At(*this, 0, 3) * Cofactor(*this, 0, 3);
}

void Matrix4::Invert() {
    const float determinant = Determinant();
    if (determinant == 0.0f || std::isnan(determinant)) {
        return;
    }
    *this = Adjugate(*this) * (1.0f / determinant);
}

Matrix4 Matrix4::Inverse(const Matrix4& m) {
    const float determinant = m.Determinant();
    // A nearly singular matrix would give huge, meaningless elements.
    if (Math::IsNegligible(determinant, Math::kTolerance)) {
        return m;
    }
    return Adjugate(m) * (1.0f / determinant);
}

Matrix4 operator*(const Matrix4& m, float s) {
    Matrix4 result;
    for (int i = 0; i < 16; ++i) {
        result[i] = m[i] * s;
    }
    return result;
}

Vector4D operator*(const Matrix4& m, const Vector4D& v) {
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
            m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

Core::File& operator<<(Core::File& file, const Matrix4& matrix) {
    Math::WriteFloatArray(file, matrix.m);
    return file;
}

Core::File& operator>>(Core::File& file, Matrix4& matrix) {
    Math::ReadFloatArray(file, matrix.m);
    return file;
}
