#include "math/Math_Angles.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"
#include "math/Math_Vector2D.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Vector2D, NormalizeInPlaceHasABandTheCopyHasNot) {
    Vector2D shortVector(0.0004f, 0.0f);
    shortVector.Normalize();
    EXPECT_EQ(shortVector, Vector2D(0.0004f, 0.0f));
    EXPECT_EQ(Vector2D::Normalized(Vector2D(0.0004f, 0.0f)), Vector2D(1.0f, 0.0f));
    EXPECT_EQ(Vector2D::Normalized(Vector2D()), Vector2D(0.0f, 0.0f));
    // The float length of (0.0003, 0.0004) is the float 0.0005 itself: normalised.
    Vector2D edge(0.0003f, 0.0004f);
    edge.Normalize();
    EXPECT_NEAR(edge.x, 0.6f, 1e-6f);

    EXPECT_EQ(Point2D(5.0f, 1.0f) - Point2D(2.0f, 3.0f), Vector2D(3.0f, -2.0f));
    EXPECT_EQ(Point2D(2.0f, 3.0f) + Vector2D(3.0f, -2.0f), Point2D(5.0f, 1.0f));
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
    EXPECT_EQ(Math::DegreesToUnitVector(0.005f), Vector2D(1.0f, 0.0f));
    EXPECT_GT(Math::DegreesToUnitVector(0.006f).y, 0.0f);
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
    // A zero direction keeps the caller's foot and measures to it.
    foot = Point2D(3.0f, 5.0f);
    EXPECT_EQ(p.DistanceToLine(Math::Line2D(Point2D(9.0f, 9.0f), Vector2D()), foot), 1.0f);
    EXPECT_EQ(foot, Point2D(3.0f, 5.0f));
}
