#pragma once

#include "core/Core_File.h"
#include "math/Math_Vector3D.h"
#include "math/Math_Vector4D.h"

#include <array>

// A 4x4 float matrix in the column-major order OpenGL loads directly:
// element i holds row i % 4 of column i / 4, so the translation lies in
// elements 12, 13 and 14. Column vectors: the right operand of a product
// applies first. A new matrix is the identity.
struct Matrix4 {
    std::array<float, 16> m = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                               0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

    Matrix4() = default;
    explicit Matrix4(const std::array<float, 16>& elements) : m(elements) {}

    float& operator[](int i) { return m[static_cast<unsigned>(i)]; }
    float operator[](int i) const { return m[static_cast<unsigned>(i)]; }

    void SetIdentity() { *this = Matrix4(); }
    static Matrix4 Identity() { return {}; }
    static Matrix4 Translation(float x, float y, float z);
    static Matrix4 Scaling(float x, float y, float z);
    // Counter-clockwise seen from +z: positive angles turn +x towards +y.
    static Matrix4 RotationZ(float degrees);
    static void MakeRotationZ(Matrix4& out, float degrees);
    // The same rotation from its angle's cosine and sine.
    static Matrix4 RotationZFromCosSin(float cosine, float sine) {
        return Matrix4({cosine, sine, 0.0f, 0.0f, -sine, cosine, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                        1.0f});
    }
    // The classic perspective projection; element 15 is 0.
    static Matrix4 Perspective(float fieldOfViewY, float aspect, float nearDistance, float farDistance);
    // The two-dimensional orthographic projection, near -1 and far 1.
    static Matrix4 Orthographic(float left, float right, float bottom, float top);

    Matrix4 operator*(const Matrix4& other) const;

    // m * (p, 1), first three rows, without dividing by the fourth.
    static Vector3D TransformPoint(const Matrix4& m, const Vector3D& p) {
        return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
    }

    void Transpose();
    // Cofactor expansion along the first row.
    float Determinant() const;
    // In place; a determinant of exactly 0 (or NaN) leaves the matrix as it is.
    void Invert();
    // By value; a determinant within the tolerance of 0 gives a copy of m.
    static Matrix4 Inverse(const Matrix4& m);
};

Matrix4 operator*(const Matrix4& m, float s);
Vector4D operator*(const Matrix4& m, const Vector4D& v);

Core::File& operator<<(Core::File& file, const Matrix4& matrix);
Core::File& operator>>(Core::File& file, Matrix4& matrix);
