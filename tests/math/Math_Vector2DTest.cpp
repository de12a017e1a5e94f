#include "math/Math_Angles.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector2D.h"

#include "ByteFile.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Vector2D, NormalizeInPlaceHasABandTheCopyHasNot) {
    Vector2D shortVector(0.0004f, 0.0f);
    shortVector.Normalize();
    EXPECT_EQ(shortVector, Vector2D(0.0004f, 0.0f));
    EXPECT_EQ(Vector2D::Normalized(Vector2D(0.0004f, 0.0f)), Vector2D(1.0f, 0.0f));
    EXPECT_EQ(Vector2D::Normalized(Vector2D()), Vector2D(0.0f, 0.0f));

    // The float length of (0.0003, 0.0004) is the float 0.0005 itself: normalised.
    for (Vector2D v : {Vector2D(0.0003f, 0.0004f), Vector2D(0.0006f, 0.0008f)}) {
        v.Normalize();
        EXPECT_NEAR(v.x, 0.6f, 1e-6f);
        EXPECT_NEAR(v.y, 0.8f, 1e-6f);
    }
}

TEST(Vector2D, PointDifferenceIsAVectorAndEqualityIsIeee) {
    const Vector2D d = Point2D(5.0f, 1.0f) - Point2D(2.0f, 3.0f);
    EXPECT_EQ(d, Vector2D(3.0f, -2.0f));
    const Point2D moved = Point2D(2.0f, 3.0f) + d;
    EXPECT_EQ(moved, Point2D(5.0f, 1.0f));

    EXPECT_TRUE(Vector2D(0.0f, 1.0f) == Vector2D(-0.0f, 1.0f));
    const Vector2D withNan(std::nanf(""), 1.0f);
    EXPECT_TRUE(withNan != withNan);
}

TEST(Vector2D, IsWithinIncludesBothEnds) {
    EXPECT_TRUE(Math::IsWithin(5.0f, 4.0f, 1.0f));
    EXPECT_TRUE(Math::IsWithin(3.0f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(5.01f, 4.0f, 1.0f));
    EXPECT_FALSE(Math::IsWithin(4.0f, 4.0f, -1.0f));
}

TEST(Angles, RightAnglesAreExactBothWays) {
    const std::pair<float, Vector2D> cases[] = {
        {0.0f, {1.0f, 0.0f}}, {90.0f, {0.0f, 1.0f}}, {180.0f, {-1.0f, 0.0f}}, {270.0f, {0.0f, -1.0f}}};
    for (const auto& [degrees, unit] : cases) {
        EXPECT_EQ(Math::DegreesToUnitVector(degrees), unit) << degrees;
        EXPECT_EQ(Math::UnitVectorToDegrees(unit), degrees) << degrees;
    }
    // sin(0.005 degrees) = 8.7e-5 falls in the snap band, sin(0.006 degrees) does not.
    EXPECT_EQ(Math::DegreesToUnitVector(0.005f), Vector2D(1.0f, 0.0f));
    EXPECT_GT(Math::DegreesToUnitVector(0.006f).y, 0.0f);
}

TEST(Angles, NegativeYIsTheLowerHalfAndNothingIsNan) {
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0f, -0.0f)), 0.0f);
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0f, -1e-9f)), 360.0f);
    EXPECT_NEAR(Math::UnitVectorToDegrees(Vector2D(0.70710677f, -0.70710677f)), 315.0f, 1e-4f);
    // Normalising can leave x a hair past +-1.
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(1.0000001f, 0.0f)), 0.0f);
    EXPECT_EQ(Math::UnitVectorToDegrees(Vector2D(-1.0000001f, 0.0f)), 180.0f);
}

TEST(Vector2D, StreamFormIsTwoLittleEndianFloats) {
    ByteFile file;
    file << Vector2D(1.5f, -2.0f);
    EXPECT_EQ(file.Bytes(), (std::vector<std::uint8_t>{0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0xC0}));
    Point2D back;
    back.Read(file);
    EXPECT_EQ(back, Point2D(1.5f, -2.0f));
}

TEST(PointTests, CircleAndLineDistances) {
    const Math::Circle2D unit;
    EXPECT_EQ(Point2D(0.0f, -1.0f).ClassifyToCircle(unit), Math::ClassifyIntersecting);
    EXPECT_EQ(Point2D(0.5f, 0.5f).ClassifyToCircle(unit), Math::ClassifyInside);
    EXPECT_EQ(Point2D(1.0f, 0.01f).ClassifyToCircle(unit), Math::ClassifyOutside);

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

    // A zero direction keeps the caller's foot and measures to it.
    foot = Point2D(3.0f, 5.0f);
    EXPECT_EQ(p.DistanceToLine(Math::Line2D(Point2D(9.0f, 9.0f), Vector2D()), foot), 1.0f);
    EXPECT_EQ(foot, Point2D(3.0f, 5.0f));
}
