#include "math/Math_Angles.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Plane.h"
#include "math/Math_Quaternion.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector2D.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Vector2D, NormalizeInPlaceHasABandTheCopyHasNot) {
    Vector2D shortVector(0.0004f, 0.0f);
    shortVector.Normalize();
    EXPECT_EQ(shortVector, Vector2D(0.0004f, 0.0f));
    EXPECT_TRUE(Vector2D::Normalized(Vector2D(0.0004f, 0)) == Vector2D(1, 0) && Vector2D::Normalized({}) == Vector2D());
    // The float length of (0.0003, 0.0004) is the float 0.0005 itself: normalised.
    Vector2D edge(0.0003f, 0.0004f);
    edge.Normalize();
    EXPECT_NEAR(edge.x, 0.6f, 1e-6f);
    EXPECT_TRUE(Point2D(5, 1) - Point2D(2, 3) == Vector2D(3, -2) && Point2D(2, 3) + Vector2D(3, -2) == Point2D(5, 1));
    const Vector2D withNan(std::nanf(""), 1.0f);
    EXPECT_TRUE(Vector2D(0.0f, 1.0f) == Vector2D(-0.0f, 1.0f) && withNan != withNan);
    EXPECT_TRUE(Math::IsWithin(5.0f, 4.0f, 1.0f) && Math::IsWithin(3.0f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(5.01f, 4.0f, 1.0f) || Math::IsWithin(4.0f, 4.0f, -1.0f));
}

// Right angles are exact both ways; negative y is the lower half; x a hair
// past +-1 (as normalising leaves it) gives no NaN.
TEST(Angles, DegreesAndUnitVectorsConvertBothWays) {
    const std::pair<float, Vector2D> exact[] = {
        {0.0f, {1.0f, 0.0f}}, {90.0f, {0.0f, 1.0f}}, {180.0f, {-1.0f, 0.0f}}, {270.0f, {0.0f, -1.0f}}};
    for (const auto& [degrees, unit] : exact) {
        EXPECT_EQ(Math::DegreesToUnitVector(degrees), unit) << degrees;
        EXPECT_EQ(Math::UnitVectorToDegrees(unit), degrees) << degrees;
    }
    // sin(0.005 degrees) = 8.7e-5 falls in the snap band, sin(0.006 degrees) does not.
    EXPECT_TRUE(Math::DegreesToUnitVector(0.005f) == Vector2D(1, 0) && Math::DegreesToUnitVector(0.006f).y > 0);
    const std::pair<Vector2D, float> toDegrees[] = {{{1.0f, -0.0f}, 0.0f},        {{1.0f, -1e-9f}, 360.0f},
                                                   {{1.0000001f, 0.0f}, 0.0f},   {{-1.0000001f, 0.0f}, 180.0f},
                                                   {{0.70710677f, -0.70710677f}, 315.0f}};
    for (const auto& [unit, degrees] : toDegrees) {
        EXPECT_NEAR(Math::UnitVectorToDegrees(unit), degrees, 1e-4f) << unit.x << ", " << unit.y;
    }
}

TEST(PointTests, CircleAndLineDistances) {
    const Math::Circle2D unit;
    EXPECT_EQ(Point2D(0.0f, -1.0f).ClassifyToCircle(unit), Math::ClassifyIntersecting);
    EXPECT_TRUE(Point2D(0.5f, 0.5f).ClassifyToCircle(unit) == Math::ClassifyInside &&
                Point2D(1.0f, 0.01f).ClassifyToCircle(unit) == Math::ClassifyOutside);
    const Point2D p(3.0f, 4.0f);
    Point2D foot;
    EXPECT_TRUE(p.DistanceToLineThrough(Point2D(0, 0), Vector2D(2, 0), foot) == 4.0f && foot == Point2D(3, 0));
    // A ray is measured to its whole line, behind the origin too.
    EXPECT_TRUE(p.DistanceToLine(Math::Ray2D(Point2D(10, 0), Vector2D(0, 1)), foot) == 7.0f && foot == Point2D(10, 4));
    EXPECT_EQ(p.DistanceToLine(Math::Line2D(Point2D(0.0f, 1.0f), Vector2D(-1.0f, 1.0f)), foot),
              Vector2D(3.0f, 3.0f).Length());
    // A zero direction keeps the caller's foot and measures to it.
    foot = Point2D(3.0f, 5.0f);
    EXPECT_TRUE(p.DistanceToLine(Math::Line2D(Point2D(9, 9), Vector2D()), foot) == 1.0f && foot == Point2D(3, 5));
}

namespace {

void ExpectQuaternion(const Quaternion& q, float w, float x, float y, float z, float tolerance = 0.0f) {
    const auto near = [tolerance](float a, float b) { return std::abs(a - b) <= tolerance; };
    EXPECT_TRUE(near(q.w, w) && near(q.x, x) && near(q.y, y) && near(q.z, z)) << q.w << " " << q.x << " " << q.y;
}

}  // namespace

TEST(Plane, ClassifiesAndTakesCoefficients) {
    Plane plane;
    plane.SetFromPointNormal(Vector3D(1.0f, 2.0f, 3.0f), Vector3D(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(plane.d, -2.0f);
    // Within 0.05 of the reference point counts as on the plane even off it.
    const std::pair<Vector3D, Math::ClassifyResult> cases[] = {
        {{1.0f, 12.0f, 3.0f}, Math::ClassifyFront},          {{1.0f, -8.0f, 3.0f}, Math::ClassifyBehind},
        {{1.0f, 2.04f, 3.0f}, Math::ClassifyIntersecting},   {{50.0f, 2.0f, -40.0f}, Math::ClassifyIntersecting},
        {{50.0f, 2.06f, -40.0f}, Math::ClassifyFront}};
    for (const auto& [point, code] : cases) {
        EXPECT_EQ(point.ClassifyToPlane(plane), code) << point.x << ", " << point.y;
    }
    // The point goes on the first axis whose coefficient is clear of zero.
    plane.SetFromCoefficients(0.0f, 0.0f, 2.0f, -4.0f);
    EXPECT_TRUE(plane.point.z == 2.0f && plane.normal.z == 2.0f);
    plane.SetFromCoefficients(0.0f, -4.0f, 0.0004f, 8.0f);
    EXPECT_EQ(plane.point.y, 2.0f);
    plane.SetFromCoefficients(0.5f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(plane.point.x, -2.0f);
    // All three near zero: the point stays where it was.
    plane.SetFromCoefficients(0.0f, 0.0001f, 0.0001f, 5.0f);
    EXPECT_TRUE(plane.point.x == -2.0f && plane.d == 5.0f);
}

TEST(Quaternion, ProductNormalizeAndAxisAngle) {
    Vector3D tiny(0.0001f, 0.0f, 0.0f), zeroAxis;  // Vector3D's normalise has no band but keeps zero
    tiny.Normalize();
    zeroAxis.Normalize();
    EXPECT_TRUE(tiny.x == 1.0f && zeroAxis.x == 0.0f);
    Quaternion product(1.0f, 2.0f, 3.0f, 4.0f);  // w, x, y, z
    product *= Quaternion(5.0f, 6.0f, 7.0f, 8.0f);
    ExpectQuaternion(product, -60.0f, 12.0f, 30.0f, 24.0f);
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
    EXPECT_TRUE(std::abs(m[1] + 1.0f) < 1e-6f && std::abs(m[4] - 1.0f) < 1e-6f && std::abs(m[0]) < 1e-6f);
    EXPECT_EQ(m[15], 1.0f);
    // A zero axis leaves the scalar part alone.
    Quaternion::FromAxisAngle(q, zeroAxis, 400.0f);
    ExpectQuaternion(q, -1.0f, 0.0f, 0.0f, 0.0f, 1e-7f);
}
