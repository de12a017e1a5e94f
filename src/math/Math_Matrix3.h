#pragma once

#include "math/Math_Vector2D.h"

#include <array>

// The 2D affine transform of collision shapes and rigid bodies: nine floats
// row by row, acting on the column (x, y, 1), so the translation lies in
// elements 2 and 5. Every matrix built here has the bottom row (0, 0, 1).
// A new matrix is the identity.
struct Matrix3 {
    std::array<float, 9> m = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};

    Matrix3() = default;
    explicit Matrix3(const std::array<float, 9>& elements) : m(elements) {}

    float& operator[](int i) { return m[static_cast<unsigned>(i)]; }
    float operator[](int i) const { return m[static_cast<unsigned>(i)]; }

    void SetIdentity() { *this = Matrix3(); }
    static Matrix3 Translation(float x, float y) { return Matrix3({1.0f, 0.0f, x, 0.0f, 1.0f, y, 0.0f, 0.0f, 1.0f}); }
    static Matrix3 Translation(const Vector2D& v) { return Translation(v.x, v.y); }
    // Counter-clockwise: positive angles turn +x towards +y. A placement that
    // rotates and then moves to p is Translation(p) * Rotation(degrees).
    static Matrix3 Rotation(float degrees);

    // this * other: other applies first.
    Matrix3 operator*(const Matrix3& other) const {
        Matrix3 result;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                result[r * 3 + c] = (*this)[r * 3] * other[c] + (*this)[r * 3 + 1] * other[3 + c] +
                                    (*this)[r * 3 + 2] * other[6 + c];
            }
        }
        return result;
    }

    static Point2D TransformPoint(const Matrix3& m, const Point2D& p) {
        return {m[0] * p.x + m[1] * p.y + m[2], m[3] * p.x + m[4] * p.y + m[5]};
    }
    // Adds the bottom-row elements 6 and 7 instead of the translation. They
    // are 0 in every placement, so this turns a body-local offset into world
    // orientation without moving it.
    static Vector2D TransformPointBottomRow(const Matrix3& m, const Vector2D& v) {
        return {m[0] * v.x + m[1] * v.y + m[6], m[3] * v.x + m[4] * v.y + m[7]};
    }

    // Writes the inverse of m to out and returns true. A determinant within
    // the tolerance of 0 (or NaN) leaves out untouched and returns false.
    // out may be m itself.
    static bool Inverse(const Matrix3& m, Matrix3& out);

    void Write(Core::File& file) const { Math::WriteFloatArray(file, m); }
    void Read(Core::File& file) { Math::ReadFloatArray(file, m); }
};

inline Matrix3 operator*(const Matrix3& matrix, float s) {
    Matrix3 result;
    for (int i = 0; i < 9; ++i) {
        result[i] = matrix[i] * s;
    }
    return result;
}

inline Matrix3 operator*(float s, const Matrix3& matrix) { return matrix * s; }

inline Core::File& operator<<(Core::File& file, const Matrix3& matrix) {
    matrix.Write(file);
    return file;
}

inline Core::File& operator>>(Core::File& file, Matrix3& matrix) {
    matrix.Read(file);
    return file;
}
