#include "math/Math_Matrix4.h"
#include "math/Math_Plane.h"
#include "math/Math_Quaternion.h"

#include <gtest/gtest.h>

namespace {

void ExpectQuaternion(const Quaternion& q, float w, float x, float y, float z, float tolerance = 0.0f) {
    EXPECT_NEAR(q.w, w, tolerance);
    EXPECT_NEAR(q.x, x, tolerance);
    EXPECT_NEAR(q.y, y, tolerance);
    EXPECT_NEAR(q.z, z, tolerance);
}

}  // namespace

TEST(Plane, ClassifiesAndTakesCoefficients) {
    Plane plane;
    plane.SetFromPointNormal(Vector3D(1.0f, 2.0f, 3.0f), Vector3D(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(plane.d, -2.0f);
    const std::pair<Vector3D, Math::ClassifyResult> cases[] = {
        {{1.0f, 12.0f, 3.0f}, Math::ClassifyFront},
        {{1.0f, -8.0f, 3.0f}, Math::ClassifyBehind},
        // Within 0.05 of the reference point counts as on the plane even off it.
        {{1.0f, 2.04f, 3.0f}, Math::ClassifyIntersecting},
        {{50.0f, 2.0f, -40.0f}, Math::ClassifyIntersecting},
        {{50.0f, 2.06f, -40.0f}, Math::ClassifyFront},
    };
    for (const auto& [point, code] : cases) {
        EXPECT_EQ(point.ClassifyToPlane(plane), code) << point.x << ", " << point.y;
    }
    plane.SetFromCoefficients(0.0f, 0.0f, 2.0f, -4.0f);
    EXPECT_EQ(plane.point.z, 2.0f);
    EXPECT_EQ(plane.normal.z, 2.0f);
    plane.SetFromCoefficients(0.0f, -4.0f, 0.0004f, 8.0f);
    EXPECT_EQ(plane.point.y, 2.0f);
    plane.SetFromCoefficients(0.5f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(plane.point.x, -2.0f);
    // All three near zero: the point stays where it was.
    plane.SetFromCoefficients(0.0f, 0.0001f, 0.0001f, 5.0f);
    EXPECT_EQ(plane.point.x, -2.0f);
    EXPECT_EQ(plane.d, 5.0f);
}

TEST(Quaternion, ProductNormalizeAndAxisAngle) {
    Vector3D tiny(0.0001f, 0.0f, 0.0f);  // Vector3D's normalise has no band but keeps zero
    Vector3D zeroAxis;
    tiny.Normalize();
    zeroAxis.Normalize();
    EXPECT_TRUE(tiny.x == 1.0f && zeroAxis.x == 0.0f);

    Quaternion i(0.0f, 1.0f, 0.0f, 0.0f);
    i *= Quaternion(0.0f, 0.0f, 1.0f, 0.0f);
    ExpectQuaternion(i, 0.0f, 0.0f, 0.0f, 1.0f);
    Quaternion one;
    one *= Quaternion(0.5f, -1.5f, 2.0f, 3.0f);
    ExpectQuaternion(one, 0.5f, -1.5f, 2.0f, 3.0f);
    // Every part comes from the incoming values, also for a product with itself.
    Quaternion k(0.0f, 0.0f, 0.0f, 1.0f);
    k *= k;
    ExpectQuaternion(k, -1.0f, 0.0f, 0.0f, 0.0f);

    Quaternion zero(0.0f, 0.0f, 0.0f, 0.0f);
    zero.Normalize();
    ExpectQuaternion(zero, 0.0f, 0.0f, 0.0f, 0.0f);

    Vector3D axis(0.0f, 0.0f, 5.0f);
    Quaternion q;
    EXPECT_EQ(&Quaternion::FromAxisAngle(q, axis, 90.0f), &q);
    EXPECT_EQ(axis.z, 1.0f);
    ExpectQuaternion(q, 0.70710677f, 0.0f, 0.0f, 0.70710677f, 1e-6f);

    Matrix4 m;
    Quaternion::ToMatrix4(q, m);
    EXPECT_NEAR(m[1], -1.0f, 1e-6f);
    EXPECT_NEAR(m[4], 1.0f, 1e-6f);
    EXPECT_NEAR(m[0], 0.0f, 1e-6f);
    EXPECT_EQ(m[15], 1.0f);

    // A zero axis leaves the scalar part alone.
    Quaternion::FromAxisAngle(q, zeroAxis, 400.0f);
    ExpectQuaternion(q, -1.0f, 0.0f, 0.0f, 0.0f, 1e-7f);
}
