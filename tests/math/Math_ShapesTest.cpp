#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

using namespace Math;  // the shapes and the classification codes

namespace {

// Marks out parameters so that a test can tell whether they were written.
const Point2D kUnwritten(-999.0f, -999.0f);
const LineSegment2D kNoSegment(kUnwritten, kUnwritten);

LineSegment2D Segment(float ax, float ay, float bx, float by) { return {Point2D(ax, ay), Point2D(bx, by)}; }
Ray2D MakeRay(float ox, float oy, float dx, float dy) { return {Point2D(ox, oy), Vector2D(dx, dy)}; }
Line2D MakeLine(float px, float py, float dx, float dy) { return {Point2D(px, py), Vector2D(dx, dy)}; }

void ExpectPoint(const Point2D& actual, float x, float y, float tolerance = 1e-6f) {
    EXPECT_TRUE(std::abs(actual.x - x) <= tolerance && std::abs(actual.y - y) <= tolerance) << actual.x << actual.y;
}

void ExpectSegment(const LineSegment2D& s, const LineSegment2D& expected) {
    EXPECT_TRUE(s.pointA == expected.pointA && s.pointB == expected.pointB) << s.pointA.x << " " << s.pointB.x;
}

// A segment against a segment or a ray: the code, the point and the piece written.
template <class Other>
using PairCase = std::tuple<LineSegment2D, Other, ClassifyResult, Point2D, LineSegment2D>;

template <class Other, std::size_t N>
void CheckPairs(const PairCase<Other> (&cases)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        const auto& [segment, other, code, expectedCrossing, expectedPiece] = cases[i];
        Point2D crossing = kUnwritten;
        LineSegment2D piece = kNoSegment;
        if constexpr (std::is_same_v<Other, Ray2D>) {
            EXPECT_EQ(segment.ClassifyToRay(other, crossing, piece), code) << i;
        } else {
            EXPECT_EQ(segment.ClassifyToLineSegment(other, crossing, piece), code) << i;
        }
        EXPECT_EQ(crossing, expectedCrossing) << i;
        ExpectSegment(piece, expectedPiece);
    }
}

}  // namespace

TEST(SegmentToSegment, CodesCrossingPointsAndOverlaps) {
    const PairCase<LineSegment2D> cases[] = {
        {Segment(0, 0, 2, 0), Segment(1, -1, 1, 1), ClassifyIntersecting, {1, 0}, kNoSegment},
        {Segment(0, 0, 2, 0), Segment(2, -1, 2, 1), ClassifyIntersecting, {2, 0}, kNoSegment},
        {Segment(0, 0, 4, 0), Segment(1, 0.5f, 3, 0.5f), ClassifyParallel, kUnwritten, kNoSegment},
        // |cross| = 0.8 lies within the on-line tolerance of 1.
        {Segment(0, 0, 4, 0), Segment(1, 0.2f, 3, 0.2f), ClassifyCoincident, kUnwritten, Segment(1, 0.2f, 3, 0.2f)},
        {Segment(0, 0, 1, 0), Segment(2, 0, 3, 0), ClassifyCollinearApart, kUnwritten, kNoSegment},
        {Segment(0, 0, 2, 0), Segment(2, 0, 0, 0), ClassifyCoincident, kUnwritten, Segment(0, 0, 2, 0)},
        // Directions (2, 0) and (3, 0) run the same way although their dot product is 6.
        {Segment(0, 0, 2, 0), Segment(1, 0, 4, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 1, 0)},
        {Segment(1, 0, 4, 0), Segment(0, 0, 2, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 1, 0)},
        {Segment(0, 0, 2, 0), Segment(4, 0, 1, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 1, 0)},
        {Segment(3, 0, 1, 0), Segment(0, 0, 2, 0), ClassifyCoincident, kUnwritten, Segment(1, 0, 2, 0)},
        // A dot product of 0.3 is no whole number either.
        {Segment(0, 0, 0.5f, 0), Segment(0.25f, 0, 0.85f, 0), ClassifyCoincident, kUnwritten,
         Segment(0.5f, 0, 0.25f, 0)},
        {Segment(0, 0, 0, 4), Segment(0, 1, 0, 6), ClassifyCoincident, kUnwritten, Segment(0, 4, 0, 1)},
    };
    CheckPairs(cases);
    // A crossing is the same point either way round.
    const LineSegment2D a = Segment(-1, -1, 3, 2), b = Segment(0, 2, 2, -2);
    Point2D ab, ba;
    LineSegment2D piece;
    ASSERT_EQ(a.ClassifyToLineSegment(b, ab, piece), ClassifyIntersecting);
    ASSERT_EQ(b.ClassifyToLineSegment(a, ba, piece), ClassifyIntersecting);
    ExpectPoint(ba, ab.x, ab.y);
    // The exact test of parallel segments does not take 0.2 apart as one line.
    EXPECT_EQ(ClassifyParallelSegments(Segment(0, 0, 1, 0), Segment(2, 0, 3, 0)), ClassifyCollinearApart);
    EXPECT_EQ(ClassifyParallelSegments(Segment(0, 0, 2, 0), Segment(1, 0, 4, 0)), ClassifyCoincident);
    EXPECT_EQ(ClassifyParallelSegments(Segment(0, 0, 4, 0), Segment(1, 0.2f, 3, 0.2f)), ClassifyParallel);
}

TEST(SegmentToRay, CodesAndWrittenPieces) {
    const PairCase<Ray2D> cases[] = {
        {Segment(0, -1, 0, 1), MakeRay(-5, 0, 1, 0), ClassifyIntersecting, {0, 0}, kNoSegment},
        {Segment(0, -1, 0, 1), MakeRay(5, 0, 1, 0), ClassifyNone, kUnwritten, kNoSegment},
        {Segment(0, 1, 4, 1), MakeRay(0, 0, 1, 0), ClassifyParallel, kUnwritten, kNoSegment},
        {Segment(2, 0, 4, 0), MakeRay(0, 0, 1, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 4, 0)},
        {Segment(2, 0, -2, 0), MakeRay(0, 0, 1, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 0, 0)},
        {Segment(-2, 0, 2, 0), MakeRay(0, 0, 5, 0), ClassifyCoincident, kUnwritten, Segment(2, 0, 0, 0)},
        {Segment(-2, 0, 0, 0), MakeRay(0, 0, 1, 0), ClassifyIntersecting, {0, 0}, kNoSegment},
        {Segment(-3, 0, -1, 0), MakeRay(0, 0, 1, 0), ClassifyCollinearApart, kUnwritten, kNoSegment},
        {Segment(0, 1, 0, 3), MakeRay(0, 0, 0, 2), ClassifyCoincident, kUnwritten, Segment(0, 1, 0, 3)},
    };
    CheckPairs(cases);
}

TEST(LinesAndRays, LineAndRayCodes) {
    Point2D crossing;
    const auto toLine = [&](const auto& shape, const Line2D& line) {
        return shape.ClassifyToLine(line, crossing = kUnwritten);
    };
    const Line2D xAxis = MakeLine(0, 0, 1, 0), diagonal = MakeLine(0, 0, 1, 1);
    EXPECT_TRUE(toLine(Segment(0, 1, 0, 3), MakeLine(5, 0, -1, 0)) == ClassifyNone && crossing == kUnwritten);
    EXPECT_TRUE(toLine(Segment(0, -1, 0, 1), MakeLine(5, 0, -1, 0)) == ClassifyIntersecting && crossing == Point2D());
    EXPECT_TRUE(toLine(Segment(1, 0, 3, 0), MakeLine(-7, 0, 0.5f, 0)) == ClassifyCoincident &&
                toLine(Segment(1, 0, 3, 0), MakeLine(-7, 0.2f, 0.5f, 0)) == ClassifyParallel);
    // Lines cross wherever the crossing lies.
    EXPECT_TRUE(toLine(xAxis, MakeLine(100, -50, 0, 1)) == ClassifyIntersecting && crossing == Point2D(100, 0));
    EXPECT_TRUE(toLine(diagonal, MakeLine(5, 5, -2, -2)) == ClassifyCoincident &&
                toLine(diagonal, MakeLine(5, 4, -2, -2)) == ClassifyParallel);
    EXPECT_EQ(xAxis.ClassifyToRay(MakeRay(3, 2, 0, 1), crossing), ClassifyNone);
    EXPECT_EQ(xAxis.ClassifyToRay(MakeRay(3, 2, 0, -1), crossing), ClassifyIntersecting);
    EXPECT_EQ(crossing, Point2D(3, 0));
    EXPECT_TRUE(xAxis.ClassifyToRay(MakeRay(3, 0, -1, 0), crossing) == ClassifyCoincident &&
                xAxis.ClassifyToRay(MakeRay(3, 1, -1, 0), crossing) == ClassifyParallel);
    // Ray against ray: the code, the point, the overlap and the inner ray's origin written.
    const Ray2D self = MakeRay(0, 0, 1, 0), ahead = MakeRay(5, 0, 3, 0);  // the same way, other lengths
    const std::tuple<Ray2D, Ray2D, ClassifyResult, Point2D, LineSegment2D, Point2D> rays[] = {
        {self, MakeRay(1, 1, 0, 1), ClassifyNone, kUnwritten, kNoSegment, kUnwritten},
        {self, MakeRay(1, -1, 0, 1), ClassifyIntersecting, {1, 0}, kNoSegment, kUnwritten},
        {self, MakeRay(0, 1, 1, 0), ClassifyParallel, kUnwritten, kNoSegment, kUnwritten},
        {MakeRay(0, 0, -1, 0), MakeRay(1, 0, 1, 0), ClassifyCollinearApart, kUnwritten, kNoSegment, kUnwritten},
        {MakeRay(2, 0, -1, 0), MakeRay(2, 0, 3, 0), ClassifyIntersecting, {2, 0}, kNoSegment, kUnwritten},
        {self, MakeRay(5, 0, -2, 0), ClassifyOppositeOverlap, kUnwritten, Segment(0, 0, 5, 0), kUnwritten},
        {MakeRay(5, 0, -0.5f, 0), self, ClassifyOppositeOverlap, kUnwritten, Segment(5, 0, 0, 0), kUnwritten},
        {self, ahead, ClassifyContainsRay, kUnwritten, kNoSegment, {5, 0}},
        {ahead, self, ClassifyContainsRay, kUnwritten, kNoSegment, {5, 0}},
        {MakeRay(0, 0, 0, 2), MakeRay(0, 3, 0, 0.5f), ClassifyContainsRay, kUnwritten, kNoSegment, {0, 3}},
    };
    for (std::size_t i = 0; i < std::size(rays); ++i) {
        const auto& [ray, other, code, point, overlap, innerOrigin] = rays[i];
        Point2D writtenPoint = kUnwritten;
        LineSegment2D writtenOverlap = kNoSegment;
        Ray2D inner(kUnwritten, Vector2D());
        EXPECT_EQ(ray.ClassifyToRay(other, writtenPoint, writtenOverlap, inner), code) << i;
        EXPECT_TRUE(writtenPoint == point && inner.origin == innerOrigin) << i;
        ExpectSegment(writtenOverlap, overlap);
        EXPECT_TRUE(i != 7 || inner.direction == ahead.direction);
    }
}

TEST(ShapeToCircle, CodesPointOrderAndTangents) {
    const Circle2D unit;
    // The segment, the code, the two points written.
    const std::tuple<LineSegment2D, ClassifyResult, Point2D, Point2D> cases[] = {
        {Segment(-2, 0, 2, 0), ClassifyTwoPoints, {-1, 0}, {1, 0}},
        {Segment(2, 0, -2, 0), ClassifyTwoPoints, {1, 0}, {-1, 0}},
        {Segment(0, 0, 2, 0), ClassifyOnePoint, {1, 0}, kUnwritten},
        {Segment(-2, 0, 0, 0), ClassifyOnePoint, {-1, 0}, kUnwritten},
        {Segment(-2, 1, 2, 1), ClassifyTangent, {0, 1}, kUnwritten},
        {Segment(2, 1, 4, 1), ClassifyNone, kUnwritten, kUnwritten},
        {Segment(-0.5f, 0, 0.5f, 0), ClassifyNone, kUnwritten, kUnwritten},
        {Segment(-2, 2, 2, 2), ClassifyNone, kUnwritten, kUnwritten},
    };
    Point2D first, second, swapped;
    for (const auto& [segment, code, expectedFirst, expectedSecond] : cases) {
        first = second = swapped = kUnwritten;
        EXPECT_EQ(segment.ClassifyToCircle(unit, first, second), code) << segment.pointA.x;
        EXPECT_TRUE(first == expectedFirst && second == expectedSecond) << segment.pointA.x;
        EXPECT_EQ(unit.ClassifyToLineSegment(segment, swapped, second), code);  // the same test either way
        EXPECT_EQ(swapped, first);
    }
    const auto circle = [&](const auto& shape) { return shape.ClassifyToCircle(unit, first = kUnwritten, second); };
    // Touching: a ray counts one point, a line a tangent.
    EXPECT_TRUE(circle(MakeRay(-2, 1, 1, 0)) == ClassifyOnePoint && first == Point2D(0, 1));
    EXPECT_TRUE(circle(MakeLine(-2, 1, 1, 0)) == ClassifyTangent && second == kUnwritten);
    EXPECT_TRUE(circle(MakeRay(0, 0, 3, 0)) == ClassifyOnePoint && first == Point2D(1, 0));
    EXPECT_TRUE(circle(MakeLine(5, 0, -1, 0)) == ClassifyIntersecting && first == Point2D(1, 0));
    EXPECT_EQ(second, Point2D(-1, 0));
    EXPECT_TRUE(circle(MakeRay(2, 0, 1, 0)) == ClassifyNone && circle(MakeLine(5, 2, -1, 0)) == ClassifyNone);
    // A line without a direction touches nothing.
    EXPECT_TRUE(circle(MakeLine(0, 1, 0, 0)) == ClassifyNone && !MakeLine(0, 1, 0, 0).Tangent(unit, first));
    EXPECT_EQ(first, kUnwritten);
    // Tangents: a segment and a ray only within their range, a line anywhere.
    Point2D touching = kUnwritten;
    EXPECT_FALSE(Segment(2, 1, 4, 1).Tangent(unit, touching) || MakeRay(2, 1, 1, 0).Tangent(unit, touching));
    EXPECT_EQ(touching, kUnwritten);
    EXPECT_TRUE(MakeLine(2, 1, 1, 0).Tangent(unit, touching) && touching == Point2D(0, 1));
    EXPECT_TRUE(MakeRay(-2, -1, 1, 0).Tangent(unit, touching) && touching == Point2D(0, -1));
    // The discriminant here is 64 (1 - y^2): within the tolerance only very near y = 1.
    EXPECT_TRUE(Segment(-2, 0.999998f, 2, 0.999998f).Tangent(unit, touching));
    EXPECT_FALSE(Segment(-2, 0.9999f, 2, 0.9999f).Tangent(unit, touching));
}

TEST(ShapeToCircle, WorldCoordinatesAgreeWithDoublePrecision) {
    // Near 20000 the float p.p + c.c - 2 p.c loses the constant term; the offset form keeps it.
    const Circle2D circle(Point2D(20000.0f, 20000.0f), 1.0f);
    Point2D first, second, touching;
    ASSERT_EQ(Segment(19998.0f, 20000.5f, 20002.0f, 20000.5f).ClassifyToCircle(circle, first, second),
              ClassifyTwoPoints);
    ExpectPoint(first, 19999.1339746f, 20000.5f, 0.002f);  // 20000 -+ sqrt(0.75)
    ExpectPoint(second, 20000.8660254f, 20000.5f, 0.002f);
    EXPECT_TRUE(Segment(19998.0f, 20001.0f, 20002.0f, 20001.0f).Tangent(circle, touching));
    EXPECT_EQ(touching, Point2D(20000.0f, 20001.0f));
}

TEST(CircleToCircle, CodesAndPoints) {
    const float h = std::sqrt(0.75f);
    // The circle, the other circle, the code, the two points written.
    const std::tuple<Circle2D, Circle2D, ClassifyResult, Point2D, Point2D> cases[] = {
        {Circle2D({0, 0}, 1), Circle2D({3, 0}, 1), ClassifyOutside, kUnwritten, kUnwritten},
        {Circle2D({0, 0}, 1), Circle2D({2, 0}, 1), ClassifyTangentOutside, {1, 0}, kUnwritten},
        {Circle2D({0, 0}, 2), Circle2D({1, 0}, 1), ClassifyTangentInside, {2, 0}, kUnwritten},
        {Circle2D({0, 0}, 3), Circle2D({0.5f, 0}, 1), ClassifyContains, kUnwritten, kUnwritten},
        {Circle2D({0.5f, 0}, 1), Circle2D({0, 0}, 3), ClassifyInside, kUnwritten, kUnwritten},
        {Circle2D({4, 5}, 2), Circle2D({4, 5}, 2), ClassifyCoincident, kUnwritten, kUnwritten},
        {Circle2D({0, 0}, 10), Circle2D({1e-24f, 0}, 10), ClassifyCoincident, kUnwritten, kUnwritten},
        {Circle2D({0, 0}, 1), Circle2D({1, 0}, 1), ClassifyTwoPoints, {0.5f, h}, {0.5f, -h}},
        {Circle2D({0, 0}, 1), Circle2D({0, 1}, 1), ClassifyTwoPoints, {-h, 0.5f}, {h, 0.5f}},
    };
    Point2D first, second;
    for (const auto& [self, other, code, expectedFirst, expectedSecond] : cases) {
        first = second = kUnwritten;
        EXPECT_EQ(self.ClassifyToCircle(other, first, second), code);
        ExpectPoint(first, expectedFirst.x, expectedFirst.y);
        ExpectPoint(second, expectedSecond.x, expectedSecond.y);
    }
    // Rounding puts h a hair beyond r0 here: the half chord is 0, not a NaN.
    const Circle2D big(Point2D(0.0f, 0.0f), 30.2059135f);
    ASSERT_EQ(big.ClassifyToCircle(Circle2D(Point2D(30.5926361f, 0.0f), 0.386745453f), first, second),
              ClassifyTwoPoints);
    EXPECT_TRUE(first == second && std::abs(first.x - 30.2059135f) < 1e-4f);
}

TEST(DirectionTests, ToleranceTestsAndAnglesNeverNan) {
    const LineSegment2D horizontal = Segment(0, 0, 1, 0);
    EXPECT_TRUE(horizontal.Perpendicular(Segment(5, 5, 5.0004f, 6)) && horizontal.Parallel(Segment(0, 3, -1, 3.0004f)));
    EXPECT_FALSE(horizontal.Perpendicular(Segment(5, 5, 5.001f, 6)) || horizontal.Parallel(Segment(0, 3, -1, 3.001f)));
    EXPECT_TRUE(horizontal.Alligned(Segment(5, 0, 6, 0)) && !horizontal.Alligned(Segment(5, 0.1f, 6, 0.1f)));
    EXPECT_TRUE(MakeRay(0, 0, 1, 0).Perpendicular(MakeRay(9, 9, 0.0004f, 1)) &&
                MakeLine(0, 0, 1, 0).Parallel(MakeLine(9, 9, -3, 0)));
    EXPECT_FLOAT_EQ(Segment(0, 0, 1, 0).AngleBetween(Segment(0, 0, 0, 5)), std::numbers::pi_v<float> / 2);
    EXPECT_TRUE(std::abs(MakeLine(0, 0, 1, 0).AngleBetween(MakeRay(0, 0, -1, -1)) - 135.0f) < 1e-4f &&
                std::abs(MakeRay(0, 0, 1, 0).AngleBetween(MakeRay(0, 0, 1, 1)) - 45.0f) < 1e-4f);
    // Normalised in float, this direction's cosine with itself rounds past 1.
    const LineSegment2D s = Segment(0, 0, -68.6379623f, 26.3293304f);
    EXPECT_EQ(s.AngleBetween(s), 0.0f);
    EXPECT_EQ(MakeLine(0, 0, s.Direction().x, s.Direction().y).AngleBetween(Line2D(Point2D(), s.Direction())), 0.0f);
    EXPECT_FLOAT_EQ(Ray2D(Point2D(), -s.Direction()).AngleBetween(Ray2D(Point2D(), s.Direction())), 180.0f);
}
