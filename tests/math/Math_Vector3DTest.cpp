#include "math/Math_Color.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Plane.h"
#include "math/Math_Quaternion.h"
#include "math/Math_Vector4D.h"

#include "ByteFile.h"

#include <gtest/gtest.h>

namespace {

void ExpectVector(const Vector3D& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

void ExpectQuaternion(const Quaternion& q, float w, float x, float y, float z, float tolerance = 0.0f) {
    EXPECT_NEAR(q.w, w, tolerance);
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
    EXPECT_NEAR(q.z, z, tolerance);
}

}  // namespace

TEST(Vector3D, ArithmeticAndCrossProduct) {
    Vector3D v(1.0f, 2.0f, 3.0f);
    ExpectVector(v - Vector3D(1.0f, 1.0f, 1.0f), 0.0f, 1.0f, 2.0f);
    ExpectVector(v * 2.0f, 2.0f, 4.0f, 6.0f);
    v += Vector3D(1.0f, -2.0f, 0.5f);
    ExpectVector(v, 2.0f, 0.0f, 3.5f);
    ExpectVector(Math::CrossProduct(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f), 0.0f, 0.0f, 1.0f);
    ExpectVector(Math::CrossProduct(0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f), 0.0f, 0.0f, -1.0f);
}

TEST(Vector3D, NormalizeHasNoToleranceBand) {
    Vector3D tiny(0.0001f, 0.0f, 0.0f);
    tiny.Normalize();
    ExpectVector(tiny, 1.0f, 0.0f, 0.0f);
    Vector3D zero;
    zero.Normalize();
    ExpectVector(zero, 0.0f, 0.0f, 0.0f);
    Vector3D v(2.0f, 3.0f, 6.0f);
    v.Normalize();
    EXPECT_FLOAT_EQ(v.x, 2.0f / 7.0f);
    EXPECT_FLOAT_EQ(v.z, 6.0f / 7.0f);
}

TEST(Plane, ClassifiesFrontBehindAndOnThePlane) {
    Plane plane;
    plane.SetFromPointNormal(Vector3D(1.0f, 2.0f, 3.0f), Vector3D(0.0f, 1.0f, 0.0f));
    struct Case {
        Vector3D point;
        Math::ClassifyResult code;
    };
    const Case cases[] = {
        {{1.0f, 12.0f, 3.0f}, Math::ClassifyFront},
        {{1.0f, -8.0f, 3.0f}, Math::ClassifyBehind},
        // Within 0.05 of the reference point counts as on the plane even off it.
        {{1.0f, 2.04f, 3.0f}, Math::ClassifyIntersecting},
        {{1.0f, 1.96f, 3.0f}, Math::ClassifyIntersecting},
        // Far along the plane itself.
        {{50.0f, 2.0f, -40.0f}, Math::ClassifyIntersecting},
        {{50.0f, 2.06f, -40.0f}, Math::ClassifyFront},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.point.y);
        EXPECT_EQ(c.point.ClassifyToPlane(plane), c.code);
    }
}

TEST(Plane, PointNormalSetsTheCoefficients) {
    Plane plane;
    plane.SetFromPointNormal(Vector3D(1.0f, 2.0f, 3.0f), Vector3D(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(plane.a, 0.0f);
    EXPECT_EQ(plane.b, 1.0f);
    EXPECT_EQ(plane.c, 0.0f);
    EXPECT_EQ(plane.d, -2.0f);
}

TEST(Plane, CoefficientsPutThePointOnTheFirstClearAxis) {
    Plane plane;
    plane.SetFromCoefficients(0.0f, 0.0f, 2.0f, -4.0f);
    ExpectVector(plane.point, 0.0f, 0.0f, 2.0f);
    ExpectVector(plane.normal, 0.0f, 0.0f, 2.0f);

    plane.SetFromCoefficients(0.0f, -4.0f, 0.0004f, 8.0f);
    ExpectVector(plane.point, 0.0f, 2.0f, 0.0f);
    plane.SetFromCoefficients(0.5f, 0.0f, 0.0f, 1.0f);
    ExpectVector(plane.point, -2.0f, 0.0f, 0.0f);

    // All three coefficients near zero: the point stays.
    plane.SetFromCoefficients(0.0f, 0.0001f, 0.0001f, 5.0f);
    ExpectVector(plane.point, -2.0f, 0.0f, 0.0f);
    ExpectVector(plane.normal, 0.0f, 0.0001f, 0.0001f);
    EXPECT_EQ(plane.d, 5.0f);
}

TEST(Quaternion, HamiltonProduct) {
    Quaternion i(0.0f, 1.0f, 0.0f, 0.0f);
    i *= Quaternion(0.0f, 0.0f, 1.0f, 0.0f);
    ExpectQuaternion(i, 0.0f, 0.0f, 0.0f, 1.0f);

    Quaternion j(0.0f, 0.0f, 1.0f, 0.0f);
    j *= Quaternion(0.0f, 1.0f, 0.0f, 0.0f);
    ExpectQuaternion(j, 0.0f, 0.0f, 0.0f, -1.0f);

    const Quaternion q(0.5f, -1.5f, 2.0f, 3.0f);
    Quaternion one;
    one *= q;
    ExpectQuaternion(one, q.w, q.x, q.y, q.z);

    // Every part comes from the incoming values, also for a product with itself.
    Quaternion k(0.0f, 0.0f, 0.0f, 1.0f);
    k *= k;
    ExpectQuaternion(k, -1.0f, 0.0f, 0.0f, 0.0f);
}

TEST(Quaternion, NormalizeLeavesZeroAlone) {
    Quaternion zero(0.0f, 0.0f, 0.0f, 0.0f);
    zero.Normalize();
    ExpectQuaternion(zero, 0.0f, 0.0f, 0.0f, 0.0f);
    Quaternion q(1.0f, 1.0f, 1.0f, 1.0f);
    q.Normalize();
    ExpectQuaternion(q, 0.5f, 0.5f, 0.5f, 0.5f);
}

TEST(Quaternion, FromAxisAngleNormalisesTheCallersAxis) {
    Vector3D axis(0.0f, 0.0f, 5.0f);
    Quaternion q;
    Quaternion& result = Quaternion::FromAxisAngle(q, axis, 90.0f);
    EXPECT_EQ(&result, &q);
    ExpectVector(axis, 0.0f, 0.0f, 1.0f);
    ExpectQuaternion(q, 0.70710677f, 0.0f, 0.0f, 0.70710677f, 1e-6f);

    Matrix4 m;
    Quaternion::ToMatrix4(q, m);
    EXPECT_NEAR(m[1], -1.0f, 1e-6f);
    EXPECT_NEAR(m[4], 1.0f, 1e-6f);
    EXPECT_NEAR(m[0], 0.0f, 1e-6f);
    EXPECT_EQ(m[10], 1.0f);
    EXPECT_EQ(m[15], 1.0f);
    EXPECT_EQ(m[3], 0.0f);
    EXPECT_EQ(m[12], 0.0f);
}

TEST(Quaternion, ZeroAxisGivesTheScalarPartOnly) {
    Vector3D axis;
    Quaternion q;
    Quaternion::FromAxisAngle(q, axis, 90.0f);
    ExpectQuaternion(q, 1.0f, 0.0f, 0.0f, 0.0f, 1e-7f);
    Quaternion::FromAxisAngle(q, axis, 400.0f);
    ExpectQuaternion(q, -1.0f, 0.0f, 0.0f, 0.0f, 1e-7f);
}

TEST(Color, DefaultsDifferFromVector4D) {
    const Color c;
    EXPECT_EQ(c.r, 0.0f);
    EXPECT_EQ(c.g, 0.0f);
    EXPECT_EQ(c.b, 0.0f);
    EXPECT_EQ(c.a, 0.0f);
    const Vector4D v;
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
    EXPECT_EQ(v.w, 1.0f);
    EXPECT_EQ(sizeof(Color), sizeof(Vector4D));
}

TEST(Color, StreamFormIsFourFloatsInFieldOrder) {
    ByteFile file;
    file << Color(1.0f, 0.5f, 0.0f, -2.0f) << Vector4D(0.0f, 0.0f, 0.0f, 1.0f);
    const std::vector<std::uint8_t> expected = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00,
                                                0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(file.Bytes(), expected);

    Color c;
    Vector4D v(9.0f, 9.0f, 9.0f, 9.0f);
    file >> c >> v;
    EXPECT_EQ(c.g, 0.5f);
    EXPECT_EQ(c.a, -2.0f);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.w, 1.0f);
}
