#include "math/Math_Matrix3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Translations up to 1000 carry rounding errors of about 1e-4.
void ExpectIdentity(const Matrix3& actual) {
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(actual[i], Matrix3()[i], (i == 2 || i == 5) ? 2e-4f : 1e-6f) << "element " << i;
    }
}

// Rotate by degrees, then move to (x, y).
Matrix3 Placement(float degrees, float x, float y) { return Matrix3::Translation(x, y) * Matrix3::Rotation(degrees); }

}  // namespace

TEST(Matrix3, PlacementRotatesThenMoves) {
    const Matrix3 placement = Placement(90.0f, 5.0f, 0.0f);
    const Point2D placed = Matrix3::TransformPoint(placement, Point2D(1.0f, 0.0f));
    EXPECT_TRUE(std::abs(placed.x - 5.0f) < 1e-6f && std::abs(placed.y - 1.0f) < 1e-6f);
    // The bottom-row form turns an offset without moving it...
    const Vector2D offset = Matrix3::TransformPointBottomRow(placement, Vector2D(1.0f, 0.0f));
    EXPECT_TRUE(std::abs(offset.x) < 1e-6f && std::abs(offset.y - 1.0f) < 1e-6f);
    // ...because it adds elements 6 and 7, not the translation.
    const Matrix3 m({1.0f, 0.0f, 100.0f, 0.0f, 1.0f, 200.0f, 3.0f, 4.0f, 1.0f});
    EXPECT_EQ(Matrix3::TransformPointBottomRow(m, Vector2D(1.0f, 1.0f)), Vector2D(4.0f, 5.0f));
}

TEST(Matrix3, InverseUndoesAPlacementAndRefusesSingularMatrices) {
    for (const Matrix3& placement : {Placement(90.0f, 5.0f, 0.0f), Placement(-37.5f, -12.0f, 3.25f),
                                     Placement(200.0f, 1000.0f, -250.0f)}) {
        Matrix3 inverse;
        ASSERT_TRUE(Matrix3::Inverse(placement, inverse));
        ExpectIdentity(inverse * placement);
        ExpectIdentity(placement * inverse);
        // The output may be the input itself.
        Matrix3 inPlace = placement;
        ASSERT_TRUE(Matrix3::Inverse(inPlace, inPlace));
        EXPECT_EQ(inPlace.m, inverse.m);
    }
    const Matrix3 singular[] = {
        Matrix3({0.01f, 0.0f, 0.0f, 0.0f, 0.01f, 0.0f, 0.0f, 0.0f, 1.0f}),  // determinant 0.0001
        Matrix3({1.0f, 2.0f, 3.0f, 2.0f, 4.0f, 6.0f, 0.0f, 0.0f, 1.0f}),
        Matrix3({std::nanf(""), 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}),
    };
    for (const Matrix3& m : singular) {
        Matrix3 out = Matrix3::Translation(7.0f, 8.0f);
        EXPECT_FALSE(Matrix3::Inverse(m, out));
        EXPECT_EQ(out.m, Matrix3::Translation(7.0f, 8.0f).m);
    }
    Matrix3 out;
    EXPECT_TRUE(Matrix3::Inverse(Matrix3({0.025f, 0.0f, 0.0f, 0.0f, 0.025f, 0.0f, 0.0f, 0.0f, 1.0f}), out));
    EXPECT_FLOAT_EQ(out[0], 40.0f);
}
