#include "math/Math_Angles.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector2D.h"

#include "ByteFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Vector2D, NormalizeInPlaceKeepsVectorsShorterThanTheTolerance) {
    Vector2D shortVector(0.0004f, 0.0f);
    shortVector.Normalize();
    EXPECT_EQ(shortVector, Vector2D(0.0004f, 0.0f));

    Vector2D zero;
    zero.Normalize();
    EXPECT_EQ(zero, Vector2D(0.0f, 0.0f));

    Vector2D negative(-0.0003f, 0.0f);
    negative.Normalize();
    EXPECT_EQ(negative, Vector2D(-0.0003f, 0.0f));
}

TEST(Vector2D, NormalizeInPlaceTreatsTheToleranceItselfAsLongEnough) {
    // The float length of (0.0003, 0.0004) is the float 0.0005 itself.
    Vector2D v(0.0003f, 0.0004f);
    ASSERT_EQ(v.Length(), 0.0005f);
    v.Normalize();
    EXPECT_NEAR(v.x, 0.6f, 1e-6f);
    EXPECT_NEAR(v.y, 0.8f, 1e-6f);

    Vector2D w(0.0006f, 0.0008f);
    w.Normalize();
    EXPECT_NEAR(w.x, 0.6f, 1e-6f);
    EXPECT_NEAR(w.y, 0.8f, 1e-6f);
}

TEST(Vector2D, NormalizedCopyHasNoToleranceBand) {
    EXPECT_EQ(Vector2D::Normalized(Vector2D(0.0004f, 0.0f)), Vector2D(1.0f, 0.0f));
    EXPECT_NEAR(Vector2D::Normalized(Vector2D(0.00006f, 0.00008f)).Length(), 1.0f, 1e-6f);
    EXPECT_EQ(Vector2D::Normalized(Vector2D()), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(Vector2D::Normalized(Vector2D(-3.0f, 4.0f)), Vector2D(-0.6f, 0.8f));
}

TEST(Vector2D, ArithmeticIsComponentWise) {
    const Vector2D a(1.0f, 2.0f);
    const Vector2D b(3.0f, -5.0f);
    EXPECT_EQ(a + b, Vector2D(4.0f, -3.0f));
    EXPECT_EQ(a - b, Vector2D(-2.0f, 7.0f));
    EXPECT_EQ(-a, Vector2D(-1.0f, -2.0f));
    EXPECT_EQ(a * 2.0f, Vector2D(2.0f, 4.0f));
    EXPECT_EQ(2.0f * a, Vector2D(2.0f, 4.0f));
    EXPECT_EQ(b / 2.0f, Vector2D(1.5f, -2.5f));
    EXPECT_EQ(a.Dot(b), -7.0f);
    EXPECT_EQ(Math::DotProduct(a, b), -7.0f);
    EXPECT_EQ(Vector2D(3.0f, 4.0f).Length(), 5.0f);

    Vector2D c = a;
    c += b;
    EXPECT_EQ(c, Vector2D(4.0f, -3.0f));
    c -= a;
    EXPECT_EQ(c, b);
    c *= -1.0f;
    EXPECT_EQ(c, Vector2D(-3.0f, 5.0f));
    c.SetZero();
    EXPECT_EQ(c, Vector2D());
}

TEST(Vector2D, PointsShareTheOperationsAndTheirDifferenceIsAVector) {
    const Point2D p(5.0f, 1.0f);
    const Point2D q(2.0f, 3.0f);
    const Vector2D d = p - q;
    EXPECT_EQ(d, Vector2D(3.0f, -2.0f));
    const Point2D moved = q + d;
    EXPECT_EQ(moved, p);
    EXPECT_EQ(2.0f * p, Vector2D(10.0f, 2.0f));
    EXPECT_EQ(sizeof(Point2D), 2 * sizeof(float));
    EXPECT_EQ(sizeof(Vector2D), 2 * sizeof(float));
}

TEST(Vector2D, EqualityIsExactIeeeComparison) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(Vector2D(1.0f, 2.0f) == Vector2D(1.0f, 2.0f));
    EXPECT_TRUE(Vector2D(0.0f, 1.0f) == Vector2D(-0.0f, 1.0f));
    EXPECT_TRUE(Vector2D(1.0f, 2.0f) != Vector2D(1.0f, 2.0001f));
    const Vector2D withNan(nan, 1.0f);
    EXPECT_FALSE(withNan == withNan);
    EXPECT_TRUE(withNan != withNan);
}

TEST(Vector2D, IsWithinIncludesBothEnds) {
    EXPECT_TRUE(Math::IsWithin(5.0f, 4.0f, 1.0f));
    EXPECT_TRUE(Math::IsWithin(3.0f, 4.0f, 1.0f));
    EXPECT_TRUE(Math::IsWithin(4.0f, 4.0f, 0.0f));
    EXPECT_FALSE(Math::IsWithin(5.01f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(2.99f, 4.0f, 1.0f));
    // A negative tolerance is an empty interval.
    EXPECT_FALSE(Math::IsWithin(4.0f, 4.0f, -1.0f));
}

struct DegreesCase {
    float degrees;
    Vector2D unit;
};

TEST(Angles, RightAnglesGiveExactAxisDirectionsAndComeBack) {
    const DegreesCase cases[] = {
        {0.0f, {1.0f, 0.0f}}, {90.0f, {0.0f, 1.0f}}, {180.0f, {-1.0f, 0.0f}}, {270.0f, {0.0f, -1.0f}}};
    for (const DegreesCase& c : cases) {
        SCOPED_TRACE(c.degrees);
        EXPECT_EQ(Math::DegreesToUnitVector(c.degrees), c.unit);
        EXPECT_EQ(Math::UnitVectorToDegrees(c.unit), c.degrees);
    }
}

TEST(Angles, ComponentsInsideTheSnapBandBecomeZero) {
    // sin(0.005 degrees) is about 8.7e-5.
    EXPECT_EQ(Math::DegreesToUnitVector(0.005f), Vector2D(1.0f, 0.0f));
    // sin(0.006 degrees) is about 1.05e-4: kept.
    EXPECT_GT(Math::DegreesToUnitVector(0.006f).y, 0.0f);
    EXPECT_EQ(Math::DegreesToUnitVector(-90.0f), Vector2D(0.0f, -1.0f));
    const Vector2D diagonal = Math::DegreesToUnitVector(45.0f);
    EXPECT_NEAR(diagonal.x, 0.70710677f, 1e-7f);
    EXPECT_NEAR(diagonal.y, 0.70710677f, 1e-7f);
}

TEST(Angles, UnitVectorToDegreesUsesTheLowerHalfForNegativeY) {
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0f, -0.0f)), 0.0f);
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0f, -1e-9f)), 360.0f);
    EXPECT_NEAR(Math::UnitVectorToDegrees(Vector2D(0.70710677f, -0.70710677f)), 315.0f, 1e-4f);
    EXPECT_NEAR(Math::UnitVectorToDegrees(Vector2D(-0.5f, 0.8660254f)), 120.0f, 1e-4f);
}

TEST(Angles, RoundingPastOneGivesNoNan) {
    // A normalised vector whose x rounds a hair past 1 still has an angle.
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0000001f, 0.0f)), 0.0f);
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(-1.0000001f, 0.0f)), 180.0f);
    EXPECT_TRUE(std::isnan(Math::UnitVectorToDegrees(Vector2D(std::nanf(""), 0.0f))));
}

TEST(Vector2D, StreamFormIsTwoLittleEndianFloats) {
    ByteFile file;
    file << Vector2D(1.5f, -2.0f);
    Point2D(0.0f, 1.0f).Write(file);
    const std::vector<std::uint8_t> expected = {0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0xC0,
                                                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(file.Bytes(), expected);

    Vector2D first;
    Point2D second;
    file >> first;
    second.Read(file);
    EXPECT_EQ(first, Vector2D(1.5f, -2.0f));
    EXPECT_EQ(second, Point2D(0.0f, 1.0f));
}

TEST(Vector2D, ATruncatedStreamLeavesTheMissingFieldUnchanged) {
    ByteFile file({0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00});
    Vector2D v(7.0f, 8.0f);
    file >> v;
    EXPECT_EQ(v, Vector2D(1.5f, 8.0f));
}

TEST(PointTests, ClassifyToCircleComparesTheDistanceExactly) {
    const Math::Circle2D unit;
    EXPECT_EQ(Point2D(1.0f, 0.0f).ClassifyToCircle(unit), Math::ClassifyIntersecting);
    EXPECT_EQ(Point2D(0.0f, -1.0f).ClassifyToCircle(unit), Math::ClassifyIntersecting);
    EXPECT_EQ(Point2D(0.5f, 0.5f).ClassifyToCircle(unit), Math::ClassifyInside);
    EXPECT_EQ(Point2D(1.0f, 0.01f).ClassifyToCircle(unit), Math::ClassifyOutside);
    EXPECT_EQ(Point2D(5.0f, 5.0f).ClassifyToCircle(Math::Circle2D(Point2D(5.0f, 5.0f), 0.0f)),
              Math::ClassifyIntersecting);
}

TEST(PointTests, DistanceToLineWritesTheFootOfThePerpendicular) {
    const Point2D p(3.0f, 4.0f);
    Point2D foot;
    EXPECT_EQ(p.DistanceToLineThrough(Point2D(0.0f, 0.0f), Vector2D(2.0f, 0.0f), foot), 4.0f);
    EXPECT_EQ(foot, Point2D(3.0f, 0.0f));

    // A ray is measured to its whole line, behind the origin too.
    EXPECT_EQ(p.DistanceToLine(Math::Ray2D(Point2D(10.0f, 0.0f), Vector2D(0.0f, 1.0f)), foot), 7.0f);
    EXPECT_EQ(foot, Point2D(10.0f, 4.0f));
    EXPECT_EQ(p.DistanceToLine(Math::Line2D(Point2D(0.0f, 1.0f), Vector2D(-1.0f, 1.0f)), foot),
              Vector2D(3.0f, 3.0f).Length());
    EXPECT_EQ(foot, Point2D(0.0f, 1.0f));
}

TEST(PointTests, ZeroDirectionKeepsTheCallersFoot) {
    const Point2D p(3.0f, 4.0f);
    Point2D foot(0.0f, 0.0f);
    EXPECT_EQ(p.DistanceToLine(Math::Line2D(Point2D(9.0f, 9.0f), Vector2D()), foot), 5.0f);
    EXPECT_EQ(foot, Point2D(0.0f, 0.0f));
    foot = Point2D(3.0f, 5.0f);
    EXPECT_EQ(p.DistanceToLine(Math::Ray2D(Point2D(1.0f, 1.0f), Vector2D()), foot), 1.0f);
    EXPECT_EQ(foot, Point2D(3.0f, 5.0f));
}
